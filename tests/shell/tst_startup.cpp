#include "AppFolder.h"
#include "ScriptedServices.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/SystemClock.h"
#include "core/U_dm.h"
#include "core/U_frmAbertura.h"
#include "core/db/SqlCipherEngine.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include <QtTest>

using namespace dv;

namespace {

// The real clock, recording each prescribed pause and tick with when it was asked.
class RecordingClock : public SystemClock {
public:
    RecordingClock() { m_timer.start(); }
    void pause(int ms) override {
        pauses.append(ms);
        SystemClock::pause(ms);
    }
    int tickInterval(int ms) override {
        ticks.append(ms);
        return SystemClock::tickInterval(ms);
    }
    qint64 elapsed() const { return m_timer.elapsed(); }
    QList<int> pauses;
    QList<int> ticks;

private:
    QElapsedTimer m_timer;
};

// Start-up's prescribed pauses in their order: before the data module, after each of
// its splash texts, and after "Language" and "Finished".
const QList<int> kStartupPauses{100, 50, 50, 50, 50, 50, 100, 50, 100};

} // namespace

// Start-up, login and shutdown, driven as the process runs them.
class TestStartup : public QObject {
    Q_OBJECT

    QApplication& app() { return static_cast<QApplication&>(*qApp); }

    // Records the splash texts as they are written.
    QStringList m_splashTexts;
    StartupObjects start(const test::AppFolder& folder) {
        m_splashTexts.clear();
        resetTermination();
        session().reset();
        StartupObjects o = startup(app(), folder.path());
        return o;
    }
    void login(StartupObjects& o, const QString& user, const QString& password) {
        o.login->EditLogin->setText(user);
        o.login->EditSenha->setText(password);
        QTest::mouseClick(o.login->btnOK, Qt::LeftButton);
    }

private slots:
    void cleanup() {
        resetDialogTexts();
        resetTermination();
    }

    void startsInOrderWithOnlyTheLoginVisible() {
        test::ScriptedServices s;
        test::AppFolder folder;
        StartupObjects o = start(folder);
        QVERIFY(!o.splash->isVisible());
        QVERIFY(!o.main->isVisible());
        QVERIFY(o.login->isVisible());
        QCOMPARE(o.splash->lbIniciando->text(), QStringLiteral("Carregando: Finished"));
        QVERIFY(!terminationRequested());
        // Every shared dataset open, in place; the session ones closed until a login, the
        // patients until a screen needs them.
        for (const char* name :
             {"SQL_UF",      "SQL_Formulario",   "SQL_Preferencia", "SQL_Skin",    "SQL_Empresa",
              "SQL_Grupo",   "SQL_Configuracao", "SQL_Convenio",    "SQL_Ramo",    "SQL_TipoContato",
              "SQL_Horario", "SQL_Anamnese",     "SQL_FormaPagto",  "SQL_Servico", "SQL_Icone",
              "SQL_Dente",   "SQL_LocalDente",   "SQL_TipoConta",   "SQL_Unidade", "SQL_Contato",
              "SQL_Tabela",  "SQL_Dentista"})
            QVERIFY2(dm().dataset(QLatin1String(name))->isActive(), name);
        QVERIFY(!dm().SQL_Usuario->isActive());
        QVERIFY(!dm().SQL_GrupoPermissao->isActive());
        QVERIFY(!dm().SQL_Paciente->isActive() && dm().SQL_Paciente->isOpenedOnDemand());
        QCOMPARE(dm().SQL_UF->recordCount(), 27);
        QCOMPARE(dm().SQL_UF->fieldByName(QStringLiteral("uf_id"))->displayLabel(), QStringLiteral("UF"));
        QCOMPARE(session().applicationTitle(), QStringLiteral("Dentrivale - Gerenciamento Odontológico"));
        QCOMPARE(session().executableFolder(), folder.path());
        QVERIFY(dm().connectionString().startsWith(QStringLiteral(
            "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=banco/DBDentrivale.mdb;"
            "Mode=Share Deny None;Persist Security Info=True;Jet OLEDB:Database Password=5316428850")));
        QCOMPARE(s.dialogs.count(), 0);
        shutdown(o);
        QVERIFY(!dmExists());
    }

    // The one start-up on the real clock: the prescribed pauses are really waited, in
    // order, and the login hands over after five real ticks of 100 ms.
    void realPausesAndTicksHappenInOrder() {
        test::ScriptedServices s;
        RecordingClock clock;
        services().setClock(&clock);
        test::AppFolder folder;
        const qint64 before = clock.elapsed();
        StartupObjects o = start(folder);
        const qint64 startupTime = clock.elapsed() - before;
        QCOMPARE(clock.pauses, kStartupPauses);
        QVERIFY2(startupTime >= 600, qPrintable(QString::number(startupTime)));
        QVERIFY(clock.ticks.isEmpty());
        QCOMPARE(o.login->Timer1.interval(), 0); // not started yet

        login(o, QStringLiteral("admin"), QStringLiteral("admin"));
        const qint64 loggedIn = clock.elapsed();
        QCOMPARE(clock.ticks, QList<int>{100});
        QCOMPARE(o.login->Timer1.interval(), 100);
        QVERIFY(!o.main->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(o.main->isVisible(), 3000);
        const qint64 handOver = clock.elapsed() - loggedIn;
        // Five ticks of 100 ms; a coarse timer may fire up to 5 % early.
        QVERIFY2(handOver >= 475, qPrintable(QString::number(handOver)));
        QTRY_VERIFY(o.login.isNull());
        QCOMPARE(clock.pauses, kStartupPauses); // no pause beyond start-up's
        shutdown(o);
        services().setClock(&s.clock);
    }

    // The scripted clock records the same pauses and skips them; the hand-over ticks
    // come as soon as the event loop turns.
    void scriptedClockSkipsThePauses() {
        test::ScriptedServices s;
        test::AppFolder folder;
        StartupObjects o = start(folder);
        QCOMPARE(s.clock.pauses(), kStartupPauses);
        login(o, QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(s.clock.ticks(), QList<int>{100});
        QCOMPARE(o.login->Timer1.interval(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(o.main->isVisible(), 3000);
        QVERIFY(o.login.isNull());
    }

    // Whatever is left at the end is freed in the shutdown order without a shutdown() call.
    void startupObjectsFreeThemselves() {
        test::ScriptedServices s;
        test::AppFolder folder;
        {
            StartupObjects o = start(folder);
            QVERIFY(dmExists());
            QPointer<TfrmLogin> login = o.login;
            QVERIFY(login);
        }
        QVERIFY(!dmExists());
        const QWidgetList left = QApplication::topLevelWidgets();
        for (QWidget* w : left)
            QVERIFY2(!qobject_cast<TfrmLogin*>(w) && !qobject_cast<TfrmPrincipal*>(w) &&
                         !qobject_cast<TfrmAbertura*>(w),
                     qPrintable(w->objectName()));
    }

    void languageDecidesSplashAndDialogTexts_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("splash");
        QTest::addColumn<QString>("yes");
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Carregando: Finished"
                               << "&Sim";
        QTest::newRow("en") << "en"
                            << "Loading: Finished"
                            << "&Yes";
        QTest::newRow("es") << "es"
                            << "Cargando: Finished"
                            << "&Sí";
        QTest::newRow("other") << "fr"
                               << "Carregando: Data Base"
                               << "";
        QTest::newRow("absent") << QString() << "Carregando: Data Base"
                                << "";
    }
    void languageDecidesSplashAndDialogTexts() {
        QFETCH(QString, language);
        QFETCH(QString, splash);
        QFETCH(QString, yes);
        test::ScriptedServices s;
        test::AppFolder::Options opt;
        opt.language = language;
        test::AppFolder folder(opt);
        StartupObjects o = start(folder);
        QCOMPARE(o.splash->lbIniciando->text(), splash);
        if (!yes.isEmpty()) QCOMPARE(dialogTexts().yes, yes);
        QVERIFY(!terminationRequested());
        shutdown(o);
    }

    void loginRefusesThenHandsOver() {
        test::ScriptedServices s;
        test::AppFolder folder;
        StartupObjects o = start(folder);
        login(o, QStringLiteral("admin"), QStringLiteral("wrong"));
        QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("Login ou senha inválida!")});
        QVERIFY(dm().SQL_Usuario->isActive() && dm().SQL_Usuario->isEmpty());
        QVERIFY(dm().SQL_GrupoPermissao->isEmpty());
        QVERIFY(!o.main->isVisible());
        // A stray blank is not trimmed away.
        login(o, QStringLiteral("admin "), QStringLiteral("admin"));
        QCOMPARE(s.dialogs.count(), 2);

        // Logins compare without regard to case; the password exactly.
        login(o, QStringLiteral("ADMIN"), QStringLiteral("admin"));
        QCOMPARE(s.dialogs.count(), 2);
        QCOMPARE(session().userLogin(), QStringLiteral("admin"));
        QCOMPARE(o.main->loginPanel(), QStringLiteral("Login: admin"));
        QVERIFY(o.login->ProgressBar1->isVisible());
        QVERIFY(!o.main->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(o.main->isVisible(), 3000);
        QTRY_VERIFY(o.login.isNull()); // closed and freed
        QVERIFY(dm().SQL_GrupoPermissao->recordCount() > 0);
        QVERIFY(dm().SQL_GrupoPermissao->locate(QStringLiteral("form_nome"), QStringLiteral("frmPaciente")));
        shutdown(o);
    }

    void cancellingTheLoginEndsWithoutTheExitQuestion() {
        test::ScriptedServices s;
        test::AppFolder folder;
        StartupObjects o = start(folder);
        QTest::mouseClick(o.login->btnCancelar, Qt::LeftButton);
        QVERIFY(terminationRequested());
        QCOMPARE(runMessageLoop(app()), 0);
        QVERIFY(!o.main->isVisible());
        QCOMPARE(s.dialogs.count(), 0);
        shutdown(o);
    }

    void exitQuestionNoKeepsEverything() {
        test::ScriptedServices s;
        test::AppFolder folder;
        StartupObjects o = start(folder);
        login(o, QStringLiteral("admin"), QStringLiteral("admin"));
        QTRY_VERIFY(o.main->isVisible());
        s.dialogs.queueConfirmation(false);
        QVERIFY(!o.main->close());
        QVERIFY(o.main->isVisible());
        QCOMPARE(session().userLogin(), QStringLiteral("admin"));
        s.dialogs.queueConfirmation(true);
        QVERIFY(o.main->close());
        QCOMPARE(s.dialogs.texts(test::ScriptedDialogs::Kind::Confirmation),
                 (QStringList(2, QStringLiteral("Deseja realmente sair do sistema?"))));
        DV_VERIFY_SERVICES(s);
        shutdown(o);
    }

    void missingConfigEndsTheProcess() {
        test::ScriptedServices s;
        test::AppFolder::Options opt;
        opt.withConfig = false;
        test::AppFolder folder(opt);
        StartupObjects o = start(folder);
        QVERIFY(terminationRequested());
        QCOMPARE(s.dialogs.count(), 1); // the failed connection, shown by the error translator
        QCOMPARE(runMessageLoop(app()), 0);
        shutdown(o);
    }

    // The error shown names what is wrong and where, in the interface language; start-up
    // goes on to the login as before.
    void startupErrorsSayWhatIsWrongAndWhere_data() {
        QTest::addColumn<QString>("folderState");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected"); // the start of the text; %1 the folder, %2 the database
        QTest::addColumn<QString>("heading");  // the error translator's, in the same language
        // Without config.ini no language is known yet: Portuguese.
        QTest::newRow("no config.ini") << "no config"
                                       << "en"
                                       << "O arquivo de configuração config.ini não foi encontrado em %1."
                                       << "Ocorreu um Erro";
        QTest::newRow("database missing")
            << "no database"
            << "pt_BR"
            << "O banco de dados \"%2\" não pôde ser aberto: O arquivo '%2' não foi encontrado."
            << "Ocorreu um Erro";
        QTest::newRow("empty database file, English")
            << "empty database"
            << "en"
            << "The database \"%2\" could not be opened: no such table: UF"
            << "An error occurred";
        QTest::newRow("foreign database, Spanish") << "foreign database"
                                                   << "es"
                                                   << "La base de datos \"%2\" no se pudo abrir: "
                                                      "Contraseña no válida, o '%2' no es un archivo de base "
                                                      "de datos."
                                                   << "Se produjo un error";
    }
    void startupErrorsSayWhatIsWrongAndWhere() {
        QFETCH(QString, folderState);
        QFETCH(QString, language);
        QFETCH(QString, expected);
        QFETCH(QString, heading);
        test::ScriptedServices s;
        test::AppFolder::Options opt;
        opt.withConfig = folderState != QLatin1String("no config");
        opt.withDatabase = folderState == QLatin1String("no config");
        opt.language = language;
        test::AppFolder folder(opt);
        const QString file = folder.databaseFile();
        QDir().mkpath(QFileInfo(file).path());
        if (folderState == QLatin1String("empty database")) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (folderState == QLatin1String("foreign database")) {
            // Another program's file, under another key.
            SqlCipherEngine::create(file, QStringLiteral("outra-chave"))
                ->execute(QStringLiteral("create table cliente (id integer)"));
        }
        StartupObjects o = start(folder);
        QCOMPARE(terminationRequested(), !opt.withConfig);
        QCOMPARE(s.dialogs.count(), 1);
        const QString text = s.dialogs.lastText();
        const QString prefix = heading + QStringLiteral("\r\r") +
                               QString(expected)
                                   .replace(QLatin1String("%1"), QDir::cleanPath(folder.path()))
                                   .replace(QLatin1String("%2"), QDir::cleanPath(file));
        // The engine's own text follows the database's name.
        QVERIFY2(text.startsWith(prefix) && !text.trimmed().endsWith(QLatin1Char(':')), qPrintable(text));
        QVERIFY(o.login->isVisible());
        shutdown(o);
    }

    void unusableDatabaseRefusesEveryLogin_data() {
        QTest::addColumn<bool>("withDatabase");
        QTest::addColumn<QString>("release");
        QTest::newRow("missing file") << false << QString();
        QTest::newRow("other version") << true << "9.9.9.9";
    }
    void unusableDatabaseRefusesEveryLogin() {
        QFETCH(bool, withDatabase);
        QFETCH(QString, release);
        test::ScriptedServices s;
        test::AppFolder::Options opt;
        opt.withDatabase = withDatabase;
        test::AppFolder folder(opt);
        if (!release.isNull()) {
            auto c = Connection::open(folder.connectionString(), QStringLiteral("/"));
            c->execute(QStringLiteral("update configuracao set Sistema_Release = :r"),
                       {{"r", ParamType::String, release}});
        }
        StartupObjects o = start(folder);
        QVERIFY(!terminationRequested());
        QCOMPARE(s.dialogs.count(), withDatabase ? 0 : 1);
        if (!withDatabase) QVERIFY(s.dialogs.lastText().startsWith(QStringLiteral("Ocorreu um Erro\r\r")));
        QVERIFY(o.login->isVisible());
        s.dialogs.clearMessages();
        login(o, QStringLiteral("admin"), QStringLiteral("admin"));
        QCOMPARE(s.dialogs.texts(),
                 QStringList{QStringLiteral(
                     "A versão do Sistema é diferente da versão do Banco de Dados! Não é possível "
                     "acessar seu banco de dados com esta versão do sistema.")});
        QVERIFY(!dm().SQL_Usuario->isActive());
        shutdown(o);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
