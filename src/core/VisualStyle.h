#pragma once
#include <QString>

class QApplication;

namespace dv {

// Applies the named visual style to the whole application. Only
// "Smokey Quartz Kamri" exists; any other name is refused (false) and the
// application keeps its default look.
bool applyVisualStyle(QApplication& app, const QString& name);

} // namespace dv
