#include "AccessFixture.h"
#include "core/VersionInfo.h"
#include <QLabel>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {
const QString kInvalid = QStringLiteral("Login ou senha inválida!");
const QString kVersion =
    QStringLiteral("A versão do Sistema é diferente da versão do Banco de Dados! Não é possível "
                   "acessar seu banco de dados com esta versão do sistema.");

TfrmLogin* modalLogin() {
    return qobject_cast<TfrmLogin*>(QApplication::activeModalWidget());
}

void type(TfrmLogin* login, const QString& user, const QString& password) {
    login->EditLogin->setText(user);
    login->EditSenha->setText(password);
    QTest::mouseClick(login->btnOK, Qt::LeftButton);
}

int permissionRows() {
    Dataset* p = dm().SQL_GrupoPermissao;
    return p->isActive() ? p->recordCount() : -1;
}
} // namespace

// The login dialog in both its uses: at start-up, and as "Logof" over the main window.
class TestLogin : public QObject {
    Q_OBJECT

private slots:
    // The login speaks the language of config.ini from its first show.
    void speaksTheConfiguredLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("pt_BR") << "pt_BR" << QStringList{"Usuário:", "Senha:", "Cancelar"};
        QTest::newRow("en") << "en" << QStringList{"User:", "Password:", "Cancel"};
        QTest::newRow("es") << "es" << QStringList{"Usuario:", "Contraseña:", "Cancelar"};
    }
    void speaksTheConfiguredLanguage() {
        QFETCH(QString, language);
        QFETCH(QStringList, texts);
        LoggedIn::Options opt;
        opt.login = false;
        opt.folder.language = language;
        LoggedIn app(opt);
        TfrmLogin* login = app.o.login;
        QVERIFY(login);
        QCOMPARE((QStringList{login->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                              login->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                              login->btnCancelar->text()}),
                 texts);
    }

    void everyFailureGetsTheSameMessage_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("sql");
        QTest::newRow("unknown login") << "fulano"
                                       << "admin" << QString();
        QTest::newRow("wrong password") << "admin"
                                        << "Admin" << QString();
        QTest::newRow("inactive user")
            << "admin"
            << "admin"
            << "update usuario set usuario_ativo = 'N' where usuario_login = 'admin'";
    }
    void everyFailureGetsTheSameMessage() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(QString, sql);
        LoggedIn::Options opt;
        opt.login = false;
        if (!sql.isEmpty()) opt.sqlBeforeStart << sql;
        LoggedIn app(opt);
        type(app.o.login, user, password);
        QCOMPARE(app.s.dialogs.texts(), QStringList{kInvalid});
        QCOMPARE(app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Information);
        QVERIFY(app.o.login->isVisible());
        QCOMPARE(app.o.login->EditLogin->text(), user); // kept for another attempt
        QCOMPARE(permissionRows(), 0);
        QVERIFY(session().userLogin().isEmpty());
    }

    void loginAndPasswordAreTakenAsTyped_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::newRow("login that reads like a date") << "01/02/2020"
                                                      << "segredo";
        QTest::newRow("login like a date and time") << "12/31/2024 00:00:00"
                                                    << "segredo";
        QTest::newRow("blanks around the password") << "rita"
                                                    << "  segredo ";
    }
    void loginAndPasswordAreTakenAsTyped() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        LoggedIn::Options opt;
        opt.login = false;
        opt.sqlBeforeStart << QStringLiteral(
                                  "insert into usuario (usuario_nome, usuario_login, usuario_senha, "
                                  "usuario_ativo, grupo_id) values ('Rita', '%1', '%2', 'S', 1)")
                                  .arg(user, Tdm::passwordHash(password));
        LoggedIn app(opt);
        if (password != password.trimmed()) {
            // The password is compared as typed: without its blanks it is another one.
            type(app.o.login, user, password.trimmed());
            QCOMPARE(app.s.dialogs.texts(), QStringList{kInvalid});
            app.s.dialogs.clearMessages();
        }
        QVERIFY(app.logIn(user, password));
        QCOMPARE(session().userLogin(), user);
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void passwordsAreStoredHashed() {
        LoggedIn app;
        auto c = app.db().query(QStringLiteral("select usuario_senha, usuario_confirma from usuario"));
        QVERIFY(c->next());
        auto text = [&c](int col) { return QString::fromUtf8(c->utf8(col).data(), c->utf8(col).size()); };
        const QString stored = text(0);
        QVERIFY2(stored.startsWith(QStringLiteral("$argon2id$")), qPrintable(stored));
        QVERIFY(!stored.contains(QStringLiteral("admin")));
        QVERIFY(!text(1).contains(QStringLiteral("admin")));
        // The session holds the user's row as the login query read it.
        QCOMPARE(dm().SQL_Usuario->fieldByName(QStringLiteral("usuario_senha"))->asString(), stored);
    }

    void changeOfUserWithAWrongPasswordLeavesNoPermissions() {
        LoggedIn app;
        const int rows = permissionRows();
        QVERIFY(rows > 0);
        int seenWhileRefused = -1;
        QString panelWhileRefused;
        bool stayedOpen = false;
        whenModal([&](QWidget*) {
            TfrmLogin* login = modalLogin();
            QVERIFY(login);
            QVERIFY(login->EditLogin->text().isEmpty()); // no pre-fill outside the developer's workstation
            type(login, QStringLiteral("admin"), QStringLiteral("errada"));
            stayedOpen = login->isVisible() && QApplication::activeModalWidget() == login;
            seenWhileRefused = permissionRows();
            panelWhileRefused = app.main()->loginPanel();
            type(login, QStringLiteral("admin"), QStringLiteral("admin"));
        });
        app.main()->Logof1->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(seenWhileRefused, 0);
        QCOMPARE(panelWhileRefused, QStringLiteral("Login: admin")); // the previous login still shows
        QCOMPARE(app.s.dialogs.texts(), QStringList{kInvalid});
        QVERIFY(!modalLogin());
        QCOMPARE(permissionRows(), rows);
        QVERIFY(app.main()->isVisible());
        QVERIFY(!terminationRequested());
    }

    void versionCheckComesFirstAndKeepsThePreviousUser() {
        LoggedIn app;
        const int rows = permissionRows();
        app.db().execute(QStringLiteral("update configuracao set Sistema_Release = '0.0.0.1'"));
        LoggedIn::reopen(dm().SQL_Configuracao);
        int seen = -1;
        whenModal([&](QWidget*) {
            TfrmLogin* login = modalLogin();
            type(login, QStringLiteral("admin"), QStringLiteral("admin"));
            seen = permissionRows();
            app.db().execute(QStringLiteral("update configuracao set Sistema_Release = '%1'")
                                 .arg(versionOfExecutable(QCoreApplication::applicationFilePath())));
            LoggedIn::reopen(dm().SQL_Configuracao);
            type(login, QStringLiteral("admin"), QStringLiteral("admin"));
        });
        app.main()->Logof1Click();
        QCOMPARE(seen, rows);
        QCOMPARE(app.s.dialogs.texts(), QStringList{kVersion});
        QCOMPARE(session().userLogin(), QStringLiteral("admin"));
    }

    void logofIsRefusedWhileAScreenIsOpen() {
        LoggedIn app;
        app.opener().open(QStringLiteral("frmPaciente"));
        app.main()->Arquivo1Click();
        QVERIFY(!app.main()->Logof1->isEnabled());
        app.main()->Logof1Click(); // even called directly, no login dialog comes up
        QVERIFY(!modalLogin());
    }

    void cancellingTheChangeOfUserEndsTheApplication() {
        LoggedIn app;
        bool asked = false;
        whenModal([&](QWidget*) {
            TfrmLogin* login = modalLogin();
            QVERIFY(login);
            QTest::keyClick(login, Qt::Key_Escape);
        });
        // As the running program: inside the message loop, which must end by itself.
        QTimer::singleShot(0, app.main(), [&] { app.main()->Logof1Click(); });
        QTimer::singleShot(8000, qApp, [&] {
            asked = true;
            QCoreApplication::exit(1);
        });
        QCOMPARE(runMessageLoop(*qApp), 0);
        QVERIFY(!asked);
        QVERIFY(terminationRequested());
        QCOMPARE(app.s.dialogs.count(), 0); // no exit question
        DV_VERIFY_SERVICES(app.s);
    }

    void developerWorkstationFillsTheAdministrator() {
        LoggedIn::Options opt;
        opt.developerWorkstation = true;
        opt.login = false;
        LoggedIn app(opt);
        QCOMPARE(app.o.login->EditLogin->text(), QStringLiteral("admin"));
        QTest::mouseClick(app.o.login->btnOK, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(app.main()->isVisible(), 3000);
        QCOMPARE(app.main()->loginPanel(), QStringLiteral("Login: admin"));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
