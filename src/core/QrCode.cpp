#include "QrCode.h"
#include <QBuffer>
#include <memory>
#include <qrencode.h>

namespace dv {

QImage qrImage(const QString& text) {
    if (text.isEmpty()) return {};
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(utf8.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) return {};
    constexpr int quiet = 4;
    const int width = code->width;
    QImage image(width + 2 * quiet, width + 2 * quiet, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < width; ++y)
        for (int x = 0; x < width; ++x)
            if (code->data[y * width + x] & 1) image.setPixel(x + quiet, y + quiet, 1);
    return image;
}

QByteArray qrPng(const QString& text) {
    const QImage image = qrImage(text);
    if (image.isNull()) return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace dv
