#pragma once
#include <QString>
#include <QTemporaryDir>

namespace dv::test {

// A fresh application folder in a temporary directory: config.ini, the
// installation database in banco/, and the language, skins and report files of
// the built application folder.
class AppFolder {
public:
    struct Options {
        bool withConfig = true;
        bool withDatabase = true;
        QString language = QStringLiteral("pt_BR"); // null: no Language key
        QString database = QStringLiteral("banco/DBDentrivale.mdb");
    };
    AppFolder();
    explicit AppFolder(const Options& options);

    // With a trailing '/', as the executable folder is.
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString databaseFile() const { return path() + QStringLiteral("banco/DBDentrivale.mdb"); }
    QString connectionString() const;

private:
    QTemporaryDir m_dir;
};

} // namespace dv::test
