#include "PacienteManutPhoto.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBImage.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace dv {

namespace {

// A whole JPEG: the start-of-image mark at the front, an end-of-image mark after it
// (a cut-off file has none), and a picture the decoder makes of it.
bool isCompleteJpeg(const QByteArray& bytes) {
    if (bytes.size() < 4 || !bytes.startsWith(QByteArrayLiteral("\xFF\xD8\xFF"))) return false;
    if (bytes.lastIndexOf(QByteArrayLiteral("\xFF\xD9")) < 3) return false;
    QImage image;
    return image.loadFromData(bytes, "JPG") && !image.isNull();
}

} // namespace

std::optional<QByteArray> readJpegFile(const QString& fileName, QString* message) {
    const QString shown = QDir::toNativeSeparators(fileName);
    auto fail = [message](const QString& text) {
        if (message) *message = text;
        return std::nullopt;
    };
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile())
        return fail(
            QStringLiteral("O arquivo \"%1\" não foi encontrado. A foto não foi gravada.").arg(shown));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Não foi possível ler o arquivo \"%1\" (%2). A foto não foi gravada.")
                        .arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return fail(QStringLiteral("Não foi possível ler o arquivo \"%1\" (%2). A foto não foi gravada.")
                        .arg(shown, file.errorString()));
    if (!isCompleteJpeg(bytes))
        return fail(QStringLiteral("O arquivo \"%1\" não é uma imagem JPEG válida. A foto não foi gravada.")
                        .arg(shown));
    return bytes;
}

void JPegToBanco(const QByteArray& jpeg, Dataset& dataset, const QString& column) {
    if (!dataset.isEditing()) dataset.append();
    dataset.fieldByName(column)->setBytes(jpeg);
    dataset.post();
}

void BancoToJPeg(DBImage& image, Dataset& dataset, const QString& column) {
    if (!dataset.isActive() || dataset.isEmpty()) return;
    Field* f = dataset.fieldByName(column);
    if (f->isNull()) return;
    QImage picture;
    if (!picture.loadFromData(f->asBytes(), "JPG") || picture.isNull())
        throw PlainError(QStringLiteral("A foto gravada não é uma imagem JPEG válida."));
    image.setPicture(picture);
}

} // namespace dv
