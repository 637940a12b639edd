#include "PacienteManutPhoto.h"
#include "core/CodeTexts.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBImage.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace dv {

namespace {

// Phone cameras reach 48 megapixels; a decoded picture takes four bytes a pixel.
constexpr qint64 kMaxMegapixels = 50;
constexpr int kAllocationLimitMb = int(kMaxMegapixels * 4) + 16;

// The JPEG decoder reports a cut-off or damaged file as a warning of its logging
// category and still returns a picture (the missing part grey): the warnings are
// caught while one picture is decoded, on the thread that decodes it.
thread_local bool t_decoding = false;
thread_local bool t_decoderComplained = false;
QtMessageHandler g_previousHandler = nullptr;

void watchDecoder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (t_decoding && type != QtDebugMsg && type != QtInfoMsg && context.category &&
        qstrncmp(context.category, "qt.gui.imageio", 14) == 0) {
        t_decoderComplained = true;
        return;
    }
    if (g_previousHandler) g_previousHandler(type, context, text);
}

struct Decoding {
    QImage image;          // null when the bytes are no picture or it is too large
    qint64 megapixels = 0; // once the header was read, rounded up
    bool tooLarge = false;
    bool damaged = false; // the decoder reported the data cut off or corrupt
};

// Decodes the whole picture, up to the megapixel limit.
Decoding decodeJpeg(const QByteArray& bytes) {
    Decoding d;
    if (bytes.size() < 4 || !bytes.startsWith(QByteArrayLiteral("\xFF\xD8\xFF"))) return d;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (!size.isValid()) return d;
    const qint64 pixels = qint64(size.width()) * size.height();
    d.megapixels = (pixels + 999999) / 1000000;
    d.tooLarge = pixels > kMaxMegapixels * 1000000;
    if (d.tooLarge) return d;
    // Qt's default allocation limit (128 MB) would refuse a 48-megapixel photo.
    reader.setAllocationLimit(kAllocationLimitMb);
    t_decoding = true;
    t_decoderComplained = false;
    g_previousHandler = qInstallMessageHandler(watchDecoder);
    d.image = reader.read();
    qInstallMessageHandler(g_previousHandler);
    t_decoding = false;
    d.damaged = t_decoderComplained;
    return d;
}

QString tooLargeText(qint64 megapixels) {
    return dv::text("A imagem tem %1 megapixels; o limite é %2.").arg(megapixels).arg(kMaxMegapixels);
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
        return fail(dv::text("O arquivo \"%1\" não foi encontrado. A foto não foi gravada.").arg(shown));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return fail(dv::text("Não foi possível ler o arquivo \"%1\" (%2). A foto não foi gravada.")
                        .arg(shown, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return fail(dv::text("Não foi possível ler o arquivo \"%1\" (%2). A foto não foi gravada.")
                        .arg(shown, file.errorString()));
    const Decoding d = decodeJpeg(bytes);
    if (d.tooLarge)
        return fail(dv::text("O arquivo \"%1\" não foi gravado. ").arg(shown) + tooLargeText(d.megapixels));
    if (d.image.isNull() || d.damaged)
        return fail(
            dv::text("O arquivo \"%1\" não é uma imagem JPEG válida. A foto não foi gravada.").arg(shown));
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
    // Shown as far as it decodes: pictures stored before the whole-picture check stay visible.
    const Decoding d = decodeJpeg(f->asBytes());
    if (d.tooLarge) throw PlainError(tooLargeText(d.megapixels));
    if (d.image.isNull()) throw PlainError(dv::text("A foto gravada não é uma imagem JPEG válida."));
    image.setPicture(d.image);
}

} // namespace dv
