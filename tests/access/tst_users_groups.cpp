#include "AccessScreensFixture.h"
#include "access/U_frmGrupo.h"
#include "access/U_frmGrupo_Manut.h"
#include "access/U_frmUsuario.h"
#include "access/U_frmUsuario_Manut.h"
#include "core/FieldUtils.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

const QString kNotConfirmed = QStringLiteral("Senha não confirmada...");
const QString kAdminGroup = QStringLiteral("O Grupo Administrador não pode ser modificado nem excluído!");
const QString kNextLogin =
    QStringLiteral("As alterações só serão ativadas depois que você logar no sistema novamente!");
const char* const kFlagFields[] = {"form_novo",     "form_editar", "form_excluir", "form_filtrar",
                                   "form_imprimir", "form_html",   "form_excel",   "form_outros"};

// A second, active group without permissions, for the editor's moves.
const QString kReception = QStringLiteral("insert into grupo (grupo_id, grupo_nome, grupo_ativo) "
                                          "values (2, 'Recepção', 'S')");

// The screens the editor offers: active, of neither kind "P" nor "S".
// The program's application with the access screens, put back for each case (`sql`
// run on its data).
LoggedIn& accessApp(const QStringList& sql = {}) {
    return sharedApp(
        QStringLiteral("access"), [] { return accessOptions(); }, sql);
}

QStringList eligibleScreens(LoggedIn& app) {
    return column(app, QStringLiteral("select form_nome from Formulario where form_tipo <> 'P' and "
                                      "form_tipo <> 'S' and form_ativo = 'S' order by form_nome"));
}

QString flagsOf(LoggedIn& app, int group, const QString& form) {
    QStringList cols;
    for (const char* f : kFlagFields)
        cols << QStringLiteral("coalesce(%1, '-')").arg(QLatin1String(f));
    return scalar(app,
                  QStringLiteral("select %1 from grupo_permissao where grupo_id = %2 and form_nome = '%3'")
                      .arg(cols.join(QStringLiteral(" || ")))
                      .arg(group)
                      .arg(form))
        .toString();
}

// Opens the group list on a group and runs `work` in its maintenance screen.
bool editGroup(LoggedIn& app, int group, const std::function<void(TfrmGrupo_Manut*)>& work) {
    auto* list = openList<TfrmGrupo>(app, QStringLiteral("frmGrupo"));
    if (!list || !list->SQL_Consulta->locate(QStringLiteral("grupo_id"), group)) return false;
    return inModal<TfrmGrupo_Manut>([list] { list->btnEditarClick(); }, work);
}

bool editUser(LoggedIn& app, const QString& login, const std::function<void(TfrmUsuario_Manut*)>& work) {
    auto* list = openList<TfrmUsuario>(app, QStringLiteral("frmUsuario"));
    if (!list || !list->SQL_Consulta->locate(QStringLiteral("usuario_login"), login)) return false;
    return inModal<TfrmUsuario_Manut>([list] { list->btnEditarClick(); }, work);
}

bool selectScreen(Dataset* list, const QString& form) {
    return list->locate(QStringLiteral("form_nome"), form);
}

} // namespace

// Users with their hashed passwords and preferences; groups and the permission editor.
class TestUsersGroups : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    // ---- users ----

    void newUserIsSavedThenGetsPreferences() {
        LoggedIn& app = accessApp();
        auto* list = openList<TfrmUsuario>(app, QStringLiteral("frmUsuario"));
        QVERIFY(list);
        app.s.dialogs.queueConfirmation(true); // the user
        app.s.dialogs.queueConfirmation(true); // the preferences
        app.s.fileDialogs.queueOpen(QStringLiteral("/fotos/consultório.jpg"));
        bool startsActive = false, prefHiddenWhileNew = false, prefShownAfterSave = false;
        dv::DatasetState prefState = dv::DatasetState::Inactive;
        QString fundo;
        QVERIFY(inModal<TfrmUsuario_Manut>(
            [list] { list->btnNovoClick(); },
            [&](TfrmUsuario_Manut* m) {
                startsActive = m->DBCheckBox1->isChecked();
                prefHiddenWhileNew = !m->PageControl1->isTabVisible(m->PageControl1->indexOf(m->TabSheet2));
                type(m->DBEdit2, QStringLiteral("maria da silva"));
                type(m->DBEdit3, QStringLiteral("maria.souza"));
                type(m->edtSenha, QStringLiteral("segredo"));
                type(m->edtConfirma, QStringLiteral("segredo"));
                m->DBLookupComboBox1->setKeyValue(1);
                type(m->DBEdit5, QStringLiteral("maria@clinica.com.br"));
                click(m->BitBtn1);
                prefShownAfterSave = m->PageControl1->isTabVisible(m->PageControl1->indexOf(m->TabSheet2)) &&
                                     m->PageControl1->currentWidget() == m->TabSheet2;
                prefState = m->SQL_Preferencia->state();
                click(m->btnProcurar);
                fundo = m->DBEdit7->text();
                click(m->BitBtn1);
            }));
        QVERIFY(startsActive);
        QVERIFY(prefHiddenWhileNew);
        QVERIFY(prefShownAfterSave);
        QCOMPARE(prefState, dv::DatasetState::Insert);
        QCOMPARE(fundo, QStringLiteral("/fotos/consultório.jpg"));
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Information), QStringList());
        DV_VERIFY_SERVICES(app.s);

        const QString id = scalar(app, QStringLiteral("select usuario_id from usuario where usuario_nome "
                                                      "like 'maria%'"))
                               .toString();
        QVERIFY(!id.isEmpty());
        auto value = [&](const char* column) {
            return scalar(app, QStringLiteral("select %1 from usuario where usuario_id = %2")
                                   .arg(QLatin1String(column), id));
        };
        // Names, login and e-mail are capitalized on exit; the password stays as typed.
        QCOMPARE(value("usuario_nome").toString(), capitalizeName(QStringLiteral("maria da silva")));
        QCOMPARE(value("usuario_login").toString(), capitalizeName(QStringLiteral("maria.souza")));
        QVERIFY(value("usuario_login").toString() != QStringLiteral("maria.souza"));
        QCOMPARE(value("usuario_email").toString(), capitalizeName(QStringLiteral("maria@clinica.com.br")));
        QCOMPARE(value("usuario_ativo").toString(), QStringLiteral("S"));
        QCOMPARE(value("grupo_id").toString(), QStringLiteral("1"));
        QVERIFY(value("usuario_senha").toString().startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(!value("usuario_confirma").isValid()); // no copy of the password
        QVERIFY(dm().storedPasswordFor(QStringLiteral("maria.souza"), QStringLiteral("segredo")).isValid());
        QVERIFY(!dm().storedPasswordFor(QStringLiteral("maria.souza"), QStringLiteral("Segredo")).isValid());
        // Its preference row belongs to it.
        QCOMPARE(scalar(app, QStringLiteral("select pref_fundo from Preferencia where usuario_id = ") + id),
                 QVariant(QStringLiteral("/fotos/consultório.jpg")));

        // The new user logs in with the password typed in lower case.
        list->close();
        whenModal([&](QWidget* w) {
            auto* login = qobject_cast<TfrmLogin*>(w);
            QVERIFY(login);
            login->EditLogin->setText(QStringLiteral("maria.souza"));
            login->EditSenha->setText(QStringLiteral("segredo"));
            login->btnOKClick();
        });
        app.main()->Logof1->trigger();
        QCOMPARE(session().userLogin().toLower(), QStringLiteral("maria.souza"));
    }

    void passwordOnSave_data() {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<bool>("refused");
        QTest::addColumn<QString>("loginPassword"); // the password that logs in afterwards
        QTest::newRow("different") << "nova"
                                   << "Nova" << true << "admin";
        QTest::newRow("blanks are part of the password") << " nova  "
                                                         << " nova  " << false << " nova  ";
        QTest::newRow("blanks must be confirmed too") << " nova  "
                                                      << "nova" << true << "admin";
        QTest::newRow("empty keeps the stored hash") << ""
                                                     << "" << false << "admin";
        QTest::newRow("confirmation only") << ""
                                           << "nova" << true << "admin";
    }
    void passwordOnSave() {
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(bool, refused);
        QFETCH(QString, loginPassword);
        LoggedIn& app = accessApp();
        const QVariant hashBefore =
            scalar(app, QStringLiteral("select usuario_senha from usuario where usuario_id = 1"));
        if (!refused) app.s.dialogs.queueConfirmation(true);
        dv::DatasetState stateAfter = dv::DatasetState::Inactive;
        bool onDados = false, focusInSenha = false;
        QVERIFY(editUser(app, QStringLiteral("admin"), [&](TfrmUsuario_Manut* m) {
            type(m->DBEdit2, QStringLiteral("Administrador do Sistema"));
            type(m->edtSenha, password);
            type(m->edtConfirma, confirmation);
            m->PageControl1->setCurrentWidget(m->TabSheet2);
            click(m->BitBtn1);
            stateAfter = m->editedDataset()->state();
            onDados = m->PageControl1->currentWidget() == m->TabSheet1;
            focusInSenha = m->focusWidget() == m->edtSenha;
            // Refused, the typing is still pending: closing asks, and No gives it up.
            if (refused) app.s.dialogs.queueQuestion(dv::DialogService::Answer::No);
        }));
        DV_VERIFY_SERVICES(app.s);
        const QVariant hashAfter =
            scalar(app, QStringLiteral("select usuario_senha from usuario where usuario_id = 1"));
        if (refused) {
            QCOMPARE(app.s.dialogs.texts(),
                     (QStringList{kNotConfirmed,
                                  QStringLiteral("Existem alterações não salvas. Deseja salvá-las?")}));
            QCOMPARE(stateAfter, dv::DatasetState::Edit);
            QVERIFY(onDados);
            QVERIFY(focusInSenha);
            QCOMPARE(scalar(app, QStringLiteral("select usuario_nome from usuario where usuario_id = 1")),
                     QVariant(QStringLiteral("Administrador")));
        } else {
            QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Information), QStringList());
            QCOMPARE(stateAfter, dv::DatasetState::Browse);
        }
        QCOMPARE(hashAfter == hashBefore, password.isEmpty() || refused);
        QVERIFY(dm().storedPasswordFor(QStringLiteral("admin"), loginPassword).isValid());
        QVERIFY(!scalar(app, QStringLiteral("select usuario_confirma from usuario where usuario_id = 1"))
                     .toString()
                     .contains(QStringLiteral("nova")));
    }

    void padraoRestoresTheDefaults() {
        LoggedIn app(accessOptions({QStringLiteral("update Preferencia set skin = 'SKIN0045.SKN', "
                                                   "pref_fundo = '/x/fundo.jpg', pref_gride = 255")}));
        QCOMPARE(dm().SQL_Preferencia->fieldByName(QStringLiteral("pref_gride"))->asInteger(), 255);
        app.s.dialogs.queueConfirmation(true); // the user row
        app.s.dialogs.queueConfirmation(true); // the preferences
        QString skinShown;
        QVERIFY(editUser(app, QStringLiteral("admin"), [&](TfrmUsuario_Manut* m) {
            QCOMPARE(m->DBLookupComboBox2->text(), QStringLiteral("SKIN0045.SKN"));
            click(m->BitBtn1); // the user row, then the preference row is in edit
            click(m->btnPadrao);
            skinShown = m->DBLookupComboBox2->text();
            click(m->BitBtn1);
        }));
        DV_VERIFY_SERVICES(app.s);
        QCOMPARE(skinShown, QStringLiteral("SKIN0081.SKN"));
        QCOMPARE(
            column(app, QStringLiteral("select skin || '|' || coalesce(pref_fundo, '') || '|' || pref_gride "
                                       "from Preferencia where usuario_id = 1")),
            QStringList{QStringLiteral("SKIN0081.SKN||16053492")});
        // The shared preferences were read again when the screen closed.
        QCOMPARE(dm().SQL_Preferencia->fieldByName(QStringLiteral("pref_gride"))->asInteger(), 16053492);
    }

    void userOfAnInactiveGroupShowsNoGroup() {
        LoggedIn& app = accessApp(
            {kReception,
             QStringLiteral(
                 "insert into grupo (grupo_id, grupo_nome, grupo_ativo) values (3, 'Antigo', 'N')"),
             QStringLiteral("insert into usuario (usuario_nome, usuario_login, usuario_ativo, grupo_id) "
                            "values ('Bruna', 'bruna', 'S', 2), ('Carla', 'carla', 'S', 3)")});
        auto* list = openList<TfrmUsuario>(app, QStringLiteral("frmUsuario"));
        QVERIFY(list);
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("usuario_login")),
                 (QStringList{"admin", "bruna", "carla"}));
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("lk_grupo"), true),
                 (QStringList{"Administradores", "Recepção", ""}));
        QVERIFY(list->wwDBGrid1->isFieldShown(QStringLiteral("lk_grupo")));
        QVERIFY(!list->wwDBGrid1->isFieldShown(QStringLiteral("usuario_senha")));
    }

    void userListKeepsItsLayoutInTheIniFile() {
        LoggedIn& app = accessApp();
        for (const char* form : {"frmUsuario", "frmGrupo"}) {
            QVERIFY(openList<TfrmModelo4>(app, QLatin1String(form)));
            app.opener().openScreen(QLatin1String(form))->close();
        }
        QTRY_VERIFY(app.main()->mdiArea()->subWindowList().isEmpty());
        const QString ini = session().executableFolder() + QStringLiteral("Dentrivale.ini");
        auto stored = [&](SettingsHive hive, const char* form) {
            return app.s.settings.readSection(hive, ini, QLatin1String(form) + QStringLiteral("wwDBGrid1"));
        };
        QVERIFY(!stored(SettingsHive::File, "frmUsuario").isEmpty());
        QVERIFY(stored(SettingsHive::User, "frmUsuario").isEmpty());
        QVERIFY(!stored(SettingsHive::User, "frmGrupo").isEmpty());
        QCOMPARE(stored(SettingsHive::File, "frmUsuario").first().first, QStringLiteral("usuario_id"));
    }

    // ---- groups and permissions ----

    void moveOneScreen_data() {
        QTest::addColumn<QList<int>>("ticked"); // left check boxes, 0 = Novo ... 7 = Outros
        QTest::addColumn<QString>("flags");     // in the order of kFlagFields
        QTest::newRow("Novo and Excluir") << QList<int>{0, 2} << "SNSNNNNN";
        QTest::newRow("none") << QList<int>{} << "NNNNNNNN";
        QTest::newRow("Filtrar, Imprimir, Outros") << QList<int>{3, 4, 7} << "NNNSSNNS";
    }
    void moveOneScreen() {
        QFETCH(QList<int>, ticked);
        QFETCH(QString, flags);
        LoggedIn& app = accessApp({kReception});
        QStringList availableAfter, grantedAfter, availableAfterRemove;
        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            QVERIFY(m->pnPermissao->isEnabled());
            const QList<QCheckBox*> left{m->CheckBox1, m->CheckBox2, m->CheckBox3, m->CheckBox4,
                                         m->CheckBox5, m->CheckBox6, m->CheckBox7, m->CheckBox8};
            for (int i : ticked)
                click(left[i]);
            QVERIFY(selectScreen(m->SQL_Formulario, QStringLiteral("frmPaciente")));
            click(m->SpeedButton1);
            availableAfter = fieldValues(m->SQL_Formulario, QStringLiteral("form_nome"));
            grantedAfter = fieldValues(m->SQL_Permissao, QStringLiteral("form_nome"));
            // The right-hand boxes show the new row's flags.
            QCOMPARE(m->DBCheckBox2->isChecked(), flags[0] == QLatin1Char('S'));
            QCOMPARE(m->DBCheckBox4->isChecked(), flags[2] == QLatin1Char('S'));
            click(m->SpeedButton2);
            availableAfterRemove = fieldValues(m->SQL_Formulario, QStringLiteral("form_nome"));
            QVERIFY(selectScreen(m->SQL_Formulario, QStringLiteral("frmPaciente")));
            click(m->SpeedButton1);
        }));
        QVERIFY(!availableAfter.contains(QStringLiteral("frmPaciente")));
        QCOMPARE(grantedAfter, QStringList{QStringLiteral("frmPaciente")});
        QVERIFY(availableAfterRemove.contains(QStringLiteral("frmPaciente")));
        // Written at once: the group row itself was never saved.
        QCOMPARE(column(app, QStringLiteral("select form_nome from grupo_permissao where grupo_id = 2")),
                 QStringList{QStringLiteral("frmPaciente")});
        QCOMPARE(flagsOf(app, 2, QStringLiteral("frmPaciente")), flags);
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void allScreensReplaceThenRemoveAll() {
        LoggedIn& app = accessApp(
            {kReception,
             QStringLiteral("insert into grupo_permissao (grupo_id, form_nome, form_novo, form_editar, "
                            "form_excluir, form_filtrar, form_imprimir, form_html, form_excel, form_outros) "
                            "values (2, 'frmPaciente', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S'), "
                            "(2, 'frmModulo', 'S', 'S', 'S', 'S', 'S', 'S', 'S', 'S')")});
        const QStringList eligible = eligibleScreens(app);
        QVERIFY(eligible.size() > 10);
        int availableAfterAll = -1;
        QStringList grantedAfterAll, availableAfterNone;
        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            click(m->CheckBox5); // Imprimir
            click(m->SpeedButton3);
            availableAfterAll = m->SQL_Formulario->recordCount();
            grantedAfterAll = fieldValues(m->SQL_Permissao, QStringLiteral("form_nome"));
        }));
        QCOMPARE(availableAfterAll, 0);
        QCOMPARE(grantedAfterAll, eligible);
        // Replaced, not kept: the old rows are gone or carry the new flags.
        QCOMPARE(column(app, QStringLiteral("select form_nome from grupo_permissao where grupo_id = 2 "
                                            "order by form_nome")),
                 eligible);
        QCOMPARE(column(app, QStringLiteral("select distinct form_novo || form_editar || form_excluir || "
                                            "form_filtrar || form_imprimir || form_html || form_excel || "
                                            "form_outros from grupo_permissao where grupo_id = 2")),
                 QStringList{QStringLiteral("NNNNSNNN")});

        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            click(m->SpeedButton4);
            QCOMPARE(m->SQL_Permissao->recordCount(), 0);
            availableAfterNone = fieldValues(m->SQL_Formulario, QStringLiteral("form_nome"));
        }));
        QCOMPARE(availableAfterNone, eligible);
        QCOMPARE(scalar(app, QStringLiteral("select count(*) from grupo_permissao where grupo_id = 2")),
                 QVariant(QStringLiteral("0")));
        // Other groups are untouched.
        QCOMPARE(scalar(app, QStringLiteral("select count(*) from grupo_permissao where grupo_id = 1")),
                 scalar(app, QStringLiteral("select count(*) from Formulario")));
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void allScreensIsAllOrNothing() {
        // One screen cannot be granted: nothing of the move stays, the old rows included.
        LoggedIn& app = accessApp(
            {kReception,
             QStringLiteral("insert into grupo_permissao (grupo_id, form_nome, form_novo) "
                            "values (2, 'frmPaciente', 'S')"),
             QStringLiteral("create trigger no_servico before insert on grupo_permissao "
                            "when new.form_nome = 'frmServico' begin select raise(abort, 'recusado'); end")});
        QStringList grantedAfter;
        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            click(m->CheckBox1);
            click(m->SpeedButton3);
            grantedAfter = fieldValues(m->SQL_Permissao, QStringLiteral("form_nome"));
            QCOMPARE(m->SQL_Permissao->state(), dv::DatasetState::Browse);
        }));
        QCOMPARE(app.s.dialogs.count(), 1);
        QCOMPARE(app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Error);
        QCOMPARE(grantedAfter, QStringList{QStringLiteral("frmPaciente")});
        QCOMPARE(column(app, QStringLiteral(
                                 "select form_nome || form_novo from grupo_permissao where grupo_id = 2")),
                 QStringList{QStringLiteral("frmPacienteS")});
    }

    void onlyActiveScreensOfOtherKindsAreOffered_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("active");
        QTest::addColumn<bool>("offered");
        QTest::newRow("list, active") << "L"
                                      << "S" << true;
        QTest::newRow("kind P") << "P"
                                << "S" << false;
        QTest::newRow("kind S") << "S"
                                << "S" << false;
        QTest::newRow("kind p in lower case") << "p"
                                              << "S" << false;
        QTest::newRow("inactive") << "L"
                                  << "N" << false;
    }
    void onlyActiveScreensOfOtherKindsAreOffered() {
        QFETCH(QString, kind);
        QFETCH(QString, active);
        QFETCH(bool, offered);
        LoggedIn& app = accessApp(
            {kReception,
             QStringLiteral("insert into Formulario (form_nome, form_descricao, form_ativo, form_tipo) "
                            "values ('frmTeste', 'Tela de Teste', '%1', '%2')")
                 .arg(active, kind)});
        QStringList available, shown;
        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            available = fieldValues(m->SQL_Formulario, QStringLiteral("form_nome"));
            shown = fieldValues(m->SQL_Formulario, QStringLiteral("form_descricao"), true);
            // ">>" grants exactly what is offered.
            click(m->SpeedButton3);
        }));
        QCOMPARE(available.contains(QStringLiteral("frmTeste")), offered);
        QCOMPARE(shown.contains(QStringLiteral("Tela de Teste")), offered);
        QVERIFY(!available.contains(QStringLiteral("frmModulo")));
        QCOMPARE(column(app, QStringLiteral("select form_nome from grupo_permissao where grupo_id = 2 "
                                            "and form_nome = 'frmTeste'"))
                     .size(),
                 offered ? 1 : 0);
    }

    void newGroupGetsPermissionsOnceSaved() {
        LoggedIn& app = accessApp();
        auto* list = openList<TfrmGrupo>(app, QStringLiteral("frmGrupo"));
        QVERIFY(list);
        app.s.dialogs.queueConfirmation(true);
        bool disabledWhileNew = false, enabledAfterSave = false, startsActive = false;
        QVERIFY(inModal<TfrmGrupo_Manut>(
            [list] { list->btnNovoClick(); },
            [&](TfrmGrupo_Manut* m) {
                startsActive = m->DBCheckBox1->isChecked();
                disabledWhileNew = !m->pnPermissao->isEnabled();
                click(m->SpeedButton3); // nothing happens while the group has no id
                type(m->DBEdit2, QStringLiteral("equipe da recepcao"));
                click(m->BitBtn1);
                enabledAfterSave = m->pnPermissao->isEnabled();
                QVERIFY(selectScreen(m->SQL_Formulario, QStringLiteral("frmAgenda_Consulta")));
                click(m->SpeedButton1);
            }));
        QVERIFY(startsActive);
        QVERIFY(disabledWhileNew);
        QVERIFY(enabledAfterSave);
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Information), QStringList{kNextLogin});
        DV_VERIFY_SERVICES(app.s);
        const QString name = capitalizeName(QStringLiteral("equipe da recepcao"));
        const QString id =
            scalar(app, QStringLiteral("select grupo_id from grupo where grupo_nome = '%1'").arg(name))
                .toString();
        QVERIFY(!id.isEmpty());
        QCOMPARE(column(app, QStringLiteral("select form_nome from grupo_permissao where grupo_id = ") + id),
                 QStringList{QStringLiteral("frmAgenda_Consulta")});
        // The shared list of groups offers it to the user screen at once.
        QVERIFY(dm().SQL_Grupo->locate(QStringLiteral("grupo_nome"), name));
    }

    void administratorGroup_data() {
        QTest::addColumn<bool>("developer");
        QTest::newRow("outside developer mode") << false;
        QTest::newRow("in developer mode") << true;
    }
    void administratorGroup() {
        QFETCH(bool, developer);
        LoggedIn& app = accessApp();
        session().setDeveloperMode(developer);
        const int permissions =
            scalar(app, QStringLiteral("select count(*) from grupo_permissao where grupo_id = 1")).toInt();

        // Delete: refused outside developer mode; asked (and answered No) in it.
        auto* list = openList<TfrmGrupo>(app, QStringLiteral("frmGrupo"));
        QVERIFY(list && list->SQL_Consulta->locate(QStringLiteral("grupo_id"), 1));
        if (developer) app.s.dialogs.queueConfirmation(false);
        click(list->btnExcluir);
        QCOMPARE(app.s.dialogs.lastKind(),
                 developer ? ScriptedDialogs::Kind::Confirmation : ScriptedDialogs::Kind::Information);
        if (!developer) QCOMPARE(app.s.dialogs.lastText(), kAdminGroup);
        app.s.dialogs.clearMessages();

        // Change: the page and Salvar are disabled outside developer mode.
        if (developer) app.s.dialogs.queueConfirmation(true);
        bool pageEnabled = false, saveEnabled = false;
        QVERIFY(inModal<TfrmGrupo_Manut>([list] { list->btnEditarClick(); },
                                         [&](TfrmGrupo_Manut* m) {
                                             pageEnabled = m->TabSheet1->isEnabled();
                                             type(m->DBEdit2, QStringLiteral("Administracao"));
                                             saveEnabled = m->BitBtn1->isEnabled();
                                             m->BitBtn1Click(); // Enter would press it even so
                                             click(m->SpeedButton4);
                                         }));
        QCOMPARE(pageEnabled, developer);
        QCOMPARE(saveEnabled, developer);
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Information),
                 developer ? QStringList{kNextLogin} : (QStringList{kAdminGroup, kAdminGroup}));
        QCOMPARE(scalar(app, QStringLiteral("select grupo_nome from grupo where grupo_id = 1")).toString(),
                 developer ? QStringLiteral("Administracao") : QStringLiteral("Administradores"));
        QCOMPARE(
            scalar(app, QStringLiteral("select count(*) from grupo_permissao where grupo_id = 1")).toInt(),
            developer ? 0 : permissions);
        DV_VERIFY_SERVICES(app.s);
    }

    void permissionChangesTakeEffectAtTheNextLogin() {
        // A receptionist whose group may change its own permissions.
        const QString hash = Tdm::passwordHash(QStringLiteral("recep"));
        QStringList sql{kReception,
                        QStringLiteral("insert into usuario (usuario_nome, usuario_login, usuario_senha, "
                                       "usuario_ativo, grupo_id) values ('Rita', 'rita', '%1', 'S', 2)")
                            .arg(hash)};
        for (const char* form : {"frmGrupo", "frmGrupo_Manut", "frmPaciente"})
            sql << QStringLiteral("insert into grupo_permissao (grupo_id, form_nome) values (2, '%1')")
                       .arg(QLatin1String(form));
        LoggedIn::Options opt = accessOptions(sql);
        opt.login = false;
        LoggedIn app(opt);
        QVERIFY(app.logIn(QStringLiteral("rita"), QStringLiteral("recep")));
        QVERIFY(editGroup(app, 2, [&](TfrmGrupo_Manut* m) {
            QVERIFY(selectScreen(m->SQL_Permissao, QStringLiteral("frmPaciente")));
            click(m->SpeedButton2);
            QVERIFY(selectScreen(m->SQL_Formulario, QStringLiteral("frmDentista")));
            click(m->SpeedButton1);
        }));
        // This session keeps the permissions it read at login.
        QVERIFY(!app.opener().open(QStringLiteral("frmPaciente")));
        QVERIFY(app.opener().openScreen(QStringLiteral("frmPaciente")));
        app.s.dialogs.clearMessages();
        app.main()->mdiArea()->closeAllSubWindows();
        QTRY_VERIFY(app.main()->mdiArea()->subWindowList().isEmpty());
        whenModal([](QWidget* w) {
            auto* login = qobject_cast<TfrmLogin*>(w);
            QVERIFY(login);
            login->EditLogin->setText(QStringLiteral("rita"));
            login->EditSenha->setText(QStringLiteral("recep"));
            login->btnOKClick();
        });
        app.main()->Logof1->trigger();
        QCOMPARE(session().userLogin(), QStringLiteral("rita"));
        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(!app.opener().openScreen(QStringLiteral("frmPaciente")));
        QVERIFY(app.s.dialogs.lastText().startsWith(QStringLiteral("Você não tem permissão")));
        app.opener().open(QStringLiteral("frmDentista"));
        QVERIFY(app.opener().openScreen(QStringLiteral("frmDentista")));
    }

    // ---- languages ----

    void languageFiles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("form");
        for (const char* language : {"en", "es"})
            for (const char* form : {"frmUsuario", "frmUsuario_Manut", "frmGrupo", "frmGrupo_Manut"})
                QTest::addRow("%s %s", language, form)
                    << QString::fromLatin1(language) << QString::fromLatin1(form);
    }
    void languageFiles() {
        QFETCH(QString, language);
        QFETCH(QString, form);
        LoggedIn::Options opt = accessOptions();
        opt.folder.language = language;
        LoggedIn app(opt);
        const QString list = form.section(QLatin1Char('_'), 0, 0);
        auto* screen = openList<TfrmModelo4>(app, list);
        QVERIFY(screen);
        QStringList problems;
        if (form == list) {
            problems = languageProblems(screen, languageFile(app, language, form));
        } else {
            QVERIFY(inModal<TfrmCadastro>(
                [screen] { screen->btnEditarClick(); },
                [&](TfrmCadastro* m) { problems = languageProblems(m, languageFile(app, language, form)); }));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestUsersGroups)
#include "tst_users_groups.moc"
