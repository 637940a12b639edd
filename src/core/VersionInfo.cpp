#include "VersionInfo.h"
#include "db/DbErrors.h"
#include <QFile>
#include <QRegularExpression>

namespace dv {

namespace {
// Kept in the binary (used) so that the file itself answers what version it is.
[[gnu::used]] const char kVersionMarker[] = "\x02" "DENTRIVALE-FILE-VERSION=" DV_VERSION "\x03";
} // namespace

QString builtVersion() { return QStringLiteral(DV_VERSION); }

QString versionOfExecutable(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw OsError(QStringLiteral("System Error. Code: 2.\rO sistema não pode encontrar o arquivo '%1'.").arg(path));
    static const QByteArray tag = QByteArray("\x02") + "DENTRIVALE-FILE-VERSION=";
    // Reads in overlapping chunks so that large executables are not loaded whole.
    const qint64 chunk = 1 << 20;
    QByteArray carry;
    while (!f.atEnd()) {
        QByteArray buf = carry + f.read(chunk);
        const qsizetype at = buf.indexOf(tag);
        if (at >= 0) {
            if (buf.size() - at < tag.size() + 64) buf += f.read(64);
            const qsizetype end = buf.indexOf('\x03', at);
            const QString text = QString::fromLatin1(buf.mid(at + tag.size(), end - at - tag.size()));
            static const QRegularExpression four(QStringLiteral("^(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)$"));
            const auto m = four.match(text);
            if (end > at && m.hasMatch())
                return QStringLiteral("%1.%2.%3.%4")
                    .arg(m.captured(1).toInt() & 0xFFFF)
                    .arg(m.captured(2).toInt() & 0xFFFF)
                    .arg(m.captured(3).toInt() & 0xFFFF)
                    .arg(m.captured(4).toInt() & 0xFFFF);
        }
        carry = buf.right(tag.size() + 64);
    }
    Q_UNUSED(kVersionMarker);
    throw OsError(
        QStringLiteral("System Error. Code: 1813.\rO tipo de recurso especificado não foi encontrado no arquivo de imagem '%1'.")
            .arg(path));
}

} // namespace dv
