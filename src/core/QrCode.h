#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>

namespace dv {

// A QR code of `text` (error correction level M), one pixel per module with the
// four-module quiet zone the readers need; null when the text does not fit.
QImage qrImage(const QString& text);

// The same picture as PNG bytes, for the report engine's picture items; empty when
// `text` is empty or does not fit.
QByteArray qrPng(const QString& text);

} // namespace dv
