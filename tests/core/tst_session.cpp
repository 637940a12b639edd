// Where the configuration is read and where the program writes.
#include "core/Session.h"
#include "core/WritablePlaces.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace dv;

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { session().reset(); }

    void dataFolder_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not set: the program's folder") << QString() << QStringLiteral("/opt/app/");
        QTest::newRow("relative") << QStringLiteral("../demo") << QStringLiteral("/opt/demo/");
        QTest::newRow("backslashes") << QStringLiteral("dados\\clinica")
                                     << QStringLiteral("/opt/app/dados/clinica/");
        QTest::newRow("absolute") << QStringLiteral("/var/lib/dentrivale")
                                  << QStringLiteral("/var/lib/dentrivale/");
        QTest::newRow("trailing slash")
            << QStringLiteral("/var/lib/dentrivale/") << QStringLiteral("/var/lib/dentrivale/");
    }
    void dataFolder() {
        QFETCH(QString, configured);
        QFETCH(QString, expected);
        session().setExecutableFolder(QStringLiteral("/opt/app"));
        session().setDataFolder(configured);
        QCOMPARE(session().dataFolder(), expected);
    }

    void configFile() {
        session().setExecutableFolder(QStringLiteral("/opt/app"));
        QCOMPARE(session().configFile(), QStringLiteral("/opt/app/config.ini"));
        const QString named = configFileArgument(
            {QStringLiteral("Dentrivale"), QStringLiteral("--config"), QStringLiteral("demo/config.ini")});
        QCOMPARE(named, QDir::current().absoluteFilePath(QStringLiteral("demo/config.ini")));
        session().setConfigFile(named);
        QCOMPARE(session().configFile(), named);
        // No file after the option, or no option: the program's own config.ini.
        QCOMPARE(configFileArgument({QStringLiteral("Dentrivale"), QStringLiteral("--config")}), QString());
        QCOMPARE(configFileArgument({QStringLiteral("Dentrivale")}), QString());
    }

    // Fixed-name files and save dialogs start beside the program when it can be
    // written, else in the documents folder (an installed program's folder is read-only).
    void writablePlaces() {
        QStandardPaths::setTestModeEnabled(true);
        QTemporaryDir app;
        session().setExecutableFolder(app.path());
        QCOMPARE(fixedFilePath(QStringLiteral("RelatGrid.xls")),
                 app.filePath(QStringLiteral("RelatGrid.xls")));
        QCOMPARE(writableFolderOr(app.path()), app.path());

        const QString documents = writableDocuments();
        QVERIFY(!documents.isEmpty());
        // A missing folder is made; one that cannot be (not even by root: under a file) is not.
        QCOMPARE(writableFolderOr(app.filePath(QStringLiteral("language/pt_BR"))),
                 app.filePath(QStringLiteral("language/pt_BR")));
        QVERIFY(QFileInfo(app.filePath(QStringLiteral("language/pt_BR"))).isDir());
        QFile file(app.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString blocked = app.filePath(QStringLiteral("file/app"));
        session().setExecutableFolder(blocked);
        QCOMPARE(fixedFilePath(QStringLiteral("RelatGrid.xls")), documents + QStringLiteral("RelatGrid.xls"));
        QCOMPARE(writableFolderOr(blocked + QStringLiteral("/language/pt_BR")), documents);
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
