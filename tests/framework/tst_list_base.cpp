// The list screen base, through the opener on a logged-in application: permissions,
// options, sorting and searching, new/change/delete, locate and filter, exports, the
// column layout store, activation and closing.
#include "ListTestScreens.h"
#include "core/db/DbErrors.h"
#include "shell/ScreenWindow.h"
#include "toolkit/Colors.h"
#include "toolkit/DBGrid.h"
#include "toolkit/FilterDialog.h"
#include "toolkit/IncrementalSearch.h"
#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

using namespace dv;
using namespace dv::test;

namespace {

const QString kSection = kListForm + QStringLiteral("wwDBGrid1");

// The program's application with the test list and its four patients, put back for
// each case (`sql` run on its data); a case with another language or a language
// file of the list starts its own.
struct ListApp {
    explicit ListApp(const QStringList& sql = {}, const QString& language = QStringLiteral("pt_BR"),
                     const QString& languageFile = QString())
        : own(language == QLatin1String("pt_BR") && languageFile.isEmpty()
                  ? nullptr
                  : std::make_unique<LoggedIn>(options(sql, language, languageFile))),
          app(own ? *own
                  : sharedApp(
                        QStringLiteral("list"),
                        [] { return options({}, QStringLiteral("pt_BR"), QString()); }, sql)) {}
    static LoggedIn::Options options(const QStringList& sql, const QString& language,
                                     const QString& languageFile) {
        LoggedIn::Options o;
        o.screens = listTestScreens();
        o.sqlBeforeStart = listTestRows() + sql;
        o.folder.language = language;
        // The real screen's language files would rename the stand-in's components.
        o.prepareFolder = [language, languageFile](const AppFolder& f) {
            const QString dir = f.path() + QStringLiteral("language/") + language;
            QFile file(dir + QLatin1Char('/') + kListForm + QStringLiteral(".lpu"));
            file.remove();
            if (languageFile.isEmpty()) return;
            QDir().mkpath(dir);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(languageFile.toUtf8());
        };
        return o;
    }
    TfrmModelo4* open() {
        app.opener().open(kListForm);
        return qobject_cast<TfrmModelo4*>(app.opener().openScreen(kListForm));
    }
    QString exeFile(const QString& name) const { return app.folder.path() + name; }
    int rows(const QString& where = QStringLiteral("1=1")) {
        auto c = app.db().query(QStringLiteral("select count(*) from paciente where ") + where);
        return c->next() ? int(c->integer(0)) : -1;
    }
    std::unique_ptr<LoggedIn> own;
    LoggedIn& app;
};

QString permission(const QString& flag) {
    return QStringLiteral("UPDATE grupo_permissao SET %1 = 'N' WHERE form_nome = '%2'").arg(flag, kListForm);
}

QStringList names(const TfrmModelo4* s) {
    QStringList list;
    const Dataset* d = s->SQL_Consulta;
    for (int r = 0; r < d->recordCount(); ++r)
        list << d->displayText(r, d->fieldByName(QStringLiteral("paciente_nome")));
    return list;
}

QString current(const TfrmModelo4* s) {
    return s->SQL_Consulta->fieldByName(QStringLiteral("paciente_nome"))->asString();
}

void clickTitle(TfrmModelo4* s, const QString& field) {
    const int c = s->wwDBGrid1->gridModel()->columnOf(field);
    QVERIFY(c >= 0);
    QHeaderView* h = s->wwDBGrid1->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(c) + 6, h->height() / 2));
}

bool enabled(const QObject* o) {
    if (auto* w = qobject_cast<const QWidget*>(o)) return w->isEnabled();
    if (auto* a = qobject_cast<const QAction*>(o)) return a->isEnabled();
    return false;
}

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The process's current folder for one test (the named exports are written there).
class CurrentFolder {
public:
    CurrentFolder() : m_old(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
    ~CurrentFolder() { QDir::setCurrent(m_old); }
    QString file(const QString& name) const { return QDir(m_dir.path()).absoluteFilePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_old;
};

} // namespace

class TestListBase : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void init() {
        ListScreenConfig::get() = ListScreenConfig();
        ManutLog::get() = ManutLog();
    }

    // ---- showing, permissions and options ----

    void eachFlagDisablesExactlyItsControls_data() {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QStringList>("disabled");
        QTest::newRow("all allowed") << QString() << QStringList();
        QTest::newRow("form_novo") << "form_novo" << QStringList{"btnNovo", "Novo1"};
        QTest::newRow("form_editar") << "form_editar" << QStringList{"btnEditar", "Alterar1"};
        QTest::newRow("form_excluir") << "form_excluir" << QStringList{"btnExcluir", "Excluir1"};
        QTest::newRow("form_imprimir") << "form_imprimir" << QStringList{"btnImprimir", "Imprimir1"};
        QTest::newRow("form_html") << "form_html" << QStringList{"Html1", "MenuItem2", "Xml1"};
        QTest::newRow("form_excel") << "form_excel"
                                    << QStringList{"Excel1", "MenuItem1", "Doc1", "Csv1", "Txt1", "Xlsx1"};
        QTest::newRow("form_filtrar") << "form_filtrar" << QStringList{"btnFiltrar", "Filtrar1"};
        QTest::newRow("form_outros") << "form_outros" << QStringList{"btnOpcoes"};
    }
    void eachFlagDisablesExactlyItsControls() {
        QFETCH(QString, flag);
        QFETCH(QStringList, disabled);
        ListScreenConfig::get().withOptions = true;
        ListApp a(flag.isEmpty() ? QStringList() : QStringList{permission(flag)});
        TfrmModelo4* s = a.open();
        QVERIFY(s);
        const QStringList controls = {
            "btnNovo",   "btnEditar",  "btnExcluir", "btnLocalizar", "btnFiltrar", "btnImprimir",
            "btnHtml",   "btnRefresh", "btnSair",    "btnOpcoes",    "edpesq",     "tbtPesquisar",
            "Novo1",     "Alterar1",   "Excluir1",   "Filtrar1",     "Imprimir1",  "Html1",
            "Excel1",    "Fechar1",    "MenuItem1",  "Doc1",         "Csv1",       "Txt1",
            "MenuItem2", "Xml1",       "Xlsx1"};
        for (const QString& name : controls) {
            const QObject* o = s->findChild<QObject*>(name);
            QVERIFY2(o, qPrintable(name));
            QVERIFY2(enabled(o) == !disabled.contains(name), qPrintable(name));
        }
        QVERIFY(s->btnOpcoes->isVisible()); // disabled, still there
    }

    // Enter in the search box or the grid, and a double-click on a row, change the row
    // only through an enabled "Alterar".
    void enterAndDoubleClickFollowEditar_data() {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("form_editar S") << true;
        QTest::newRow("form_editar N") << false;
    }
    void enterAndDoubleClickFollowEditar() {
        QFETCH(bool, allowed);
        ListApp a(allowed ? QStringList() : QStringList{permission("form_editar")});
        TfrmModelo4* s = a.open();
        QTest::keyClick(s->edpesq, Qt::Key_Return);
        QTest::keyClick(s->wwDBGrid1, Qt::Key_Return);
        const QRect cell = s->wwDBGrid1->visualRect(s->wwDBGrid1->model()->index(1, 0));
        QTest::mouseDClick(s->wwDBGrid1->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(ManutLog::get().opened, allowed ? 3 : 0);
        QCOMPARE(s->SQL_Consulta->state(), DatasetState::Browse);
        QCOMPARE(a.app.s.dialogs.count(), 0);
    }

    void optionsButtonOnlyWithOptions() {
        ListApp a;
        TfrmModelo4* s = a.open();
        QVERIFY(!s->btnOpcoes->isVisible());
        // Options added later show on the next activation.
        s->PopupOpcoes->addAction(QStringLiteral("Etiquetas"));
        s->FormActivate();
        QVERIFY(s->btnOpcoes->isVisible());
        QCOMPARE(s->btnOpcoes->menu(), s->PopupOpcoes);
    }

    // Panels, header caption and grid title colour by activation; the header caption
    // back, the window-list entry gone and the screen freed by closing.
    void showActivateAndClose_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("countLabel");
        QTest::addColumn<QString>("mainCaption");
        QTest::addColumn<QStringList>("translated"); // caption, filter hint, locate hint, name title
        QTest::addColumn<QString>("filteredText");
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Registro(s):"
                               << "Menu Principal do Sistema" << QStringList() << "Filtrado";
        QTest::newRow("en") << "en"
                            << "Record(s):  "
                            << "System main menu"
                            << QStringList{"Test list", "Filter the rows", "Find", "Name"} << "Filtered";
        QTest::newRow("es") << "es"
                            << "Registro(s):"
                            << "Menú principal del sistema"
                            << QStringList{"Lista de prueba", "Filtra los registros", "Buscar", "Nombre"}
                            << "Filtrado";
    }
    void showActivateAndClose() {
        QFETCH(QString, language);
        QFETCH(QString, countLabel);
        QFETCH(QString, mainCaption);
        QFETCH(QStringList, translated);
        QFETCH(QString, filteredText);
        QString file;
        if (!translated.isEmpty())
            file = QStringLiteral(
                       "[frmConvenio]\nfrmConvenio.Caption=%1\nbtnFiltrar.Hint=%2\nbtnLocalizar.Hint=%3\n"
                       "SQL_Consultapaciente_nome.DisplayLabel=%4\n")
                       .arg(translated[0], translated[1], translated[2], translated[3]);
        else
            translated = QStringList{"  Lista de Teste ", "Executa filtro sobre os registros da gride!",
                                     "Localizar", "Nome"};
        ListApp a({QStringLiteral("UPDATE Preferencia SET pref_gride = 255")}, language, file);
        QPointer<TfrmModelo4> s = a.open();
        QVERIFY(s);
        QVERIFY(s->parentWidget()->isMaximized());
        QCOMPARE(s->statusPanel(0)->text(), countLabel);
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  4"));
        QCOMPARE(s->statusPanel(2)->text(), QString());
        QCOMPARE(s->windowTitle(), translated[0]);
        QCOMPARE(a.app.main()->lbForm->text(), translated[0]);
        QCOMPARE(s->wwDBGrid1->titleColor(), colorFromNumber(255));
        QCOMPARE(s->wwFilterDialog1->windowTitle(), translated[1]);
        QCOMPARE(s->wwFilterDialog2->windowTitle(), translated[2]);
        QCOMPARE(s->wwDBGrid1->fieldTitle(QStringLiteral("paciente_nome")), translated[3]);
        QCOMPARE(s->focusWidget(), s->edpesq);
        a.app.main()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(a.app.main()));
        QCOMPARE(QApplication::focusWidget(), s->edpesq);
        QCOMPARE(a.app.windowList().size(), 1);
        s->wwFilterDialog1->applyCriteria({{QStringLiteral("paciente_nome"), QStringLiteral("lima")}});
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  1"));
        QCOMPARE(s->statusPanel(2)->text(), filteredText);

        QTest::mouseClick(s->btnSair, Qt::LeftButton);
        QCOMPARE(a.app.main()->lbForm->text(), mainCaption);
        QVERIFY(a.app.windowList().isEmpty());
        QTRY_VERIFY(s.isNull());
        QCOMPARE(a.app.s.dialogs.count(), 0);
    }

    void refreshReadsTheTableAgainKeepingTheSort() {
        ListApp a;
        TfrmModelo4* s = a.open();
        clickTitle(s, QStringLiteral("paciente_cpf"));
        a.app.db().execute(QStringLiteral(
            "INSERT INTO paciente (paciente_nome, paciente_cpf) VALUES ('Davi Reis', '000.000.000-00')"));
        QTest::mouseClick(s->btnRefresh, Qt::LeftButton);
        QCOMPARE(s->SQL_Consulta->sort(), QStringLiteral("paciente_cpf ASC"));
        QCOMPARE(names(s).value(0), QStringLiteral("Davi Reis"));
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  5"));
    }

    void openingErrorIsShownAndTheScreenStays() {
        ListScreenConfig::get().sql = QStringLiteral("select * from tabela_que_nao_existe");
        ListApp a;
        TfrmModelo4* s = a.open();
        QVERIFY(s);
        QCOMPARE(a.app.s.dialogs.count(), 1);
        QCOMPARE(a.app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Error);
        const QString text = a.app.s.dialogs.lastText();
        QVERIFY2(
            text.startsWith(QStringLiteral("Classe de Exception: EOleException\rMensagem de Exception: ")),
            qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("tabela_que_nao_existe")));
        QCOMPARE(a.app.opener().openScreen(kListForm), s);
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  0"));
    }

    // ---- sorting and searching ----

    void titleClickSorts_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("warned");
        const QString nome = "paciente_nome", cpf = "paciente_cpf";
        QTest::newRow("opened by the first field") << QStringList() << "paciente_nome ASC"
                                                   << "Álvaro Dias" << false;
        QTest::newRow("same title flips") << QStringList{nome} << "paciente_nome DESC"
                                          << "Carlos Souza" << false;
        QTest::newRow("and flips back") << QStringList{nome, nome} << "paciente_nome ASC"
                                        << "Álvaro Dias" << false;
        QTest::newRow("another title ascends") << QStringList{nome, cpf} << "paciente_cpf ASC"
                                               << "Carlos Souza" << false;
        QTest::newRow("coming back resets") << QStringList{nome, cpf, nome} << "paciente_nome ASC"
                                            << "Álvaro Dias" << false;
        QTest::newRow("lookup refused") << QStringList{nome, "convenio_nome"} << "paciente_nome DESC"
                                        << "Carlos Souza" << true;
        QTest::newRow("memo refused") << QStringList{"paciente_anotacao"} << "paciente_nome ASC"
                                      << "Álvaro Dias" << true;
    }
    void titleClickSorts() {
        QFETCH(QStringList, clicks);
        QFETCH(QString, sort);
        QFETCH(QString, first);
        QFETCH(bool, warned);
        ListApp a;
        TfrmModelo4* s = a.open();
        QAbstractItemModelTester tester(s->wwDBGrid1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString& field : clicks)
            clickTitle(s, field);
        QCOMPARE(s->SQL_Consulta->sort(), sort);
        QCOMPARE(names(s).value(0), first);
        const QString field = sort.section(' ', 0, 0);
        const bool ascending = sort.endsWith(QLatin1String("ASC"));
        QCOMPARE(s->sortedField(), field);
        QCOMPARE(s->sortAscending(), ascending);
        QCOMPARE(s->edpesq->searchField(), field);
        QCOMPARE(s->wwDBGrid1->gridModel()->sortField(), field);
        QCOMPARE(s->wwDBGrid1->gridModel()->sortAscending(), ascending);
        if (warned) {
            QCOMPARE(
                a.app.s.dialogs.texts(ScriptedDialogs::Kind::Warning),
                QStringList{"O campo selecionado não pode ser ordenado! Para pesquisar neste campo, clique "
                            "no botão Localizar!"});
        } else {
            QCOMPARE(a.app.s.dialogs.count(), 0);
        }
    }

    void searchBoxFollowsTheSortedField() {
        ListApp a;
        TfrmModelo4* s = a.open();
        QTest::keyClicks(s->edpesq, QStringLiteral("be"));
        QCOMPARE(current(s), QStringLiteral("Beatriz Melo"));
        clickTitle(s, QStringLiteral("paciente_cpf"));
        s->edpesq->clear();
        QTest::keyClicks(s->edpesq, QStringLiteral("333"));
        QCOMPARE(current(s), QStringLiteral("Ana Lima"));
        QTest::mouseClick(s->tbtPesquisar, Qt::LeftButton);
        QVERIFY(s->edpesq->text().isEmpty());
        QCOMPARE(s->SQL_Consulta->recNo(), 1);
        QCOMPARE(s->focusWidget(), s->edpesq);
    }

    // ---- new, change, delete, escape ----

    void newAndChangeGoThroughTheMaintenanceScreen_data() {
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<bool>("posts");
        QTest::newRow("new, posted") << true << true;
        QTest::newRow("new, left pending") << true << false;
        QTest::newRow("change, posted") << false << true;
        QTest::newRow("change, left pending") << false << false;
    }
    void newAndChangeGoThroughTheMaintenanceScreen() {
        QFETCH(bool, isNew);
        QFETCH(bool, posts);
        ListApp a;
        TfrmModelo4* s = a.open();
        ManutLog::get().action = [](Dataset& q) {
            q.fieldByName(QStringLiteral("paciente_nome"))->setAsString(QStringLiteral("Zélia Nova"));
        };
        if (posts) ManutLog::get().action = [old = ManutLog::get().action](Dataset& q) { old(q), q.post(); };
        QTest::mouseClick(isNew ? s->btnNovo : s->btnEditar, Qt::LeftButton);
        QCOMPARE(ManutLog::get().opened, 1);
        QVERIFY(ManutLog::get().gotListQuery);
        QCOMPARE(ManutLog::get().state, isNew ? DatasetState::Insert : DatasetState::Edit);
        QCOMPARE(s->SQL_Consulta->state(), DatasetState::Browse);
        QCOMPARE(a.rows(), isNew && posts ? 5 : 4);
        QCOMPARE(a.rows("paciente_nome = 'Zélia Nova'"), posts ? 1 : 0);
        QCOMPARE(a.rows("paciente_nome = 'Álvaro Dias'"), !isNew && posts ? 0 : 1);
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  ") + QString::number(isNew && posts ? 5 : 4));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("empty");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("left");
        QTest::newRow("No keeps the row") << false << false << 4;
        QTest::newRow("Yes deletes the current row") << false << true << 3;
        QTest::newRow("empty list: asks, then nothing") << true << true << 0;
    }
    void deleteAsksFirst() {
        QFETCH(bool, empty);
        QFETCH(bool, yes);
        QFETCH(int, left);
        ListApp a(empty ? QStringList{QStringLiteral("DELETE FROM paciente")} : QStringList());
        TfrmModelo4* s = a.open();
        QAbstractItemModelTester tester(s->wwDBGrid1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        if (!empty)
            QVERIFY(s->SQL_Consulta->locate(QStringLiteral("paciente_nome"), QStringLiteral("Beatriz Melo")));
        a.app.s.dialogs.queueConfirmation(yes);
        QTest::mouseClick(s->btnExcluir, Qt::LeftButton);
        QCOMPARE(a.app.s.dialogs.texts(ScriptedDialogs::Kind::Confirmation),
                 QStringList{"Deja realmente excluir o registro selecionado?"});
        QCOMPARE(a.rows(), left);
        QCOMPARE(a.rows("paciente_nome = 'Beatriz Melo'"), empty || yes ? 0 : 1);
        QCOMPARE(s->SQL_Consulta->recordCount(), left);
        DV_VERIFY_SERVICES(a.app.s);
    }

    void deleteErrorReachesTheCaller() {
        ListApp a;
        TfrmModelo4* s = a.open();
        s->SQL_Consulta->BeforeDelete = [](Dataset&) {
            throw DatabaseError(QStringLiteral("Key violation on 'x'"));
        };
        a.app.s.dialogs.queueConfirmation(true);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, s->btnExcluirClick());
        QCOMPARE(a.rows(), 4);
    }

    void escapeGivesUpThePendingRowAndCloses() {
        ListApp a;
        QPointer<TfrmModelo4> s = a.open();
        s->SQL_Consulta->edit();
        s->SQL_Consulta->fieldByName(QStringLiteral("paciente_nome"))->setAsString(QStringLiteral("Mudado"));
        QTest::keyClick(s->edpesq, Qt::Key_Escape);
        QTRY_VERIFY(s.isNull());
        QCOMPARE(a.rows("paciente_nome = 'Mudado'"), 0);
        QVERIFY(a.app.windowList().isEmpty());
    }

    // ---- locate and filter ----

    void filterRemovesLocateCriteriaFirst() {
        ListApp a;
        TfrmModelo4* s = a.open();
        QAbstractItemModelTester tester(s->wwDBGrid1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        whenModal([](QWidget* w) {
            auto* d = qobject_cast<FilterDialog*>(w);
            QVERIFY(d && d->kind() == FilterDialog::Kind::Locate);
            d->setTypedCriterion(QStringLiteral("paciente_nome"), QStringLiteral("lima"));
            d->okButton()->click();
        });
        QTest::mouseClick(s->btnLocalizar, Qt::LeftButton);
        QCOMPARE(names(s), QStringList{"Ana Lima"});
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  1"));

        bool locateGoneWhenFiltering = false;
        whenModal([s, &locateGoneWhenFiltering](QWidget* w) {
            auto* d = qobject_cast<FilterDialog*>(w);
            QVERIFY(d && d->kind() == FilterDialog::Kind::Filter);
            locateGoneWhenFiltering = !s->wwFilterDialog2->hasCriteria();
            d->setTypedCriterion(QStringLiteral("paciente_nome"), QStringLiteral("o"));
            d->okButton()->click();
        });
        QTest::mouseClick(s->btnFiltrar, Qt::LeftButton);
        QCOMPARE(a.app.s.dialogs.texts(ScriptedDialogs::Kind::Information),
                 QStringList{
                     "A ferramenta de [Localizar] está em uso e seus critérios de busca serão removidos."});
        QVERIFY(locateGoneWhenFiltering);
        QCOMPARE(names(s), (QStringList{"Álvaro Dias", "Beatriz Melo", "Carlos Souza"}));
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  3"));
        QCOMPARE(s->focusWidget(), s->wwDBGrid1);
    }

    void locateKeepsTheFilter() {
        ListApp a;
        TfrmModelo4* s = a.open();
        s->wwFilterDialog1->applyCriteria({{QStringLiteral("paciente_nome"), QStringLiteral("o")}});
        QCOMPARE(s->SQL_Consulta->recordCount(), 3);
        whenModal([](QWidget* w) {
            auto* d = qobject_cast<FilterDialog*>(w);
            QVERIFY(d);
            d->setTypedCriterion(QStringLiteral("paciente_cpf"), QStringLiteral("1"));
            d->okButton()->click();
        });
        QTest::mouseClick(s->btnLocalizar, Qt::LeftButton);
        QVERIFY(s->wwFilterDialog1->hasCriteria());
        QCOMPARE(names(s), QStringList{"Carlos Souza"});
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  1"));
        QCOMPARE(a.app.s.dialogs.count(), 0);
    }

    // The count and the filter mark follow every change of the rows shown, whoever
    // makes it; a refresh keeps the filter.
    void countAndFilterMarkFollowTheRows_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("filtered");
        QTest::newRow("new row saved, maintenance screen still open") << "new"
                                                                      << "  5" << false;
        QTest::newRow("row deleted by the screen's code") << "delete"
                                                          << "  3" << false;
        QTest::newRow("the screen's own filter") << "own filter"
                                                 << "  2" << true;
        QTest::newRow("the screen's own filter, then refresh") << "own filter, refresh"
                                                               << "  3" << true;
        QTest::newRow("filter dialog, then refresh") << "dialog, refresh"
                                                     << "  4" << true;
        QTest::newRow("filter dialog cleared") << "dialog cleared"
                                               << "  4" << false;
        QTest::newRow("locate") << "locate"
                                << "  1" << true;
    }
    void countAndFilterMarkFollowTheRows() {
        QFETCH(QString, change);
        QFETCH(QString, count);
        QFETCH(bool, filtered);
        ListApp a;
        TfrmModelo4* s = a.open();
        Dataset* q = s->SQL_Consulta;
        auto addRow = [&a] {
            a.app.db().execute(QStringLiteral("INSERT INTO paciente (paciente_nome, convenio_id) VALUES "
                                              "('Otávio Lins', 2)"));
        };
        QString seenInMaintenance;
        if (change == QLatin1String("new")) {
            ManutLog::get().action = [s, &seenInMaintenance](Dataset& d) {
                d.fieldByName(QStringLiteral("paciente_nome"))->setAsString(QStringLiteral("Zélia Nova"));
                d.post();
                seenInMaintenance = s->statusPanel(1)->text();
            };
            QTest::mouseClick(s->btnNovo, Qt::LeftButton);
            QCOMPARE(seenInMaintenance, count);
        } else if (change == QLatin1String("delete")) {
            q->deleteRecord();
        } else if (change.startsWith(QLatin1String("own filter"))) {
            q->setFilter(QStringLiteral("convenio_id = 2"));
            q->setFiltered(true);
        } else if (change.startsWith(QLatin1String("dialog"))) {
            s->wwFilterDialog1->applyCriteria({{QStringLiteral("paciente_nome"), QStringLiteral("o")}});
            QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  3"));
            if (change.endsWith(QLatin1String("cleared"))) s->wwFilterDialog1->clearCriteria();
        } else if (change == QLatin1String("locate")) {
            whenModal([](QWidget* w) {
                auto* d = qobject_cast<FilterDialog*>(w);
                QVERIFY(d);
                d->setTypedCriterion(QStringLiteral("paciente_nome"), QStringLiteral("lima"));
                d->okButton()->click();
            });
            QTest::mouseClick(s->btnLocalizar, Qt::LeftButton);
        }
        if (change.endsWith(QLatin1String("refresh"))) {
            addRow();
            QTest::mouseClick(s->btnRefresh, Qt::LeftButton);
        }
        QCOMPARE(s->statusPanel(1)->text(), count);
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  ") + QString::number(q->recordCount()));
        QCOMPARE(s->statusPanel(2)->text(), filtered ? QStringLiteral("Filtrado") : QString());
    }

    // A screen adds the panels it needs at the right of the base's, in order.
    void screenAddsItsOwnStatusPanels() {
        ListScreenConfig::get().ownPanels = 4;
        ListApp a;
        TfrmModelo4* s = a.open();
        QCOMPARE(s->statusPanel(1)->text(), QStringLiteral("  4"));
        // Laid out once the bar has had its turn.
        QTRY_VERIFY(s->statusPanel(6)->geometry().left() > s->statusPanel(5)->geometry().right());
        int right = s->statusPanel(2)->geometry().right();
        for (int i = 0; i < 4; ++i) {
            QLabel* p = s->statusPanel(3 + i);
            QVERIFY(p);
            QCOMPARE(p->objectName(), QStringLiteral("pnlProprio%1").arg(i + 1));
            QCOMPARE(s->StatusBar1->findChild<QLabel*>(p->objectName()), p);
            QVERIFY(p->isVisible());
            QVERIFY2(p->geometry().left() > right, qPrintable(p->objectName()));
            right = p->geometry().right();
            p->setText(QStringLiteral("painel %1").arg(i + 1));
        }
        QVERIFY(s->statusPanel(3)->width() >= 100);
        QVERIFY(!s->statusPanel(7));
        s->btnRefreshClick();
        QCOMPARE(s->statusPanel(6)->text(), QStringLiteral("painel 4"));
    }

    // ---- exports ----

    void exportsWriteAndOpenTheirFile_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("content");
        const QString base = "QbExport_Lista de Teste";
        QTest::newRow("Excel") << "MenuItem1" << base + ".xls"
                               << "html";
        QTest::newRow("Doc") << "Doc1" << base + ".doc"
                             << "html";
        QTest::newRow("Csv") << "Csv1" << base + ".csv"
                             << "csv";
        QTest::newRow("Txt") << "Txt1" << base + ".txt"
                             << "csv";
        QTest::newRow("Html") << "MenuItem2" << base + ".htm"
                              << "html";
        QTest::newRow("Xml") << "Xml1" << base + ".xml"
                             << "xml";
        QTest::newRow("Xlsx") << "Xlsx1" << base + ".xlsx"
                              << "xlsx";
        QTest::newRow("Exportar button") << "btnHtml"
                                         << "exe:RelatGrid.html"
                                         << "html";
        QTest::newRow("grid menu Html") << "Html1"
                                        << "exe:RelatGrid.html"
                                        << "html";
        QTest::newRow("grid menu Excel") << "Excel1"
                                         << "exe:RelatGrid.xls"
                                         << "html";
    }
    void exportsWriteAndOpenTheirFile() {
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(QString, content);
        CurrentFolder folder;
        ListApp a;
        TfrmModelo4* s = a.open();
        const QString path =
            file.startsWith(QLatin1String("exe:")) ? a.exeFile(file.mid(4)) : folder.file(file);
        int barMax = -1, barValue = -1;
        a.app.s.dialogs.onMessage = [&](const ScriptedDialogs::Message&) {
            barMax = a.app.main()->ProgressBar2->maximum();
            barValue = a.app.main()->ProgressBar2->value();
        };
        auto run = [&] {
            if (item == QLatin1String("btnHtml"))
                QTest::mouseClick(s->btnHtml, Qt::LeftButton, {}, QPoint(8, 8));
            else
                s->findChild<QAction*>(item)->trigger();
        };
        run();
        run(); // a second export replaces the first
        QCOMPARE(a.app.s.shell.opened(), (QStringList{path, path}));
        const QString text = readAll(path);
        if (content == QLatin1String("html")) {
            QVERIFY(text.contains(QStringLiteral("<table")));
            QVERIFY(text.contains(QStringLiteral("Lista de Teste")));
            for (const char* v : {"Nome", "CPF", "Convênio", "Álvaro Dias", "444.444.444-44", "Bradesco"})
                QVERIFY2(text.contains(QString::fromUtf8(v)), v);
        } else if (content == QLatin1String("csv")) {
            const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 5);
            QVERIFY(lines[0].endsWith(
                QStringLiteral("\"Nome\",\"CPF\",\"Nascimento\",\"Dependentes\",\"Convênio\",\"Anotação\"")));
            QCOMPARE(lines[1], QStringLiteral("\"1\",\"Álvaro Dias\",\"444.444.444-44\",\"30/07/1968\",\"3\","
                                              "\"Bradesco\",\"usa \"\"aparelho\"\"\""));
        } else if (content == QLatin1String("xml")) {
            QXmlStreamReader xml(text);
            QStringList fields;
            int rows = 0;
            bool emailSeen = false;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement) continue;
                if (xml.name() == QLatin1String("FIELD"))
                    fields << xml.attributes().value("attrname").toString();
                if (xml.name() == QLatin1String("ROW")) {
                    ++rows;
                    emailSeen |= xml.attributes().value("paciente_email") == QLatin1String("carlos@ex.com");
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QCOMPARE(rows, 4);
            QVERIFY(emailSeen); // a field the grid does not show
            for (const Field* f : s->SQL_Consulta->fields())
                if (f->isData()) QVERIFY2(fields.contains(f->fieldName()), qPrintable(f->fieldName()));
            QCOMPARE(a.app.s.dialogs.texts(ScriptedDialogs::Kind::Information),
                     QStringList(2, "O arquivo Xml " + QDir::toNativeSeparators(path) +
                                        " foi gerado com sucesso!"));
            QCOMPARE(barMax, 4);
            QCOMPARE(barValue, 4);
            QCOMPARE(a.app.main()->ProgressBar2->maximum(), 100);
            QCOMPARE(a.app.main()->ProgressBar2->value(), 0);
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.read(2), QByteArray("PK"));
        }
        if (content != QLatin1String("xml"))
            QCOMPARE(a.app.s.dialogs.texts(ScriptedDialogs::Kind::Information),
                     QStringList(2, "Arquivo gravado em " + QDir::toNativeSeparators(path)));
        QCOMPARE(a.app.s.dialogs.count(), 2);
    }

    // A file of the name that cannot be removed (held open elsewhere) is reported and
    // opened as it is; nothing is written.
    void anExportFileThatCannotGoIsOpenedInstead_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::newRow("Csv") << "Csv1"
                             << "QbExport_Lista de Teste.csv";
        QTest::newRow("Excel") << "MenuItem1"
                               << "QbExport_Lista de Teste.xls";
        QTest::newRow("Xml") << "Xml1"
                             << "QbExport_Lista de Teste.xml";
    }
    void anExportFileThatCannotGoIsOpenedInstead() {
        QFETCH(QString, item);
        QFETCH(QString, file);
        CurrentFolder folder;
        // A folder of that name with something inside cannot be removed as a file.
        QVERIFY(QDir().mkpath(file + QStringLiteral("/held")));
        ListApp a;
        TfrmModelo4* s = a.open();
        s->findChild<QAction*>(item)->trigger();
        QCOMPARE(a.app.s.dialogs.texts(),
                 QStringList{"O Arquivo " + folder.file(file) +
                             " está aberto! Feche antes de tentar exportar novamente."});
        QCOMPARE(a.app.s.dialogs.lastKind(), ScriptedDialogs::Kind::Warning);
        QCOMPARE(a.app.s.shell.opened(), QStringList{folder.file(file)});
        QVERIFY(QFileInfo(file).isDir());
        QCOMPARE(QDir(QDir::currentPath()).entryList(QDir::Files), QStringList());
    }

    // A current folder no one can write sends the named exports to the user's documents
    // folder (made when missing), and the user is told where; with nowhere to write,
    // the error says why and nothing is opened.
    void exportsGoWhereTheyCanBeWritten_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("documents"); // a documents folder that can be written
        const QString base = "QbExport_Lista de Teste";
        QTest::newRow("Csv to the documents") << "Csv1" << base + ".csv" << true;
        QTest::newRow("Xlsx to the documents") << "Xlsx1" << base + ".xlsx" << true;
        QTest::newRow("Xml to the documents") << "Xml1" << base + ".xml" << true;
        QTest::newRow("Csv nowhere") << "Csv1" << base + ".csv" << false;
        QTest::newRow("Xlsx nowhere") << "Xlsx1" << base + ".xlsx" << false;
    }
    void exportsGoWhereTheyCanBeWritten() {
        QFETCH(QString, item);
        QFETCH(QString, file);
        QFETCH(bool, documents);
        ListApp a;
        TfrmModelo4* s = a.open();
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
        const QString oldCurrent = QDir::currentPath();
        auto back = qScopeGuard([&] {
            QDir::setCurrent(oldCurrent);
            qputenv("HOME", oldHome);
            if (!oldConfig.isNull()) qputenv("XDG_CONFIG_HOME", oldConfig);
        });
        qputenv("HOME", documents ? QFile::encodeName(home.path()) : QByteArray("/proc/dentrivale-nobody"));
        qunsetenv("XDG_CONFIG_HOME");
        // Not even root makes files in /proc.
        QVERIFY(QDir::setCurrent(QStringLiteral("/proc")));

        if (documents) {
            const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            QVERIFY(folder.startsWith(home.path()));
            QCOMPARE(TfrmModelo4::exportFolder(), folder + QLatin1Char('/'));
            s->findChild<QAction*>(item)->trigger();
            const QString path = QDir(folder).filePath(file);
            QVERIFY(QFileInfo(path).size() > 0);
            QCOMPARE(a.app.s.shell.opened(), QStringList{path});
            QCOMPARE(a.app.s.dialogs.texts(),
                     QStringList{item == QLatin1String("Xml1")
                                     ? "O arquivo Xml " + path + " foi gerado com sucesso!"
                                     : "Arquivo gravado em " + path});
            return;
        }
        const QString path = QStringLiteral("/proc/") + file;
        QFile probe(path + QStringLiteral(".tmp"));
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        QString message;
        try {
            item == QLatin1String("Csv1") ? s->Csv1Click() : s->Xlsx1Click();
        } catch (const PlainError& e) {
            message = e.message();
        }
        QCOMPARE(message, "Não foi possível gravar o arquivo " + path + ": " + probe.errorString());
        QVERIFY(a.app.s.shell.opened().isEmpty());
        QCOMPARE(a.app.s.dialogs.count(), 0);
    }

    // ---- the column layout store ----

    void layoutIsSavedOnCloseAndMergedOnShow() {
        ListApp a;
        TfrmModelo4* s = a.open();
        const QString store = a.app.folder.path() + QStringLiteral("Dentrivale.ini");
        s->wwDBGrid1->setColumns({{QStringLiteral("paciente_cpf"), QStringLiteral("Documento"), 20},
                                  {QStringLiteral("paciente_nome"), QString(), 30}});
        QTest::mouseClick(s->btnSair, Qt::LeftButton);
        const SettingsEntries saved = a.app.s.settings.readSection(SettingsHive::User, store, kSection);
        QCOMPARE(saved,
                 (SettingsEntries{{"paciente_cpf", "20;;Documento;;F"}, {"paciente_nome", "30;;Nome;;F"}}));
        QVERIFY(a.app.s.settings.readSection(SettingsHive::File, store, kSection).isEmpty());

        // The columns the stored layout lacks come after the stored ones.
        s = a.open();
        QCOMPARE(s->wwDBGrid1->shownFields(),
                 (QStringList{"paciente_cpf", "paciente_nome", "paciente_data_nascimento",
                              "paciente_num_dependentes", "convenio_nome", "paciente_anotacao"}));
        QCOMPARE(s->wwDBGrid1->fieldTitle(QStringLiteral("paciente_cpf")), QStringLiteral("Documento"));
        QCOMPARE(s->wwDBGrid1->fieldWidth(QStringLiteral("paciente_cpf")), 20);
        QCOMPARE(s->wwDBGrid1->fieldWidth(QStringLiteral("paciente_nome")), 30);
    }

    void malformedLayoutIsIgnored() {
        ListApp a;
        const QString store = a.app.folder.path() + QStringLiteral("Dentrivale.ini");
        a.app.s.settings.writeSection(SettingsHive::User, store, kSection,
                                      {{"paciente_cpf", "20;;Documento;;F"}, {"paciente_nome", "30"}});
        TfrmModelo4* s = a.open();
        QCOMPARE(s->wwDBGrid1->shownFields(),
                 (QStringList{"paciente_nome", "paciente_cpf", "paciente_data_nascimento",
                              "paciente_num_dependentes", "convenio_nome", "paciente_anotacao"}));
        QCOMPARE(s->wwDBGrid1->fieldTitle(QStringLiteral("paciente_cpf")), QStringLiteral("CPF"));
        QCOMPARE(a.app.s.dialogs.count(), 0);
    }

    // The user list keeps its layout in the INI file beside the executable.
    void layoutInTheIniFileWhenTheScreenSaysSo() {
        ListScreenConfig::get().layoutInIni = true;
        ListApp a;
        const QString store = a.app.folder.path() + QStringLiteral("Dentrivale.ini");
        a.app.s.settings.writeSection(SettingsHive::File, store, kSection, {{"paciente_cpf", "14;;Doc;;F"}});
        TfrmModelo4* s = a.open();
        QCOMPARE(s->wwDBGrid1->shownFields().value(0), QStringLiteral("paciente_cpf"));
        QTest::mouseClick(s->btnSair, Qt::LeftButton);
        QCOMPARE(a.app.s.settings.readSection(SettingsHive::File, store, kSection).size(), 6);
        QVERIFY(a.app.s.settings.readSection(SettingsHive::User, store, kSection).isEmpty());
    }
};

QTEST_MAIN(TestListBase)
#include "tst_list_base.moc"
