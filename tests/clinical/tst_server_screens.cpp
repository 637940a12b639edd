// The screens on the server engine, end to end: log in, the patient list, a
// patient saved through the record, and a save refused because another
// workstation changed the patient meanwhile. Run as tst_server_screens_pg.
#include "../maintenance/BackupFixture.h"
#include "ClinicalFixture.h"
#include "TempDb.h"
#include "core/ErrorTranslator.h"
#include "maintenance/MaintenanceScreens.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include <QtTest>

using namespace dv;
using namespace dv::test;

class TestServerScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<InstallDbCopy> m_copy;
    std::unique_ptr<LoggedIn> m_app;

    LoggedIn& start() {
        m_copy = std::make_unique<InstallDbCopy>();
        LoggedIn::Options o = clinicalOptions();
        o.screens = [](ScreenRegistry& r) {
            registerClinicalScreens(r);
            registerMaintenanceScreens(r);
        };
        o.folder.database =
            m_copy->connectionString().section(QStringLiteral("Data Source="), 1).section(';', 0, 0);
        m_app = std::make_unique<LoggedIn>(o);
        return *m_app;
    }

private slots:
    void initTestCase() {
        if (!onServer()) QSKIP("runs on the server engine only (DV_TEST_ENGINE=postgresql)");
        DV_REQUIRE_SERVER_IF_ASKED();
    }
    void cleanup() {
        m_app.reset();
        m_copy.reset();
    }

    void logInListAndSaveAPatient() {
        LoggedIn& app = start();
        QCOMPARE(app.db().engineName(), QStringLiteral("postgresql"));
        QVERIFY(app.main()->isVisible()); // logged in as admin/admin
        PatientsApp a(app);
        a.addPatient(QStringLiteral("Bruno Dias"));
        a.addPatient(QStringLiteral("ana Souza"));
        QVERIFY(a.openList());
        QCOMPARE(a.list->SQL_Consulta->recordCount(), 2);
        a.list->SQL_Consulta->first();
        QCOMPARE(a.list->SQL_Consulta->fieldByName(QStringLiteral("paciente_nome"))->asString(),
                 QStringLiteral("ana Souza")); // ordered without regard to case, as on the embedded engine

        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            typeAtCaret(r->DBEditNome, QStringLiteral("MARIA DA SILVA"));
            r->DBLookupConvenio->setKeyValue(1);
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        QCOMPARE(
            a.texts(QStringLiteral("select paciente_nome from paciente where paciente_nome like 'maria%'")),
            QStringList{"Maria da Silva"});
        const int questions = a.questionOrder().size();
        QVERIFY(questions > 0);
        QCOMPARE(a.count(QStringLiteral("select count(*) from anamnese_paciente")), questions);
    }

    void saveOfAPatientChangedElsewhereIsRefused() {
        LoggedIn& app = start();
        PatientsApp a(app);
        const qint64 id = a.addPatient(QStringLiteral("Carla Nunes"));
        QVERIFY(a.openList());
        QVERIFY(a.withRecord(id, [&](TfrmPaciente_Manut* r) {
            // Another workstation renames her while the record is open here.
            auto other = Connection::open(m_copy->connectionString(), QStringLiteral("/"));
            other->execute(
                QStringLiteral(
                    "update paciente set paciente_nome = 'Carla Nunes Reis' where paciente_id = :id"),
                PatientsApp::id(id));
            r->DBEditNome->selectAll();
            typeAtCaret(r->DBEditNome, QStringLiteral("Carla Souza"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        QVERIFY2(a.dialogs().texts().contains(QStringLiteral(
                     "O registro foi alterado por outro usuário. Os dados foram recarregados.")),
                 qPrintable(a.dialogs().texts().join(" | ")));
        QCOMPARE(a.texts(QStringLiteral("select paciente_nome from paciente where paciente_id = :id"),
                         PatientsApp::id(id)),
                 QStringList{"Carla Nunes Reis"});
    }

    // Server mode of the backup screen: the server's dump in the dated file, and that
    // dump put back over rows added since.
    void backupAndRestoreThroughTheScreen() {
        LoggedIn& app = start();
        PatientsApp a(app);
        setConfigap(app, QStringLiteral("SQL Server"));
        app.s.clock.set(QDateTime(QDate(2024, 2, 15), QTime(10, 30)));
        a.addPatient(QStringLiteral("Antes do Backup"));
        const int before = a.count(QStringLiteral("select count(*) from paciente"));
        QVERIFY(withBackup(app, [](TfrmBackup* b) {
            QVERIFY(b->serverMode());
            b->pageSql.btnBackup->click();
        }));
        const QString file = app.folder.path() + QStringLiteral("Backup/bkp_DBDentrivale_2024-02-15.dat");
        QCOMPARE(app.s.dialogs.texts().value(0), QStringLiteral("Backup Concluído com sucesso..."));
        QFile dump(file);
        QVERIFY(dump.open(QIODevice::ReadOnly));
        QVERIFY(dump.readAll().contains("Antes do Backup"));

        a.addPatient(QStringLiteral("Depois do Backup"));
        app.s.dialogs.clearMessages();
        app.s.fileDialogs.queueOpen(file);
        app.s.dialogs.queueConfirmation(true);
        bool loginAsked = false;
        QVERIFY(withBackup(app, [&](TfrmBackup* b) {
            answerLoginAfterRestore(app, &loginAsked);
            b->btnRestaurarClick();
        }));
        QVERIFY(QTest::qWaitFor([&] { return loginAsked; }, 5000));
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente")), before);
        QCOMPARE(QDir(app.folder.path() + QStringLiteral("Backup"))
                     .entryList({QStringLiteral("bkp_DBDentrivale_antes_restauracao_*.dat")})
                     .size(),
                 1);
    }
};

QTEST_MAIN(TestServerScreens)
#include "tst_server_screens.moc"
