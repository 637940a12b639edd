#include "AccessScreensFixture.h"
#include "access/U_frmModulo.h"
#include "access/U_frmModulo_Manut.h"
#include "access/U_frmModulo_Menu_Manut.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// The preview as the user reads it: "Group" and "Group/Entry", in tree order.
QStringList treeTexts(QTreeWidget* tree) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* g = tree->topLevelItem(i);
        texts << g->text(0);
        for (int j = 0; j < g->childCount(); ++j)
            texts << g->text(0) + QLatin1Char('/') + g->child(j)->text(0);
    }
    return texts;
}

QTreeWidgetItem* entry(QTreeWidget* tree, const QString& group, const QString& name) {
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* g = tree->topLevelItem(i);
        if (g->text(0) != group) continue;
        for (int j = 0; j < g->childCount(); ++j)
            if (g->child(j)->text(0) == name) return g->child(j);
    }
    return nullptr;
}

TfrmModulo* openModules(LoggedIn& app) {
    session().setDeveloperMode(true);
    return openList<TfrmModulo>(app, QStringLiteral("frmModulo"));
}

} // namespace

// The registry of screens with their reports, and the system menu's maintenance.
class TestModules : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void moduleAddedIsFoundByTheOpenerAtOnce() {
        // The patients' screen has lost its registry row; it is registered again here.
        LoggedIn app(
            accessOptions({QStringLiteral("delete from Formulario where form_nome = 'frmPaciente'")}));
        auto* list = openModules(app);
        QVERIFY(list);
        QCOMPARE(list->btnOpcoes->isVisible(), true);
        app.s.dialogs.queueConfirmation(true);
        bool startsActive = false;
        QVERIFY(inModal<TfrmModulo_Manut>([list] { list->btnNovoClick(); },
                                          [&](TfrmModulo_Manut* m) {
                                              startsActive = m->DBCheckBox1->isChecked();
                                              type(m->DBEdit1, QStringLiteral("frmPaciente"));
                                              type(m->DBEdit2, QStringLiteral("Pacientes da clinica"));
                                              type(m->DBEdit5, QStringLiteral("l"));
                                              click(m->BitBtn1);
                                          }));
        QVERIFY(startsActive);
        DV_VERIFY_SERVICES(app.s);
        // Tagged boxes keep what was typed; the kind is capitalized like any other box.
        QCOMPARE(column(app, QStringLiteral("select form_descricao || '|' || form_tipo || '|' || form_ativo "
                                            "from Formulario where form_nome = 'frmPaciente'")),
                 QStringList{QStringLiteral("Pacientes da clinica|L|S")});
        QVERIFY(dm().SQL_Formulario->locate(QStringLiteral("form_nome"), QStringLiteral("frmPaciente")));

        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(app.opener().openScreen(QStringLiteral("frmPaciente")));
        QVERIFY(app.windowList().contains(QStringLiteral("Pacientes da clinica")));
    }

    void reportAddedBelongsToTheModule() {
        LoggedIn& app = sharedApp(QStringLiteral("access"), [] { return accessOptions(); });
        auto* list = openModules(app);
        QVERIFY(list &&
                list->SQL_Consulta->locate(QStringLiteral("form_nome"), QStringLiteral("frmPaciente")));
        const QStringList before = column(app, QStringLiteral("select relat_nome from Relatorio where "
                                                              "form_nome = 'frmPaciente' order by relat_id"));
        QVERIFY(!before.isEmpty());
        QStringList shown;
        bool formColumnShown = true;
        QVERIFY(inModal<TfrmModulo_Manut>(
            [list] { list->btnEditarClick(); },
            [&](TfrmModulo_Manut* m) {
                shown = fieldValues(m->SQL_Relatorio, QStringLiteral("relat_nome"));
                formColumnShown = m->wwDBGrid1->isFieldShown(QStringLiteral("form_nome"));
                m->PageControl1->setCurrentWidget(m->TabSheet2);
                m->wwDBGrid1->setFocus();
                QTest::keyClick(m->wwDBGrid1, Qt::Key_Insert);
                QCOMPARE(m->SQL_Relatorio->state(), dv::DatasetState::Insert);
                m->SQL_Relatorio->fieldByName(QStringLiteral("relat_nome"))
                    ->setAsString(QStringLiteral("Relat_Novo"));
                QTest::keyClick(m->wwDBGrid1, Qt::Key_Up); // leaving the row writes it
                click(m->BitBtn2);
            }));
        QCOMPARE(shown, before);
        QVERIFY(!formColumnShown);
        QCOMPARE(
            column(app, QStringLiteral("select form_nome from Relatorio where relat_nome = 'Relat_Novo'")),
            QStringList{QStringLiteral("frmPaciente")});
    }

    void menuPreviewFollowsSalvar_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("entryAfter"); // the entry's text after "Salvar"; empty: gone
        QTest::newRow("renamed") << "menu_nome"
                                 << "Fichas de Pacientes"
                                 << "Cadastros/Fichas de Pacientes";
        QTest::newRow("deactivated") << "menu_ativo"
                                     << "N"
                                     << "";
    }
    void menuPreviewFollowsSalvar() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, entryAfter);
        LoggedIn& app = sharedApp(QStringLiteral("access"), [] { return accessOptions(); });
        auto* list = openModules(app);
        QVERIFY(list);
        const QString entryBefore = QStringLiteral("Cadastros/Pacientes");
        QStringList before, afterLeaving, afterSave;
        int gridRows = 0;
        QString path, help;
        QVERIFY(inModal<TfrmModulo_Menu_Manut>(
            [list] { list->MenudoSistema1->trigger(); },
            [&](TfrmModulo_Menu_Manut* m) {
                before = treeTexts(m->TreeView1);
                // Choosing an entry shows its path and help; double click and Enter open nothing.
                QTreeWidgetItem* item =
                    entry(m->TreeView1, QStringLiteral("Cadastros"), QStringLiteral("Pacientes"));
                QVERIFY(item);
                m->TreeView1->setCurrentItem(item);
                path = m->lbForm->text();
                help = m->Memo1->toPlainText();
                const QRect r = m->TreeView1->visualItemRect(item);
                QTest::mouseDClick(m->TreeView1->viewport(), Qt::LeftButton, {}, r.center());
                QTest::keyClick(m->TreeView1, Qt::Key_Return);

                m->PageControl1->setCurrentWidget(m->TabSheet2);
                QVERIFY(m->SQL_Update->locate(QStringLiteral("menu_id;sub_menu_id"), {1, 1}));
                m->SQL_Update->edit();
                m->SQL_Update->fieldByName(field)->setAsString(value);
                m->wwDBGrid1->setFocus();
                QTest::keyClick(m->wwDBGrid1, Qt::Key_Down);
                afterLeaving = treeTexts(m->TreeView1);
                click(m->BitBtn1);
                afterSave = treeTexts(m->TreeView1);
                gridRows = m->SQL_Update->recordCount();
            }));
        QCOMPARE(path, QStringLiteral("Cadastros >> Pacientes"));
        QVERIFY(help.startsWith(QStringLiteral("Cadastro de pacientes")));
        QVERIFY(ScreenLog::get().shown.isEmpty());
        QVERIFY(before.contains(entryBefore));
        QCOMPARE(afterLeaving, before);
        QCOMPARE(
            scalar(app, QStringLiteral("select %1 from menu_sistema where menu_id = 1 and sub_menu_id = 1")
                            .arg(field)),
            QVariant(value));
        QVERIFY(!afterSave.contains(entryBefore));
        QCOMPARE(afterSave.size(), before.size() - (entryAfter.isEmpty() ? 1 : 0));
        if (!entryAfter.isEmpty()) QVERIFY(afterSave.contains(entryAfter));
        // The row stays in the grid either way.
        QCOMPARE(gridRows, scalar(app, QStringLiteral("select count(*) from menu_sistema")).toInt());
        QCOMPARE(app.s.dialogs.count(), 0);
    }

    void menuEntryPicksItsScreenFromTheRegistry_data() {
        QTest::addColumn<QString>("typed"); // empty: the value is cleared
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("chosen by typing") << "frmDentista" << QVariant(QStringLiteral("frmDentista"));
        QTest::newRow("cleared from the keyboard") << "" << QVariant();
    }
    void menuEntryPicksItsScreenFromTheRegistry() {
        QFETCH(QString, typed);
        QFETCH(QVariant, stored);
        LoggedIn& app = sharedApp(QStringLiteral("access"), [] { return accessOptions(); });
        auto* list = openModules(app);
        QVERIFY(list);
        QStringList columns;
        QVERIFY(inModal<TfrmModulo_Menu_Manut>(
            [list] { list->MenudoSistema1->trigger(); },
            [&](TfrmModulo_Menu_Manut* m) {
                m->PageControl1->setCurrentWidget(m->TabSheet2);
                DBGrid* grid = m->wwDBGrid1;
                QVERIFY(m->SQL_Update->locate(QStringLiteral("menu_id;sub_menu_id"), {4, 3}));
                const QModelIndex cell = grid->model()->index(
                    m->SQL_Update->currentRow(), grid->shownFields().indexOf(QStringLiteral("form_nome")));
                grid->setFocus();
                grid->setCurrentIndex(cell);
                grid->edit(cell);
                auto* box = grid->findChild<DBLookupCombo*>();
                QVERIFY(box);
                columns = box->displayFields();
                box->lineEdit()->selectAll();
                if (typed.isEmpty()) {
                    QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
                } else {
                    QTest::keyClicks(box->lineEdit(), typed);
                    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
                }
                // Leaving the row writes it.
                grid->setCurrentIndex(grid->model()->index(0, 0));
                QCOMPARE(m->SQL_Update->state(), dv::DatasetState::Browse);
            }));
        QCOMPARE(columns, (QStringList{QStringLiteral("form_nome"), QStringLiteral("form_descricao")}));
        QCOMPARE(scalar(app, QStringLiteral("select form_nome from menu_sistema where menu_id = 4 and "
                                            "sub_menu_id = 3")),
                 stored);
    }

    void languageFiles_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("form");
        for (const char* language : {"en", "es"})
            for (const char* form : {"frmModulo", "frmModulo_Manut"})
                QTest::addRow("%s %s", language, form)
                    << QString::fromLatin1(language) << QString::fromLatin1(form);
    }
    void languageFiles() {
        QFETCH(QString, language);
        QFETCH(QString, form);
        LoggedIn::Options opt = accessOptions();
        opt.folder.language = language;
        LoggedIn app(opt);
        auto* list = openModules(app);
        QVERIFY(list);
        QStringList problems;
        if (form == QLatin1String("frmModulo")) {
            problems = languageProblems(list, languageFile(app, language, form));
        } else {
            QVERIFY(inModal<TfrmModulo_Manut>([list] { list->btnEditarClick(); },
                                              [&](TfrmModulo_Manut* m) {
                                                  problems =
                                                      languageProblems(m, languageFile(app, language, form));
                                              }));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void menuMaintenanceKeepsItsOwnTexts() {
        LoggedIn::Options opt = accessOptions();
        opt.folder.language = QStringLiteral("en");
        opt.prepareFolder = [](const AppFolder& f) {
            QFile file(f.path() + QStringLiteral("language/en/frmModulo_Menu_Manut.lpu"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[frmModulo_Menu_Manut]\nfrmModulo_Menu_Manut.Caption=Menu Maintenance\n"
                       "TabSheet2.Caption=Menu Rows\nBitBtn1.Caption=Save\n");
        };
        LoggedIn app(opt);
        auto* list = openModules(app);
        QVERIFY(list);
        QString title, tab, save;
        QVERIFY(inModal<TfrmModulo_Menu_Manut>([list] { list->MenudoSistema1->trigger(); },
                                               [&](TfrmModulo_Menu_Manut* m) {
                                                   title = m->windowTitle();
                                                   tab = m->PageControl1->tabText(1);
                                                   save = m->BitBtn1->text();
                                               }));
        QCOMPARE(title, QStringLiteral("Manutenção do Menu do Sistema"));
        QCOMPARE(tab, QStringLiteral("Manutenção do Menu"));
        QVERIFY(save.contains(QStringLiteral("Salvar")));
    }
};

QTEST_MAIN(TestModules)
#include "tst_modules.moc"
