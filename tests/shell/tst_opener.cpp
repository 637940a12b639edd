#include "AccessFixture.h"
#include "core/db/DbErrors.h"
#include "shell/ScreenWindow.h"
#include <QMdiSubWindow>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {
const QString kRefused =
    QStringLiteral("Você não tem permissão para abrir o formulário: %1 (%2)! Verifique com o "
                   "Administrador do Sistema...");
const QString kUnknown = QStringLiteral("Formulário não existe ou não encontrado!");

QMdiSubWindow* windowOf(QWidget* screen) {
    return screen ? qobject_cast<QMdiSubWindow*>(screen->parentWidget()) : nullptr;
}
} // namespace

// The screen opener: reuse, permission check, list screens as child windows with their
// window-list entries, dialogs modal.
class TestOpener : public QObject {
    Q_OBJECT

private slots:
    void listScreenOpensMaximisedOnItsRows() {
        LoggedIn app;
        QVERIFY(app.main()->isVisible());
        QCOMPARE(app.opener().open(QStringLiteral("frmPaciente")), false);
        QWidget* screen = app.opener().openScreen(QStringLiteral("frmPaciente"));
        QVERIFY(screen);
        QVERIFY(windowOf(screen)->isMaximized());
        QCOMPARE(app.main()->mdiArea()->activeSubWindow(), windowOf(screen));
        // The screen was shown standing on its own permission row; the rows stay there.
        QCOMPARE(ScreenLog::get().permissionRows, QStringList{QStringLiteral("frmPaciente")});
        QCOMPARE(currentPermissionRow(), QStringLiteral("frmPaciente"));
        QCOMPARE(dm().SQL_Formulario->fieldByName(QStringLiteral("form_nome"))->asString(),
                 QStringLiteral("frmPaciente"));
        QCOMPARE(session().screenName(), QStringLiteral("frmPaciente"));
        QCOMPARE(app.windowList(), QStringList{QStringLiteral("Pacientes")});
        QAction* entry = app.opener().windowMenuEntry(screen);
        QVERIFY(entry);
        QCOMPARE(entry->statusTip(), QStringLiteral("frmPaciente"));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void openScreenIsBroughtToFront_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("dropPermission");
        QTest::newRow("same name") << "frmPaciente" << false;
        QTest::newRow("in capitals") << "FRMPACIENTE" << false;
        QTest::newRow("permission removed since") << "frmPaciente" << true;
    }
    void openScreenIsBroughtToFront() {
        QFETCH(QString, name);
        QFETCH(bool, dropPermission);
        LoggedIn app;
        app.opener().open(QStringLiteral("frmPaciente"));
        app.opener().open(QStringLiteral("frmDentista"));
        QWidget* pacientes = app.opener().openScreen(QStringLiteral("frmPaciente"));
        QVERIFY(app.main()->mdiArea()->activeSubWindow() != windowOf(pacientes));
        if (dropPermission) {
            app.db().execute(QStringLiteral("delete from grupo_permissao where form_nome = 'frmPaciente'"));
            LoggedIn::reopen(dm().SQL_GrupoPermissao);
        }
        QCOMPARE(app.opener().open(name), true);
        QCOMPARE(app.main()->mdiArea()->activeSubWindow(), windowOf(pacientes));
        QCOMPARE(app.opener().openScreens().size(), 2);
        QCOMPARE(ScreenLog::get().shown.count(QStringLiteral("frmPaciente")), 1);
        QCOMPARE(session().screenName(), QStringLiteral("frmDentista")); // unchanged
        QCOMPARE(app.windowList().size(), 2);
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void groupWithoutRowsIsRefusedEveryScreen() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral("delete from grupo_permissao where grupo_id = 1");
        LoggedIn app(opt);
        QVERIFY(app.main()->isVisible());
        QVERIFY(dm().SQL_GrupoPermissao->isActive());
        for (const ScreenEntry& e : app.opener().registry().entries()) {
            if (e.kind == ScreenKind::FixedDialog) continue;
            app.s.dialogs.clearMessages();
            QCOMPARE(app.opener().open(e.formName), false);
            QCOMPARE(app.s.dialogs.count(), 1);
            QCOMPARE(app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Warning);
            dm().SQL_Formulario->locate(QStringLiteral("form_nome"), e.formName);
            const QString description =
                dm().SQL_Formulario->fieldByName(QStringLiteral("form_descricao"))->asString().trimmed();
            QCOMPARE(app.s.dialogs.lastText(), kRefused.arg(description, e.formName));
            // A refused screen still becomes the current screen name.
            QCOMPARE(session().screenName(), e.formName);
        }
        QVERIFY(ScreenLog::get().shown.isEmpty());
        QCOMPARE(app.opener().openScreens().size(), 0);
        QVERIFY(app.main()->wallpaperShown());
    }

    void maintenanceScreenNeedsItsOwnRow() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral(
            "delete from grupo_permissao where form_nome = 'frmPaciente_Manut'");
        LoggedIn app(opt);
        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(app.opener().openScreen(QStringLiteral("frmPaciente")));
        QCOMPARE(app.opener().open(QStringLiteral("frmPaciente_Manut")), false);
        QCOMPARE(app.s.dialogs.texts(), QStringList{kRefused.arg(QStringLiteral("Cadastro de Paciente"),
                                                                 QStringLiteral("frmPaciente_Manut"))});
        QCOMPARE(session().screenName(), QStringLiteral("frmPaciente_Manut"));
        QCOMPARE(ScreenLog::get().shown, QStringList{QStringLiteral("frmPaciente")});
    }

    void rowWithEveryRightWithheldStillOpens() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral("update grupo_permissao set form_novo = 'N', form_editar = 'N', "
                                             "form_excluir = 'N', form_filtrar = 'N', "
                                             "form_imprimir = 'N', form_html = 'N', form_excel = 'N', "
                                             "form_outros = 'N' where form_nome = 'frmDente'");
        LoggedIn app(opt);
        app.opener().open(QStringLiteral("frmDente"));
        QVERIFY(app.opener().openScreen(QStringLiteral("frmDente")));
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void screenNotBuiltIsNotFound_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extraSql");
        QTest::newRow("no factory yet") << "frmEstoque" << QString();
        QTest::newRow("fixed dialog") << "frmAgenda_Paciente"
                                      << "insert into grupo_permissao (grupo_id, form_nome) values (1, "
                                         "'frmAgenda_Paciente')";
        QTest::newRow("not in the table") << "frmQualquer"
                                          << "insert into grupo_permissao (grupo_id, form_nome) values (1, "
                                             "'frmQualquer')";
    }
    void screenNotBuiltIsNotFound() {
        QFETCH(QString, name);
        QFETCH(QString, extraSql);
        LoggedIn::Options opt;
        opt.screens = fakeScreens({QStringLiteral("frmPaciente"), QStringLiteral("frmAgenda_Paciente")});
        if (!extraSql.isEmpty()) opt.sqlBeforeStart << extraSql;
        LoggedIn app(opt);
        app.opener().open(QStringLiteral("frmPaciente"));
        QCOMPARE(app.opener().open(name), false);
        QCOMPARE(app.s.dialogs.texts(), QStringList{kUnknown});
        QCOMPARE(app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Information);
        QCOMPARE(session().screenName(), QStringLiteral("frmPaciente"));
        QCOMPARE(app.opener().openScreens().size(), 1);
        QVERIFY(!QApplication::overrideCursor());
    }

    void dialogIsModalAndGoneWhenOpenReturns() {
        LoggedIn app;
        QPointer<QWidget> made;
        app.opener().registry().setFactory(QStringLiteral("frmConvenio_Manut"), [&made](QWidget* p) {
            auto* d =
                new FakeDialogScreen(p, QStringLiteral("frmConvenio_Manut"), QStringLiteral("Convênio"));
            made = d;
            return d;
        });
        QCOMPARE(app.opener().open(QStringLiteral("frmConvenio_Manut")), false);
        QVERIFY(made.isNull()); // closed and freed before open() returned
        QCOMPARE(ScreenLog::get().closed, QStringList{QStringLiteral("frmConvenio_Manut")});
        QVERIFY(ScreenLog::get().modalWhileShown);
        QCOMPARE(ScreenLog::get().permissionRows, QStringList{QStringLiteral("frmConvenio_Manut")});
        QCOMPARE(session().screenName(), QStringLiteral("frmConvenio_Manut"));
        QVERIFY(app.windowList().isEmpty());
        QVERIFY(app.main()->wallpaperShown());
        QVERIFY(!QApplication::overrideCursor());
    }

    void windowListFollowsOpenAndClosedScreens() {
        LoggedIn::Options opt;
        // Two registry rows with the same description: two entries of the same caption.
        opt.sqlBeforeStart << QStringLiteral("update Formulario set form_descricao = 'Cadastros' where "
                                             "form_nome in ('frmDentista', 'frmContato')");
        LoggedIn app(opt);
        for (const char* name : {"frmPaciente", "frmDentista", "frmContato"})
            app.opener().open(QLatin1String(name));
        QCOMPARE(app.windowList(), (QStringList{QStringLiteral("Pacientes"), QStringLiteral("Cadastros"),
                                                QStringLiteral("Cadastros")}));

        // A screen closing itself takes its window and its entry along, and only its own.
        QWidget* dentistas = app.opener().openScreen(QStringLiteral("frmDentista"));
        QPointer<QMdiSubWindow> window = windowOf(dentistas);
        QVERIFY(dentistas->close());
        QTRY_VERIFY(window.isNull());
        QCOMPARE(ScreenLog::get().closed, QStringList{QStringLiteral("frmDentista")});
        QCOMPARE(app.windowList(), (QStringList{QStringLiteral("Pacientes"), QStringLiteral("Cadastros")}));
        QWidget* contatos = app.opener().openScreen(QStringLiteral("frmContato"));
        QCOMPARE(app.opener().windowMenuEntry(contatos)->text(), QStringLiteral("Cadastros"));

        // The entry brings its screen to the front, and the screen learns of it.
        auto* pacientesWindow = qobject_cast<ScreenWindow*>(windowOf(app.opener().openScreen("frmPaciente")));
        QSignalSpy activated(pacientesWindow, &ScreenWindow::screenActivated);
        app.opener().windowMenuEntry(app.opener().openScreen(QStringLiteral("frmPaciente")))->trigger();
        QCOMPARE(activated.size(), 1);
        QCOMPARE(app.main()->mdiArea()->activeSubWindow(), windowOf(app.opener().openScreen("frmPaciente")));

        // A screen that refuses to close keeps its window and entry.
        static_cast<FakeListScreen*>(contatos)->refuseClose = true;
        QVERIFY(!windowOf(contatos)->close());
        QCOMPARE(app.windowList().size(), 2);
        static_cast<FakeListScreen*>(contatos)->refuseClose = false;

        QVERIFY(!app.main()->wallpaperShown());
        app.main()->FecharTodas1->trigger();
        QTRY_VERIFY(app.main()->mdiArea()->subWindowList().isEmpty());
        QVERIFY(app.windowList().isEmpty());
        QVERIFY(app.main()->wallpaperShown());
        QCOMPARE(ScreenLog::get().closed.size(), 3);
        // Opened again, a closed screen is created anew.
        app.opener().open(QStringLiteral("frmDentista"));
        QCOMPARE(ScreenLog::get().shown.count(QStringLiteral("frmDentista")), 2);
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void errorWhileCreatingLeavesNothingBehind() {
        LoggedIn app;
        app.opener().registry().setFactory(QStringLiteral("frmServico"), [](QWidget*) -> QWidget* {
            throw PlainError(QStringLiteral("falhou"));
        });
        QVERIFY_THROWS_EXCEPTION(PlainError, app.opener().open(QStringLiteral("frmServico")));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(app.opener().openScreens().isEmpty());
        QVERIFY(app.windowList().isEmpty());
        QVERIFY(app.main()->wallpaperShown());
    }

    void registryHoldsEveryScreen() {
        ScreenRegistry r;
        int lists = 0, dialogs = 0;
        for (const ScreenEntry& e : r.entries()) {
            QCOMPARE(e.className, QLatin1Char('T') + e.formName);
            QVERIFY(!e.factory);
            if (e.kind == ScreenKind::List) ++lists;
            if (e.kind == ScreenKind::Dialog) ++dialogs;
        }
        QCOMPARE(lists + dialogs, 34);
        QCOMPARE(lists, 14);
        QCOMPARE(r.find(QStringLiteral("frmAgenda_Consulta"))->kind, ScreenKind::Dialog);
        QCOMPARE(r.find(QStringLiteral("frmBackup"))->caption,
                 QStringLiteral("Backup do banco de Dados do Sistema"));
        QVERIFY(!r.find(QStringLiteral("FRMPACIENTE")));
        QVERIFY(!r.setFactory(QStringLiteral("frmInexistente"), [](QWidget*) { return nullptr; }));
        QVERIFY(!r.find(QStringLiteral("frmInexistente")));
    }
};

QTEST_MAIN(TestOpener)
#include "tst_opener.moc"
