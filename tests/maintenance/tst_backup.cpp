// The backup screen as the office manager uses it: names and page by the
// installation's mode, a verified copy made while other screens are open, the
// refusals, and the restore of such a copy.
#include "BackupFixture.h"
#include "clinical/ClinicalScreens.h"
#include "maintenance/MaintenanceScreens.h"
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

LoggedIn::Options backupOptions() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) {
        registerClinicalScreens(r);
        registerMaintenanceScreens(r);
    };
    return o;
}

const QString kDay = QStringLiteral("2024-02-15");

} // namespace

class TestBackup : public QObject {
    Q_OBJECT

    LoggedIn* m_app = nullptr;
    LoggedIn& app() { return *m_app; }
    QString backupDir() const { return m_app->folder.path() + QStringLiteral("Backup"); }

    void setConfigap(const std::optional<QString>& value) { test::setConfigap(app(), value); }
    void withBackup(const std::function<void(TfrmBackup*)>& work) { QVERIFY(test::withBackup(app(), work)); }

    qint64 patients() {
        auto c = app().db().query(QStringLiteral("select count(*) from paciente"));
        return c->next() ? c->integer(0) : -1;
    }
    void addPatient(const QString& name) {
        app().db().insert(QStringLiteral("insert into paciente (paciente_nome, convenio_id, paciente_ativo) "
                                         "values (:n, 1, 'S')"),
                          {Param{QStringLiteral("n"), ParamType::String, name}},
                          QStringLiteral("paciente_id"));
    }

private slots:
    void init() {
        m_app = &sharedApp(QStringLiteral("backup"), backupOptions);
        QDir(backupDir()).removeRecursively();
        QFile::remove(backupDir());
        setConfigap(QStringLiteral("Local"));
        app().s.clock.set(QDateTime(QDate(2024, 2, 15), QTime(10, 30)));
    }
    void cleanup() {
        DV_VERIFY_SERVICES(app().s);
        for (const QString& f :
             QDir(app().folder.path() + QStringLiteral("banco")).entryList({"*_substituido_*"}))
            QFile::remove(app().folder.path() + QStringLiteral("banco/") + f);
    }
    void cleanupTestCase() { stopSharedApp(); }

    void modeNamesAndFolder_data() {
        QTest::addColumn<std::optional<QString>>("configap");
        QTest::addColumn<bool>("server");
        QTest::newRow("SQL Server") << std::optional<QString>(QStringLiteral("SQL Server")) << true;
        QTest::newRow("MSSQL") << std::optional<QString>(QStringLiteral("MSSQL")) << true;
        QTest::newRow("lower case") << std::optional<QString>(QStringLiteral("sql")) << false;
        QTest::newRow("empty") << std::optional<QString>(QString()) << false;
        QTest::newRow("missing") << std::optional<QString>() << false;
    }
    void modeNamesAndFolder() {
        QFETCH(std::optional<QString>, configap);
        QFETCH(bool, server);
        setConfigap(configap);
        withBackup([&](TfrmBackup* b) {
            QCOMPARE(b->serverMode(), server);
            QCOMPARE(b->PageControl1->isTabVisible(0), server);
            QCOMPARE(b->PageControl1->isTabVisible(1), !server);
            QCOMPARE(b->pageSql.lbArquivo->text(), QStringLiteral("bkp_DBDentrivale_2024-02-15.dat"));
            QCOMPARE(b->pageAccess.lbArquivo->text(), QStringLiteral("bkp_DBDentrivale_2024-02-15.mdb"));
            QCOMPARE(b->pageAccess.lbLocal->text(), app().folder.path() + QStringLiteral("Backup/"));
            QVERIFY(QFileInfo(backupDir()).isDir()); // made at show time
        });
    }

    // The copy is taken with the patient list open, holds the row written just before,
    // opens with the key and is sound; the pauses are the prescribed ones.
    void fileBackupIsAVerifiedCopy() {
        app().opener().open(QStringLiteral("frmPaciente"));
        addPatient(QStringLiteral("Última Antes do Backup"));
        const qint64 before = patients();
        app().s.clock.clearRecords();
        withBackup([&](TfrmBackup* b) {
            QTest::mouseClick(b->pageAccess.btnBackup, Qt::LeftButton);
            QCOMPARE(b->pageAccess.ProgressBar->value(), 0);
            QVERIFY(b->pageAccess.btnBackup->isEnabled());
            QVERIFY(b->pageAccess.lbAguarde->isHidden());
        });
        QCOMPARE(
            app().s.dialogs.texts(),
            (QStringList{QStringLiteral("Backup Concluído com sucesso..."),
                         QStringLiteral("Para maior segurança dos seus dados, copie o arquivo de backup para "
                                        "Disket, CD ou outras formas de armazenamento!")}));
        QCOMPARE(app().s.clock.pauses(), QList<int>(8, 500));
        SqlCipherEngine copy(backupDir() + QStringLiteral("/bkp_DBDentrivale_") + kDay +
                                 QStringLiteral(".mdb"),
                             databasePassword(dm().connectionString()));
        auto c = copy.query(
            QStringLiteral("select count(*) from paciente where paciente_nome = :n"),
            {Param{QStringLiteral("n"), ParamType::String, QStringLiteral("Última Antes do Backup")}});
        QVERIFY(c->next());
        QCOMPARE(c->integer(0), 1);
        auto all = copy.query(QStringLiteral("select count(*) from paciente"));
        QVERIFY(all->next());
        QCOMPARE(all->integer(0), before);
        auto check = copy.query(QStringLiteral("PRAGMA integrity_check"));
        QVERIFY(check->next());
        QCOMPARE(QString::fromUtf8(check->utf8(0)), QStringLiteral("ok"));
    }

    // An installed program's folder is read-only: config.ini's DataFolder takes the backups.
    void backupGoesToTheDataFolder() {
        QTemporaryDir data;
        session().setDataFolder(data.path());
        auto restore = qScopeGuard([] { session().setDataFolder(QString()); });
        withBackup([&](TfrmBackup* b) {
            QCOMPARE(b->pageAccess.lbLocal->text(), data.path() + QStringLiteral("/Backup/"));
            QTest::mouseClick(b->pageAccess.btnBackup, Qt::LeftButton);
        });
        QCOMPARE(app().s.dialogs.texts().value(0), QStringLiteral("Backup Concluído com sucesso..."));
        QVERIFY(QFileInfo::exists(data.filePath(QStringLiteral("Backup/bkp_DBDentrivale_") + kDay +
                                                QStringLiteral(".mdb"))));
        QVERIFY(!QFileInfo::exists(backupDir()));
    }

    // A second backup the same day, a folder that cannot be written, and a server
    // backup of a database that lives in a file: a message, no success, no new file.
    void refusalsLeaveNoFileAndNoSuccess_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("same day")
            << "same day"
            << "O Arquivo de backup já existe, caso deseje efetuar um novo backup, é "
               "necessário excluir o arquivo:bkp_DBDentrivale_2024-02-15.mdb da pasta backup!";
        QTest::newRow("unwritable folder") << "unwritable"
                                           << "Ocorreu um erro ao efetuar o backup! Tente novamente...";
        QTest::newRow("server mode, file database")
            << "server"
            << "Ocorreu um erro ao efetuar o backup! Tente novamente...";
    }
    void refusalsLeaveNoFileAndNoSuccess() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        if (kind == QLatin1String("server")) setConfigap(QStringLiteral("SQL"));
        QStringList before;
        withBackup([&](TfrmBackup* b) {
            if (kind == QLatin1String("same day")) {
                b->btnBackup2Click();
                app().s.dialogs.clearMessages();
            } else if (kind == QLatin1String("unwritable")) {
                // The folder is gone and a file stands in its place.
                QVERIFY(QDir(backupDir()).removeRecursively());
                QFile f(backupDir());
                QVERIFY(f.open(QIODevice::WriteOnly));
            }
            before = QDir(backupDir()).entryList(QDir::Files);
            (kind == QLatin1String("server") ? b->pageSql.btnBackup : b->pageAccess.btnBackup)->click();
        });
        const QStringList texts = app().s.dialogs.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts.first().startsWith(message), qPrintable(texts.first()));
        QCOMPARE(QDir(backupDir()).entryList(QDir::Files), before);
    }

    void restoreBringsBackTheBackupAndAsksForALogin() {
        app().opener().open(QStringLiteral("frmPaciente"));
        withBackup([](TfrmBackup* b) { b->btnBackup2Click(); });
        const qint64 backedUp = patients();
        addPatient(QStringLiteral("Depois do Backup"));
        app().s.dialogs.clearMessages();

        const QString file =
            backupDir() + QStringLiteral("/bkp_DBDentrivale_") + kDay + QStringLiteral(".mdb");
        app().s.fileDialogs.queueOpen(file);
        app().s.dialogs.queueConfirmation(true);
        bool loginAsked = false;
        withBackup([&](TfrmBackup* b) {
            // The login comes once the screen has closed.
            answerLoginAfterRestore(app(), &loginAsked);
            b->btnRestaurarClick();
            QVERIFY(!b->isVisible());
        });
        QVERIFY(QTest::qWaitFor([&] { return loginAsked; }, 5000));
        QCOMPARE(patients(), backedUp);
        QVERIFY(app()
                    .s.dialogs.texts(ScriptedDialogs::Kind::Confirmation)
                    .first()
                    .contains(QStringLiteral("bkp_DBDentrivale_2024-02-15.mdb")));
        const QStringList kept =
            QDir(app().folder.path() + QStringLiteral("banco")).entryList({"DBDentrivale_substituido_*.mdb"});
        QCOMPARE(kept, QStringList{QStringLiteral("DBDentrivale_substituido_2024-02-15_103000.mdb")});
        // The replaced database is kept whole: it still has the later row.
        SqlCipherEngine old(app().folder.path() + QStringLiteral("banco/") + kept.first(),
                            databasePassword(dm().connectionString()));
        auto c = old.query(QStringLiteral("select count(*) from paciente"));
        QVERIFY(c->next());
        QCOMPARE(c->integer(0), backedUp + 1);
    }

    void restoreOfAForeignFileChangesNothing() {
        QDir().mkpath(backupDir());
        const QString file = backupDir() + QStringLiteral("/outro.mdb");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(16384, 'z'));
        f.close();
        addPatient(QStringLiteral("Fica"));
        const qint64 before = patients();
        app().s.fileDialogs.queueOpen(file);
        app().s.dialogs.queueConfirmation(true);
        withBackup([](TfrmBackup* b) { b->btnRestaurarClick(); });
        QCOMPARE(patients(), before);
        const QStringList errors = app().s.dialogs.texts(ScriptedDialogs::Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY(errors.first().startsWith(
            QStringLiteral("Não foi possível restaurar o backup. Nenhum dado foi alterado.")));
        QVERIFY(QDir(app().folder.path() + QStringLiteral("banco")).entryList({"*_substituido_*"}).isEmpty());
    }

    void restoreDeclinedAtTheQuestionChangesNothing() {
        withBackup([](TfrmBackup* b) { b->btnBackup2Click(); });
        addPatient(QStringLiteral("Fica"));
        const qint64 before = patients();
        app().s.dialogs.clearMessages();
        app().s.fileDialogs.queueOpen(backupDir() + QStringLiteral("/bkp_DBDentrivale_") + kDay + ".mdb");
        app().s.dialogs.queueConfirmation(false);
        withBackup([](TfrmBackup* b) { b->btnRestaurarClick(); });
        QCOMPARE(patients(), before);
        QCOMPARE(app().s.dialogs.texts().size(), 1); // the question only
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
