#include "AccessFixture.h"
#include "core/LanguageFile.h"
#include "core/VersionInfo.h"
#include "shell/PrincipalWallpaper.h"
#include "shell/U_frmMenu.h"
#include "toolkit/AccessKeys.h"
#include <QFile>
#include <QImage>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

bool activate(QWidget* w) {
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// The keys of the main menu work while one of the application's windows is active.
// (The offscreen platform drops the activation when a child screen opens; a real
// X server keeps it.)
void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    if (QApplication::activeWindow() != w->window()) QVERIFY(activate(w->window()));
    QTest::keyClick(w, key, mods);
}
const Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;

} // namespace

// The main window: its parts, the wallpaper that gives way to open screens, the main
// menu with its keys, developer mode, the change of user, help and the exit.
class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void createdWithStatusPanelsTitleAndWallpaper() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        QVERIFY(m->isVisible());
        QVERIFY(m->isMaximized());
        QCOMPARE(m->windowTitle(), QStringLiteral("Dentrivale - Gerenciamento Odontológico"));
        auto panel = [m](int i) { return qobject_cast<QLabel*>(m->statusPanel(i)); };
        QCOMPARE(panel(0)->text(), QStringLiteral("Dentrivale"));
        QVERIFY(!panel(1)->pixmap().isNull());
        QCOMPARE(panel(2)->text(), QStringLiteral("16/03/2026")); // the scripted clock's day
        QCOMPARE(panel(5)->text(),
                 QStringLiteral("Release: ") + versionOfExecutable(QCoreApplication::applicationFilePath()));
        QCOMPARE(panel(6)->text(), QStringLiteral("Login: admin"));
        QVERIFY(m->statusPanel(3)->isAncestorOf(m->ProgressBar1));
        QVERIFY(m->statusPanel(4)->isAncestorOf(m->ProgressBar2));
        QCOMPARE(m->ProgressBar2->maximum(), 100);
        QCOMPARE(m->lbForm->text(), QStringLiteral("Menu Principal do Sistema"));
        QVERIFY(m->Image1->fileName().endsWith(QStringLiteral("skins/config.jpg")));
        QVERIFY(!m->Image1->picture().isNull());
        QVERIFY(m->wallpaperShown() && m->StatusBar1->isVisible());
        QVERIFY(!m->lbDesenv->isVisible());
        // The clock shows the time of the scripted clock each second.
        app.s.clock.set(QDateTime(QDate(2026, 3, 16), QTime(14, 5, 9)));
        QTRY_COMPARE_WITH_TIMEOUT(m->lbHora->text(), QStringLiteral("14:05:09"), 3000);
        // The day in the status bar stays the day the window was made.
        app.s.clock.set(QDateTime(QDate(2026, 3, 17), QTime(0, 0, 5)));
        QTRY_COMPARE_WITH_TIMEOUT(m->lbHora->text(), QStringLiteral("00:00:05"), 3000);
        QCOMPARE(panel(2)->text(), QStringLiteral("16/03/2026"));
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    // The main menu's entries answer to Alt+letter in every language: a key each, all
    // different, none taken from the buttons in view.
    void mainMenuHasDistinctAccessKeysInEveryLanguage() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        for (const char* code : {"pt_BR", "en", "es"}) {
            const QString language = QString::fromLatin1(code);
            if (language != QLatin1String("pt_BR"))
                QVERIFY(LanguageFile::apply(m,
                                            LanguageFile::path(QStringLiteral(DV_APP_DIR "/"), language,
                                                               QStringLiteral("frmPrincipal")),
                                            QStringLiteral("frmPrincipal")));
            giveAccessKeys(m->menuBar());
            QSet<QChar> keys;
            for (QAction* entry : m->menuBar()->actions()) {
                const QChar key = accessKeyOf(entry->text());
                QVERIFY2(!key.isNull(), qPrintable(language + QLatin1Char(' ') + entry->text()));
                QVERIFY2(!keys.contains(key), qPrintable(language + QLatin1Char(' ') + entry->text()));
                keys.insert(key);
            }
            QCOMPARE(keys.size(), 3);
        }
        QCOMPARE(m->Ajuda1->title(), QStringLiteral("A&yuda"));
    }

    void tabButtonsOpenTheirScreens_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("formName");
        QTest::newRow("Pacientes") << 0 << "btnPacientes"
                                   << "frmPaciente";
        QTest::newRow("Agenda") << 0 << "btnAgenda"
                                << "frmAgenda_Consulta";
        QTest::newRow("Consultas") << 0 << "btnConsultas"
                                   << "frmConsulta";
        QTest::newRow("Serviços") << 0 << "btnServicos"
                                  << "frmServico";
        QTest::newRow("Dentistas") << 0 << "btnDentistas"
                                   << "frmDentista";
        QTest::newRow("Contatos") << 0 << "btnContatos"
                                  << "frmContato";
        QTest::newRow("Cont. Receber") << 1 << "btnContasReceber"
                                       << "frmSelecaoContasReceber";
        QTest::newRow("Cont. Pagar") << 1 << "btnContasPagar"
                                     << "frmContasPagar";
        QTest::newRow("Grupos") << 2 << "btnGrupos"
                                << "frmGrupo";
    }
    void tabButtonsOpenTheirScreens() {
        QFETCH(int, tab);
        QFETCH(QString, button);
        QFETCH(QString, formName);
        LoggedIn app;
        app.main()->PageControl1->setCurrentIndex(tab);
        auto* b = app.main()->findChild<QToolButton*>(button);
        QVERIFY(b && b->isVisible());
        QVERIFY(!b->icon().isNull());
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(ScreenLog::get().shown, QStringList{formName});
        QCOMPARE(session().screenName(), formName);
    }

    void wallpaperAndStatusBarGiveWayToScreens() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        m->Arquivo1Click();
        QVERIFY(m->Logof1->isEnabled());
        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(!m->wallpaperShown());
        QVERIFY(!m->StatusBar1->isVisible() && !m->pnlFundo->isVisible());
        QVERIFY(!m->Logof1->isEnabled());
        app.opener().open(QStringLiteral("frmDentista"));
        app.opener().openScreen(QStringLiteral("frmPaciente"))->close();
        QTRY_COMPARE(m->childScreenCount(), 1);
        m->Arquivo1Click();
        QVERIFY(!m->StatusBar1->isVisible());
        QVERIFY(!m->Logof1->isEnabled());
        m->FecharTodas1->trigger();
        QVERIFY(m->wallpaperShown());
        QVERIFY(m->StatusBar1->isVisible());
        m->Arquivo1Click();
        QVERIFY(m->Logof1->isEnabled());
        // A dialog is no child screen: the wallpaper stays.
        app.opener().open(QStringLiteral("frmPaciente_Manut"));
        QVERIFY(m->wallpaperShown());
    }

    void activationKeepsTheActiveScreensCaptionInTheHeader() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        QEvent activate(QEvent::WindowActivate);
        app.opener().open(QStringLiteral("frmPaciente"));
        QApplication::sendEvent(m, &activate); // as when a dialog over the list closes
        QCOMPARE(m->lbForm->text(), app.opener().openScreen(QStringLiteral("frmPaciente"))->windowTitle());
        m->FecharTodas1->trigger();
        QTRY_COMPARE(m->childScreenCount(), 0);
        QApplication::sendEvent(m, &activate);
        QCOMPARE(m->lbForm->text(), QStringLiteral("Menu Principal do Sistema"));
    }

    void missingPicturesAreReportedAndTheWindowStillWorks_data() {
        QTest::addColumn<bool>("removeBanner");
        QTest::addColumn<QString>("fundo");
        QTest::addColumn<int>("messages");
        QTest::newRow("banner missing") << true << QString() << 1;
        QTest::newRow("background missing") << false << "/nao/existe/fundo.jpg" << 1;
        QTest::newRow("not a picture") << false << "config.ini" << 1;
        QTest::newRow("background of the preference") << false << "fundo.png" << 0;
    }
    void missingPicturesAreReportedAndTheWindowStillWorks() {
        QFETCH(bool, removeBanner);
        QFETCH(QString, fundo);
        QFETCH(int, messages);
        QTemporaryDir pictures;
        QString path = fundo;
        if (fundo == QLatin1String("fundo.png")) {
            path = pictures.filePath(fundo);
            QImage img(64, 48, QImage::Format_RGB32);
            img.fill(Qt::darkCyan);
            QVERIFY(img.save(path));
        } else if (fundo == QLatin1String("config.ini")) {
            path = pictures.filePath(QStringLiteral("config.jpg"));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[App]\r\n");
        }
        LoggedIn::Options opt;
        opt.login = false;
        // Blanks around the preference's file name do not count.
        if (!path.isEmpty())
            opt.sqlBeforeStart << QStringLiteral("update Preferencia set pref_fundo = '  %1 '").arg(path);
        if (removeBanner)
            opt.prepareFolder = [](const AppFolder& f) {
                QFile::remove(f.path() + QStringLiteral("skins/config.jpg"));
            };
        LoggedIn app(opt);
        QCOMPARE(app.s.dialogs.count(), messages);
        if (messages) {
            QCOMPARE(app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Error);
            QVERIFY(app.s.dialogs.lastText().startsWith(
                QStringLiteral("Ocorreu um Erro\r\rNão foi possível abrir")));
        } else {
            QCOMPARE(app.main()->Image1->fileName(), path);
        }
        // The rest of the window's making went on: maximised, and the wallpaper still
        // gives way to screens.
        QVERIFY(app.logIn(QStringLiteral("admin"), QStringLiteral("admin")));
        QVERIFY(app.main()->isMaximized());
        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(!app.main()->wallpaperShown());
    }

    void developerKeysFollowTheMode() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        QVERIFY(activate(m));
        QTemporaryDir dir;
        // Outside developer mode Ctrl+Alt+M, I and G do nothing at all.
        for (Qt::Key key : {Qt::Key_M, Qt::Key_I, Qt::Key_G})
            press(m, key, kCtrlAlt);
        QVERIFY(ScreenLog::get().shown.isEmpty());
        QCOMPARE(app.s.dialogs.count(), 0);
        QVERIFY(app.s.fileDialogs.requests().isEmpty());
        // Ctrl+Alt+D opens the teeth in any mode.
        press(m, Qt::Key_D, kCtrlAlt);
        QCOMPARE(ScreenLog::get().shown, QStringList{QStringLiteral("frmDente")});

        press(m, Qt::Key_A, kCtrlAlt);
        QVERIFY(session().developerMode());
        QVERIFY(m->lbDesenv->isVisibleTo(m->pnlFundo));
        press(m, Qt::Key_M, kCtrlAlt);
        press(m, Qt::Key_I, kCtrlAlt);
        QCOMPARE(ScreenLog::get().shown, (QStringList{QStringLiteral("frmDente"), QStringLiteral("frmModulo"),
                                                      QStringLiteral("frmIcone")}));
        // The capture writes the language file of the active screen.
        const QString file = dir.filePath(QStringLiteral("frmIcone.lpu"));
        app.s.fileDialogs.queueSave(file);
        press(m, Qt::Key_G, kCtrlAlt);
        QCOMPARE(app.s.fileDialogs.requests().size(), 1);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("[frmIcone]\nfrmIcone.Caption=Icones"));

        press(m, Qt::Key_A, kCtrlAlt);
        QVERIFY(!session().developerMode());
        QVERIFY(!m->lbDesenv->isVisibleTo(m->pnlFundo));
        press(m, Qt::Key_M, kCtrlAlt);
        QCOMPARE(ScreenLog::get().shown.size(), 3);
        DV_VERIFY_SERVICES(app.s);
    }

    void developerKeyWorksOnlyForTheAdministratorGroup() {
        // Developer mode lifts the administrator group's protection: a user of another
        // group may not switch it on, on any workstation.
        LoggedIn::Options opt;
        opt.sqlBeforeStart = {
            QStringLiteral(
                "insert into grupo (grupo_id, grupo_nome, grupo_ativo) values (2, 'Recepção', 'S')"),
            QStringLiteral("insert into usuario (usuario_nome, usuario_login, usuario_senha, usuario_ativo, "
                           "grupo_id) values ('Rita', 'rita', '%1', 'S', 2)")
                .arg(Tdm::passwordHash(QStringLiteral("recep")))};
        opt.login = false;
        LoggedIn app(opt);
        QVERIFY(app.logIn(QStringLiteral("rita"), QStringLiteral("recep")));
        TfrmPrincipal* m = app.main();
        QVERIFY(activate(m));
        press(m, Qt::Key_A, kCtrlAlt);
        QVERIFY(!session().developerMode());
        QVERIFY(!m->lbDesenv->isVisibleTo(m->pnlFundo));
        press(m, Qt::Key_I, kCtrlAlt);
        QVERIFY(ScreenLog::get().shown.isEmpty());
    }

    void developerWorkstationStartsInDeveloperMode() {
        LoggedIn::Options opt;
        opt.developerWorkstation = true;
        LoggedIn app(opt);
        QVERIFY(session().developerMode());
        QVERIFY(app.main()->lbDesenv->isVisible());
    }

    void f8BringsBackTheSameMenuWindow() {
        LoggedIn app;
        TfrmPrincipal* m = app.main();
        QVERIFY(activate(m));
        QVERIFY(!m->menuWindow());
        press(m, Qt::Key_F8);
        QPointer<TfrmMenu> first = m->menuWindow();
        QVERIFY(first && first->isVisible());
        QVERIFY(activate(m));
        press(m, Qt::Key_F8);
        QCOMPARE(m->menuWindow(), first.data());
        QCOMPARE(m->findChildren<TfrmMenu*>().size(), 1);
        first->close();
        QTRY_VERIFY(first.isNull());
        QVERIFY(!m->menuWindow());
        QTest::mouseClick(m->btnMenu, Qt::LeftButton);
        QVERIFY(m->menuWindow() && m->menuWindow()->isVisible());
    }

    void helpAndWebPageGoToTheShell() {
        LoggedIn app;
        QVERIFY(activate(app.main()));
        press(app.main(), Qt::Key_F1);
        app.main()->VisiteNossoSite1->trigger();
        QCOMPARE(app.s.shell.opened(), (QStringList{app.folder.path() + QStringLiteral("help/index.html"),
                                                    QStringLiteral("https://www.dentrivale.com.br")}));
        QVERIFY(QFile::exists(app.s.shell.opened().first()));
    }

    void agendaSearchIsShownWithoutThePermissionCheck() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral("delete from grupo_permissao where grupo_id = 1");
        LoggedIn app(opt);
        QTest::mouseClick(app.main()->btnPesquisaAgenda, Qt::LeftButton);
        QCOMPARE(ScreenLog::get().shown, QStringList{QStringLiteral("frmAgenda_Paciente")});
        QVERIFY(ScreenLog::get().modalWhileShown);
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void exitQuestionNoKeepsOpenScreens() {
        LoggedIn app;
        app.opener().open(QStringLiteral("frmPaciente"));
        app.s.dialogs.queueConfirmation(false);
        QVERIFY(!app.main()->close());
        QCOMPARE(app.main()->childScreenCount(), 1);
        QVERIFY(ScreenLog::get().closed.isEmpty());
        app.s.dialogs.queueConfirmation(true);
        QTest::mouseClick(app.main()->btnSair, Qt::LeftButton);
        QVERIFY(!app.main()->isVisible());
        QCOMPARE(ScreenLog::get().closed, QStringList{QStringLiteral("frmPaciente")});
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Confirmation),
                 QStringList(2, QStringLiteral("Deseja realmente sair do sistema?")));
        DV_VERIFY_SERVICES(app.s);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
