#pragma once
#include <QColor>

namespace dv {

// The system's colour numbers are 0x00BBGGRR (blue in the high byte), the reverse of
// Qt's 0xRRGGBB: 16514043 is the grids' alternate row colour. Numbers with the high
// byte set (0x80000000 or 0xFF000000 plus an index, or negative) name a system colour
// (15 button face, 5 window, 8 window text, 13 highlight, 17 grey text, 24 hint
// background): they take the application palette's colour of that role.
QColor colorFromNumber(qint64 number);
// A plain colour's number.
qint64 colorNumber(const QColor& color);

namespace colors {
inline constexpr qint64 gridAlternateRow = 16514043;
inline constexpr qint64 gridTitle = 16053492;
inline constexpr qint64 focusHighlight = 16774120;
inline constexpr qint64 requiredMissing = 15395583;
} // namespace colors

} // namespace dv
