#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace dv {

// A picture file chosen by the user, read whole and checked before anything is
// stored: the bytes come back only when the file was read to its end and decodes
// completely as one of the accepted formats ("png", "bmp", "jpeg", as Qt names
// them) within 50 megapixels; otherwise nullopt and, in `message`, a sentence for
// the user that names the file and says nothing was stored.
std::optional<QByteArray> readPictureFile(const QString& fileName, const QList<QByteArray>& formats,
                                          QString* message);

} // namespace dv
