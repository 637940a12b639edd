#include "TransparentPicture.h"
#include <QPainter>
#include <QRect>

namespace dv {

QImage withColourKey(const QImage& picture) {
    if (picture.isNull()) return QImage();
    // A picture that carries alpha says itself what shows through.
    if (picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_ARGB32);
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
    return out;
}

void drawTransparent(QPainter& painter, const QRect& target, const QImage& picture) {
    const QImage keyed = withColourKey(picture);
    if (keyed.isNull() || target.isEmpty()) return;
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // Scaled without smoothing: blending would bring the key colour back at the edges.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, keyed);
    painter.restore();
}

} // namespace dv
