#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace dv {

class Dataset;
class DBImage;

// The patient photos: JPEG files read into picture columns and shown from them.

// The bytes of a JPEG file, read whole and checked by decoding the whole picture;
// nullopt with a message for the user when the file is missing or cannot be read, is
// no JPEG, the decoder finds it cut off or corrupt, or it is over 50 megapixels.
std::optional<QByteArray> readJpegFile(const QString& fileName, QString* message);

// Stores the picture bytes in the column and posts the row, appending one first
// unless the dataset is already editing.
void JPegToBanco(const QByteArray& jpeg, Dataset& dataset, const QString& column);

// Shows the column's JPEG in the picture box; a null column leaves the box as it was.
// Bytes that are no JPEG raise dv::PlainError and leave the box as it was.
void BancoToJPeg(DBImage& image, Dataset& dataset, const QString& column);

} // namespace dv
