#pragma once
#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace dv {

// Makes the installed icon themes reachable even where the platform names no theme
// or search path (the bare X server the tests and screenshots run on).
void ensureIconTheme();
// Any theme icon, or a round badge of that colour with the letter where the theme
// lacks it.
QIcon themeIconOrBadge(const char* themeName, const QColor& color, const char* letter);
// The round badge itself, at one size.
QPixmap badgePixmap(const QColor& color, const char* letter, int size);

} // namespace dv
