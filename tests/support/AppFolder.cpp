#include "AppFolder.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace dv::test {

namespace {
void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QDir(from).relativeFilePath(src);
        QDir().mkpath(QFileInfo(dst).path());
        QFile::copy(src, dst);
    }
}
} // namespace

AppFolder::AppFolder() : AppFolder(Options{}) {}

AppFolder::AppFolder(const Options& o) {
    const QString app = QStringLiteral(DV_APP_DIR) + QLatin1Char('/');
    for (const char* sub : {"language", "skins", "relatorio", "help"})
        if (QFileInfo(app + QLatin1String(sub)).isDir())
            copyTree(app + QLatin1String(sub) + QLatin1Char('/'), path() + QLatin1String(sub) + QLatin1Char('/'));
    if (o.withDatabase) {
        QDir().mkpath(path() + QStringLiteral("banco"));
        QFile::copy(QStringLiteral(DV_INSTALL_DB), databaseFile());
        QFile(databaseFile()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    if (o.withConfig) {
        QFile f(path() + QStringLiteral("config.ini"));
        f.open(QIODevice::WriteOnly);
        QByteArray text = "[App]\r\nDataBase=" + o.database.toUtf8() + "\r\n";
        if (!o.language.isNull()) text += "Language=" + o.language.toUtf8() + "\r\n";
        text += "[Aplicacao]\r\nConfigap=Local\r\n";
        f.write(text);
    }
}

QString AppFolder::connectionString() const {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=5316428850")
        .arg(databaseFile());
}

} // namespace dv::test
