#pragma once
#include <QImage>

class QPainter;
class QRect;

namespace dv {

// Icons drawn over other pictures (the odontogram's marks over the teeth, a flag
// over a photo). A picture without an alpha channel (a BMP) is transparent where it
// has the colour of its bottom-left pixel; one with alpha (a PNG) keeps its own.
//
//   QPainter p(&tooth);
//   dv::drawTransparent(p, QRect(4, 4, 16, 16), QImage(":/marks/caries.bmp"));

// The picture with its transparency made explicit: ARGB32, its colour key turned
// transparent unless it already carries alpha. A null picture stays null.
QImage withColourKey(const QImage& picture);

// Draws the picture scaled into the rectangle, leaving what lies under its
// transparent part as it was.
void drawTransparent(QPainter& painter, const QRect& target, const QImage& picture);

} // namespace dv
