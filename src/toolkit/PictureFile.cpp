#include "PictureFile.h"
#include "core/CodeTexts.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace dv {

namespace {

constexpr qint64 kMaxPixels = 50LL * 1000 * 1000;

QString formatNames(const QList<QByteArray>& formats) {
    QStringList names;
    for (const QByteArray& f : formats)
        names << QString::fromLatin1(f).toUpper();
    return names.join(QStringLiteral(" ou "));
}

} // namespace

std::optional<QByteArray> readPictureFile(const QString& fileName, const QList<QByteArray>& formats,
                                          QString* message) {
    const QString shown = QDir::toNativeSeparators(fileName);
    auto fail = [message](const QString& text) {
        if (message) *message = text;
        return std::nullopt;
    };
    const QFileInfo info(fileName);
    if (!info.exists() || !info.isFile())
        return fail(dv::text("O arquivo \"%1\" não foi encontrado. A imagem não foi gravada.").arg(shown));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(dv::text("Não foi possível ler o arquivo \"%1\" (%2). A imagem não foi gravada.")
                        .arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return fail(dv::text("Não foi possível ler o arquivo \"%1\" (%2). A imagem não foi gravada.")
                        .arg(shown, file.errorString()));

    const QString notPicture =
        dv::text("O arquivo \"%1\" não é uma imagem %2 válida. A imagem não foi gravada.")
            .arg(shown, formatNames(formats));
    // The kind comes from the bytes, never from the file's extension.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray kind = QImageReader::imageFormat(&buffer);
    if (kind.isEmpty() || !formats.contains(kind)) return fail(notPicture);
    buffer.seek(0);
    QImageReader reader(&buffer, kind);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return fail(notPicture);
    if (qint64(size.width()) * size.height() > kMaxPixels)
        return fail(
            dv::text("O arquivo \"%1\" tem mais de 50 megapixels. A imagem não foi gravada.").arg(shown));
    reader.setAllocationLimit(int(kMaxPixels * 4 / (1024 * 1024)) + 16);
    const QImage image = reader.read();
    // A cut-off file decodes partly or not at all: the reader reports it either way.
    if (image.isNull() || reader.error() != QImageReader::UnknownError) return fail(notPicture);
    return bytes;
}

} // namespace dv
