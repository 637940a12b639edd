#pragma once
#include <QColor>
#include <QIcon>
#include <QPixmap>

namespace dv {

// Makes the installed icon themes reachable even where the platform names no theme
// or search path (the bare X server the tests and screenshots run on).
void ensureIconTheme();
// A picture of the icon theme, and what stands in for it where the theme lacks it.
struct ThemePicture {
    const char* themeName;
    QColor color; // of the drawn stand-in
    const char* letter;
};

// Any theme icon, or a round badge of that colour with the letter where the theme
// lacks it.
QIcon themeIconOrBadge(const char* themeName, const QColor& color, const char* letter);
// The round badge itself, at one size.
QPixmap badgePixmap(const QColor& color, const char* letter, int size);

} // namespace dv
