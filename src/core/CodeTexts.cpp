#include "CodeTexts.h"
#include "IniFile.h"
#include "Session.h"
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
} // namespace

QString sessionCodeText(const QString& key) {
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

} // namespace dv
