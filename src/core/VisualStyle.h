#pragma once
#include <QColor>
#include <QString>

class QApplication;

namespace dv {

// Applies the named visual style to the whole application. Only
// "Smokey Quartz Kamri" exists; any other name is refused (false) and the
// application keeps its default look.
bool applyVisualStyle(QApplication& app, const QString& name);

// The colour the style marks the keyboard focus with: the ring around a focused
// button, check box or grid cell.
QColor focusFrameColor();

} // namespace dv
