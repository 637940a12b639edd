#include "CodeTexts.h"
#include "IniFile.h"
#include "Session.h"
#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace dv {

namespace {
// The texts of one language file, read again when the file changes.
struct TextCache {
    QString path;
    QDateTime modified;
    qint64 size = -1;
    QHash<QString, QString> texts;
};

QString lookUp(const QString& key) {
    static QMutex mutex;
    static TextCache cache;
    const QString language = session().language();
    if (language.isEmpty() || language.contains(QLatin1Char('/')) || language.contains(QLatin1Char('\\')) ||
        language.startsWith(QLatin1Char('.')))
        return QString();
    const QString path = session().executableFolder() + QStringLiteral("language/Default_") + language +
                         QStringLiteral(".lpu");
    const QFileInfo info(path);
    QMutexLocker lock(&mutex);
    if (cache.path != path || cache.modified != info.lastModified() || cache.size != info.size()) {
        cache.path = path;
        cache.modified = info.lastModified();
        cache.size = info.size();
        cache.texts.clear();
        for (const auto& [k, v] : IniFile::load(path).entries(QStringLiteral("Textos")))
            cache.texts.insert(k.toLower(), v);
    }
    return cache.texts.value(key);
}

// The file trims its values: spaces around the text are the code's, not the translator's.
QString withSpacingOf(const QString& portuguese, QString translated) {
    qsizetype lead = 0;
    while (lead < portuguese.size() && portuguese.at(lead).isSpace())
        ++lead;
    qsizetype trail = 0;
    while (trail < portuguese.size() - lead && portuguese.at(portuguese.size() - 1 - trail).isSpace())
        ++trail;
    return portuguese.left(lead) + translated.trimmed() + portuguese.right(trail);
}
} // namespace

QString codeTextKey(const QString& portuguese) {
    const QByteArray digest = QCryptographicHash::hash(portuguese.toUtf8(), QCryptographicHash::Sha1);
    return QLatin1Char('t') + QString::fromLatin1(digest.toHex().left(8));
}

QString decodeCodeText(QStringView stored) {
    QString text;
    text.reserve(stored.size());
    for (qsizetype i = 0; i < stored.size(); ++i) {
        if (stored.at(i) == QLatin1Char('\\') && i + 1 < stored.size()) {
            const QChar next = stored.at(i + 1);
            if (next == QLatin1Char('n')) {
                text += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (next == QLatin1Char('\\')) {
                text += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        text += stored.at(i);
    }
    return text;
}

QString text(const QString& portuguese) {
    if (portuguese.isEmpty()) return portuguese;
    const QString stored = lookUp(codeTextKey(portuguese));
    return stored.isEmpty() ? portuguese : withSpacingOf(portuguese, decodeCodeText(stored));
}

QString text(const char* portuguese) {
    return text(QString::fromUtf8(portuguese));
}

} // namespace dv
