#include "../shell/AccessFixture.h"
#include "CadastroTestScreens.h"
#include "core/db/DbErrors.h"
#include "toolkit/Colors.h"
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

using Screen = TfrmTesteContato_Manut;
using Kind = ScriptedDialogs::Kind;

const QString kAskSave = QStringLiteral("Deseja salvar as alterações deste registro?");
const QString kAskClose = QStringLiteral("Existem alterações não salvas. Deseja salvá-las?");

LoggedIn::Options withScreen(const QStringList& sqlBeforeStart = {}) {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) {
        r.setFactory(QStringLiteral("frmContato_Manut"), [](QWidget* p) { return new Screen(p); });
    };
    o.sqlBeforeStart = sqlBeforeStart;
    return o;
}

// The program's application with the contact screen, put back for each case (`sql`
// run on its data).
LoggedIn& contactApp(const QStringList& sql = {}) {
    return sharedApp(
        QStringLiteral("contact"), [] { return withScreen(); }, sql);
}

// Opens the screen through the opener and runs `work` while it is shown (and active);
// a screen that `work` leaves open is closed afterwards.
void whileOpen(LoggedIn& app, const std::function<void(Screen*)>& work) {
    bool ran = false;
    whenModal([&](QWidget* w) {
        ran = true;
        QPointer<QWidget> guard(w);
        if (auto* s = dynamic_cast<Screen*>(w)) {
            if (QTest::qWaitForWindowActive(s)) {
                QCoreApplication::processEvents(); // the first activation
                work(s);
            } else {
                QTest::qFail("the screen did not become active", __FILE__, __LINE__);
            }
        }
        if (guard && guard->isVisible()) guard->close();
    });
    app.opener().open(QStringLiteral("frmContato_Manut"));
    QVERIFY(ran);
}

void leave(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Tab);
}

void save(Screen* s) {
    QTest::mouseClick(s->BitBtn1, Qt::LeftButton);
}

// The stored contacts, each as column -> text.
QList<QHash<QString, QString>> contacts() {
    Dataset d(dm().ADOConexao(), QStringLiteral("SQL_Check"));
    d.setSql(QStringLiteral("select * from contato order by contato_id"));
    d.open();
    QList<QHash<QString, QString>> rows;
    for (d.first(); !d.eof(); d.next()) {
        QHash<QString, QString> row;
        for (Field* f : d.fields())
            row.insert(f->fieldName(), f->asString());
        rows << row;
    }
    return rows;
}

QColor base(QWidget* w) {
    return w->palette().color(QPalette::Base);
}

const QString kInsertMaria = QStringLiteral(
    "insert into contato (contato_nome, contato_bairro, contato_cpf) values ('Maria', 'Centro', '')");

} // namespace

// The maintenance screen base on a small contact screen: masks and capitalization,
// the checks before saving, the save question, permissions, closing, look and focus.
class TestMaintenanceBase : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    // What the user types reaches the table by the field's label and the box's tag.
    void typedValuesAreStoredByLabelAndTag() {
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        struct Case {
            QString box;
            QString typed;
            QString mask; // the field's mask once the screen is shown
            QString column;
            QString stored;
        };
        const QList<Case> cases = {
            {"DBEdit2", "JOÃO DA SILVA", "", "contato_nome", "João da Silva"},
            {"DBEdit3", "52998224725", "999.999.999-99;0;_", "contato_cpf", "52998224725"},
            {"DBEdit4", "12345-678", "99999-999;0;_", "contato_cep", "12345678"},
            {"DBEdit5", "11011987654321", "99(999)99999-9999;1;_", "contato_fone", "11(011)98765-4321"},
            // A tagged field gets no mask; a tagged box keeps what was typed.
            {"DBEdit6", "(11)99999-0000", "", "contato_celular", "(11)99999-0000"},
            {"DBEdit7", "JOAO@EXEMPLO.COM.BR", "", "contato_email", "JOAO@EXEMPLO.COM.BR"},
            {"DBEdit9", "VILA DAS FLORES", "", "contato_bairro", "Vila das Flores"},
        };
        whileOpen(app, [&](Screen* s) {
            for (const Case& c : cases) {
                auto* box = s->findChild<DBEdit*>(c.box);
                QVERIFY2(box, qPrintable(c.box));
                QCOMPARE(box->field()->editMask(), c.mask);
                if (!box->isVisible()) s->PageControl1->setCurrentWidget(s->TabSheet2);
                typeTabbedInto(box, c.typed);
                leave(box);
                QCOMPARE(box->field()->asString(), c.stored);
            }
            QCOMPARE(s->edtCep->text(), QStringLiteral("12345-678"));
            QVERIFY(list.q.fieldByName(QStringLiteral("contato_id"))->editMask().isEmpty()); // field 0
            app.s.dialogs.queueConfirmation(true);
            save(s);
            QCOMPARE(list.q.state(), DatasetState::Browse);
            QVERIFY(s->isVisible()); // saved, still open for further changes
        });
        const auto rows = contacts();
        QCOMPARE(rows.size(), 1);
        for (const Case& c : cases)
            QCOMPARE(rows[0].value(c.column), c.stored);
        QCOMPARE(app.s.dialogs.texts(), QStringList{kAskSave});
        DV_VERIFY_SERVICES(app.s);
    }

    // The document check and the save question decide what is posted.
    void savingChecksTheCpfAndAsks_data() {
        QTest::addColumn<QString>("cpf");
        QTest::addColumn<int>("answer"); // -1: no question expected, 0 No, 1 Yes
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("rowsAfter");
        QTest::addColumn<bool>("stillOpen");
        const QString ten = QStringLiteral("O CPF deve conter 11 dígitos!");
        const QString wrong = QStringLiteral("CPF errado, corrija-o!");
        const QString noCpf = QStringLiteral("O CPF não foi informado. O registro será salvo sem ele.");
        QTest::newRow("empty CPF informs and saves") << "" << 1 << QStringList{noCpf, kAskSave} << 1 << true;
        // Refused: the record is still pending when the screen is closed afterwards.
        QTest::newRow("ten digits refused") << "5299822472" << -1 << QStringList{ten, kAskClose} << 0 << true;
        QTest::newRow("wrong check digit refused")
            << "52998224726" << -1 << QStringList{wrong, kAskClose} << 0 << true;
        QTest::newRow("No discards and closes") << "52998224725" << 0 << QStringList{kAskSave} << 0 << false;
    }
    void savingChecksTheCpfAndAsks() {
        QFETCH(QString, cpf);
        QFETCH(int, answer);
        QFETCH(QStringList, messages);
        QFETCH(int, rowsAfter);
        QFETCH(bool, stillOpen);
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        bool open = false;
        whileOpen(app, [&](Screen* s) {
            typeTabbedInto(s->edtNome, QStringLiteral("ANA"));
            typeTabbedInto(s->edtCpf, cpf);
            s->PageControl1->setCurrentWidget(s->TabSheet2);
            typeTabbedInto(s->edtBairro, QStringLiteral("Centro"));
            s->PageControl1->setCurrentWidget(s->TabSheet1);
            if (answer >= 0) app.s.dialogs.queueConfirmation(answer == 1);
            save(s);
            open = s->isVisible();
            if (open && rowsAfter == 0) {
                QCOMPARE(list.q.state(), DatasetState::Insert); // the user corrects it
                QCOMPARE(s->focusWidget(), s->edtCpf);
                app.s.dialogs.queueQuestion(DialogService::Answer::No); // or gives it up
            }
        });
        QCOMPARE(app.s.dialogs.texts(), messages);
        QCOMPARE(contacts().size(), rowsAfter);
        QCOMPARE(open, stillOpen);
        QCOMPARE(list.q.state(), DatasetState::Browse);
        DV_VERIFY_SERVICES(app.s);
    }

    // A required field on a page not shown brings the next page forward, and the
    // box itself once its page is shown; nothing is posted meanwhile.
    void requiredFieldOnSecondPage() {
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        const QString required = QStringLiteral("O campo \"Bairro\" é de preenchimento obrigatório!");
        whileOpen(app, [&](Screen* s) {
            typeTabbedInto(s->edtNome, QStringLiteral("Ana"));
            QColor atMessage;
            app.s.dialogs.onMessage = [&](const ScriptedDialogs::Message&) {
                atMessage = base(s->edtBairro);
            };
            save(s);
            QCOMPARE(app.s.dialogs.texts(Kind::Warning), QStringList{required});
            QCOMPARE(atMessage, colorFromNumber(colors::requiredMissing));
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet2);
            QCOMPARE(list.q.state(), DatasetState::Insert);

            save(s); // the box can take the focus now
            QCOMPARE(app.s.dialogs.texts(Kind::Warning), (QStringList{required, required}));
            QCOMPARE(QApplication::focusWidget(), s->edtBairro);
            QCOMPARE(base(s->edtBairro), colorFromNumber(colors::focusHighlight));
            QCOMPARE(list.q.state(), DatasetState::Insert);
            app.s.dialogs.onMessage = nullptr;
            app.s.dialogs.queueQuestion(DialogService::Answer::No); // closing gives it up
        });
        QCOMPARE(contacts().size(), 0);
        QVERIFY(!app.s.dialogs.texts().contains(kAskSave));
        DV_VERIFY_SERVICES(app.s);
    }

    // The group's flags for the maintenance screen hide and lock exactly their controls.
    void permissionFlags_data() {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("salvar");
        QTest::addColumn<bool>("imprimir");
        QTest::addColumn<bool>("gridEditable");
        QTest::addColumn<bool>("navigator");
        QTest::newRow("all allowed") << "" << true << true << true << true;
        QTest::newRow("form_editar") << "form_editar" << false << true << false << false;
        QTest::newRow("form_novo") << "form_novo" << false << true << false << false;
        QTest::newRow("form_excluir") << "form_excluir" << true << true << true << false;
        QTest::newRow("form_imprimir") << "form_imprimir" << true << false << true << true;
    }
    void permissionFlags() {
        QFETCH(QString, flag);
        QFETCH(bool, salvar);
        QFETCH(bool, imprimir);
        QFETCH(bool, gridEditable);
        QFETCH(bool, navigator);
        QStringList sql;
        if (!flag.isEmpty())
            sql << QStringLiteral("update grupo_permissao set %1 = 'N' where form_nome = 'frmContato_Manut'")
                       .arg(flag);
        LoggedIn& app = contactApp(sql);
        app.db().execute(kInsertMaria);
        ContactQuery list;
        list.q.edit();
        whileOpen(app, [&](Screen* s) {
            QCOMPARE(currentPermissionRow(), QStringLiteral("frmContato_Manut"));
            QCOMPARE(s->BitBtn1->isVisible(), salvar);
            QCOMPARE(s->BitBtn4->isVisible(), imprimir);
            QCOMPARE(!s->grid->isReadOnly() && s->grid->allowInsert() && s->grid->allowDelete(),
                     gridEditable);
            QCOMPARE(s->navigator->isEnabled(), navigator);
            QVERIFY(s->BitBtn2->isVisible() && s->btnAjuda->isVisible());
            // The save key saves only where Salvar shows.
            if (salvar) app.s.dialogs.queueConfirmation(true);
            QTest::keyClick(s->focusWidget(), Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(list.q.state(), salvar ? DatasetState::Browse : DatasetState::Edit);
            QCOMPARE(app.s.dialogs.texts().contains(kAskSave), salvar);
            if (!salvar) QCOMPARE(app.s.dialogs.count(), 0);
        });
        DV_VERIFY_SERVICES(app.s);
    }

    // Ctrl+S saves as Salvar does, from a box being typed in and from a grid cell being
    // typed in: what was typed is written first, and is what enables Salvar.
    void saveKeySavesWhatIsBeingTyped() {
        LoggedIn& app = contactApp();
        app.db().execute(kInsertMaria);
        ContactQuery list;
        list.q.edit();
        whileOpen(app, [&](Screen* s) {
            s->edtNome->setFocus();
            QTest::keyClick(s->edtNome, Qt::Key_End);
            QTest::keyClicks(s->edtNome, QStringLiteral(" SOUZA"));
            app.s.dialogs.queueConfirmation(true);
            QTest::keyClick(s->edtNome, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(list.q.state(), DatasetState::Browse);
            QVERIFY(!s->BitBtn1->isEnabled());

            s->PageControl1->setCurrentWidget(s->TabSheet2);
            s->grid->setFocus();
            QVERIFY(dm().SQL_UF->locate(QStringLiteral("uf_id"), QStringLiteral("SP")));
            const int row = dm().SQL_UF->recNo() - 1;
            s->grid->setCurrentIndex(s->grid->model()->index(row, 1));
            s->grid->edit(s->grid->currentIndex());
            auto* editor = s->grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor && editor->isVisible());
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("Sao Paulo"));
            QVERIFY(!s->BitBtn1->isEnabled()); // nothing written yet
            app.s.dialogs.queueConfirmation(true);
            QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(dm().SQL_UF->state(), DatasetState::Browse);
        });
        QCOMPARE(contacts().value(0).value(QStringLiteral("contato_nome")), QStringLiteral("Maria Souza"));
        QCOMPARE(scalar(app, QStringLiteral("select uf_nome from uf where uf_id = 'SP'")).toString(),
                 QStringLiteral("Sao Paulo"));
        const QString noCpf = QStringLiteral("O CPF não foi informado. O registro será salvo sem ele.");
        QCOMPARE(app.s.dialogs.texts(), (QStringList{noCpf, kAskSave, noCpf, kAskSave}));
        DV_VERIFY_SERVICES(app.s);
    }

    // Fechar, Escape and the close box ask before changes are lost: Sim saves (the
    // screen stays open when saving fails), Não discards, Cancelar keeps the screen
    // open. A record left untouched closes without a question.
    void closingAsksAboutChanges_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("typed"); // into the name of Maria's record; empty: nothing
        QTest::addColumn<int>("answer");    // -1: no question expected, else a DialogService::Answer
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("stillOpen");
        const int yes = int(DialogService::Answer::Yes), no = int(DialogService::Answer::No),
                  cancel = int(DialogService::Answer::Cancel);
        for (const char* how : {"Fechar", "Escape", "close box"}) {
            QTest::addRow("%s, Sim saves", how) << how << "Outro Nome" << yes << "Outro Nome" << false;
            QTest::addRow("%s, Não discards", how) << how << "Outro Nome" << no << "Maria" << false;
            QTest::addRow("%s, Cancelar keeps it open", how)
                << how << "Outro Nome" << cancel << "Maria" << true;
        }
        QTest::addRow("untouched, no question") << "Fechar"
                                                << "" << -1 << "Maria" << false;
    }
    void closingAsksAboutChanges() {
        QFETCH(QString, how);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, stored);
        QFETCH(bool, stillOpen);
        LoggedIn& app = contactApp();
        app.db().execute(kInsertMaria);
        ContactQuery list;
        list.q.edit();
        QPointer<Screen> screen;
        bool open = false;
        DatasetState stateThen = DatasetState::Inactive;
        whileOpen(app, [&](Screen* s) {
            screen = s;
            if (!typed.isEmpty()) {
                s->edtNome->setFocus(Qt::TabFocusReason);
                s->edtNome->selectAll();
                QTest::keyClicks(s->edtNome, typed); // still in the box: closing writes it
            }
            if (answer >= 0) app.s.dialogs.queueQuestion(DialogService::Answer(answer));
            if (how == QLatin1String("Fechar"))
                QTest::mouseClick(s->BitBtn2, Qt::LeftButton);
            else if (how == QLatin1String("Escape"))
                QTest::keyClick(s->edtNome, Qt::Key_Escape);
            else
                s->close();
            open = s->isVisible();
            stateThen = list.q.state();
            if (open) {
                QCOMPARE(s->edtNome->text(), typed); // nothing lost while it stays open
                app.s.dialogs.queueQuestion(DialogService::Answer::No);
                s->close();
            }
        });
        QCOMPARE(open, stillOpen);
        if (stillOpen) QCOMPARE(stateThen, DatasetState::Edit);
        QVERIFY(screen.isNull()); // freed once closed
        QCOMPARE(list.q.state(), DatasetState::Browse);
        const auto rows = contacts();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value(QStringLiteral("contato_nome")), stored);
        const QStringList questions = app.s.dialogs.texts(Kind::Question);
        QCOMPARE(questions.size(), answer < 0 ? 0 : stillOpen ? 2 : 1);
        if (answer >= 0) QCOMPARE(questions.first(), kAskClose);
        QVERIFY(!app.s.dialogs.texts().contains(kAskSave)); // Sim is the answer to both
        DV_VERIFY_SERVICES(app.s);
    }

    // Sim on closing runs Salvar's checks: a new record missing what is required stays
    // open in insert, and nothing is stored.
    void closingWithSimThatCannotSaveStaysOpen() {
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        whileOpen(app, [&](Screen* s) {
            typeTabbedInto(s->edtNome, QStringLiteral("Ana"));
            app.s.dialogs.queueQuestion(DialogService::Answer::Yes);
            QTest::mouseClick(s->BitBtn2, Qt::LeftButton);
            QVERIFY(s->isVisible());
            QCOMPARE(list.q.state(), DatasetState::Insert);
            QCOMPARE(app.s.dialogs.texts(Kind::Warning),
                     QStringList{QStringLiteral("O campo \"Bairro\" é de preenchimento obrigatório!")});
            app.s.dialogs.queueQuestion(DialogService::Answer::No);
            QTest::keyClick(s, Qt::Key_Escape);
            QVERIFY(!s->isVisible());
        });
        QCOMPARE(list.q.state(), DatasetState::Browse);
        QCOMPARE(contacts().size(), 0);
        QCOMPARE(app.s.dialogs.texts(Kind::Question), (QStringList{kAskClose, kAskClose}));
        DV_VERIFY_SERVICES(app.s);
    }

    // A database error while posting is shown by the error translator and the record
    // stays in insert; Salvar follows the record's state.
    void postErrorKeepsTheRecordAndSalvarFollowsTheState() {
        LoggedIn& app = contactApp({QStringLiteral(
            "create trigger contato_recusa before insert on contato when new.contato_nome = 'Recusado' "
            "begin select raise(abort, 'contato recusado'); end")});
        ContactQuery list;
        list.q.append();
        whileOpen(app, [&](Screen* s) {
            QVERIFY(s->BitBtn1->isEnabled());
            typeTabbedInto(s->edtNome, QStringLiteral("recusado"));
            s->PageControl1->setCurrentWidget(s->TabSheet2);
            typeTabbedInto(s->edtBairro, QStringLiteral("Centro"));
            app.s.dialogs.queueConfirmation(true);
            save(s);
            QCOMPARE(app.s.dialogs.lastKind(), Kind::Error);
            QVERIFY(app.s.dialogs.lastText().contains(QStringLiteral("contato recusado")));
            QCOMPARE(list.q.state(), DatasetState::Insert);
            QVERIFY(s->isVisible() && s->BitBtn1->isEnabled());

            s->edtNome->setFocus();
            QTest::keyClick(s->edtNome, Qt::Key_End);
            QTest::keyClicks(s->edtNome, QStringLiteral(" aceito"));
            leave(s->edtNome);
            app.s.dialogs.queueConfirmation(true);
            save(s);
            QCOMPARE(list.q.state(), DatasetState::Browse);
            QVERIFY(!s->BitBtn1->isEnabled());
            typeTabbedInto(s->edtCidade, QStringLiteral("x")); // typing edits the saved record again
            QCOMPARE(list.q.state(), DatasetState::Edit);
            QVERIFY(s->BitBtn1->isEnabled());
            app.s.dialogs.queueQuestion(DialogService::Answer::No); // closing gives it up
        });
        const auto rows = contacts();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].value(QStringLiteral("contato_nome")), QStringLiteral("Recusado Aceito"));
        DV_VERIFY_SERVICES(app.s);
    }

    // Ajuda opens the screen's page of the help, else the index, and says so when
    // neither is there or the desktop cannot open it.
    void helpOpensTheScreensPage_data() {
        QTest::addColumn<bool>("ownPage");
        QTest::addColumn<bool>("index");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("opened"); // under help/; empty: nothing asked of the shell
        QTest::addColumn<QString>("warning");
        QTest::newRow("the screen's page") << true << true << true << "frmContato_Manut.html"
                                           << "";
        QTest::newRow("the index otherwise") << false << true << true << "index.html"
                                             << "";
        QTest::newRow("neither") << false << false << true << ""
                                 << "A ajuda \"frmContato_Manut.html\" não foi encontrada em %1help.";
        QTest::newRow("the desktop fails") << false << true << false << "index.html"
                                           << "Não foi possível abrir a ajuda \"%1help/index.html\".";
    }
    void helpOpensTheScreensPage() {
        QFETCH(bool, ownPage);
        QFETCH(bool, index);
        QFETCH(bool, opens);
        QFETCH(QString, opened);
        QFETCH(QString, warning);
        LoggedIn& app = contactApp();
        const QString help = session().executableFolder() + QStringLiteral("help/");
        const QString page = help + QStringLiteral("frmContato_Manut.html");
        const QString indexFile = help + QStringLiteral("index.html");
        const QString aside = help + QStringLiteral("index.html.aside");
        QVERIFY(QFile::exists(indexFile)); // shipped
        QFile::remove(page); // the shipped page, in this test's copy of the folder
        if (ownPage) {
            QFile f(page);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<html><body>Contatos</body></html>");
        }
        if (!index) QVERIFY(QFile::rename(indexFile, aside));
        app.s.shell.setResult(opens);
        ContactQuery list;
        whileOpen(app, [&](Screen* s) { QTest::mouseClick(s->btnAjuda, Qt::LeftButton); });
        app.s.shell.setResult(true);
        QFile::remove(page);
        if (!index) QVERIFY(QFile::rename(aside, indexFile));
        QCOMPARE(app.s.shell.opened(), opened.isEmpty() ? QStringList() : QStringList{help + opened});
        const QString folder = session().executableFolder();
        QCOMPARE(app.s.dialogs.texts(Kind::Warning),
                 warning.isEmpty() ? QStringList() : QStringList{warning.arg(folder)});
    }

    // Ctrl+Tab and Ctrl+Shift+Tab go round the shown pages only, both ways.
    void pageKeysSkipHiddenPages() {
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        whileOpen(app, [&](Screen* s) {
            auto* extra = new QWidget;
            extra->setObjectName(QStringLiteral("TabSheet3"));
            s->PageControl1->addTab(extra, QStringLiteral("Extra"));
            s->PageControl1->setTabVisible(s->PageControl1->indexOf(s->TabSheet2), false);
            s->edtNome->setFocus();
            QTest::keyClick(s->edtNome, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(s->PageControl1->currentWidget(), extra);
            QTest::keyClick(s->PageControl1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet1);
            QTest::keyClick(s->PageControl1, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(s->PageControl1->currentWidget(), extra);
        });
    }

    // A grid keeps Tab for its cells but not Ctrl+Tab: the pages switch from the grid
    // and from a cell being typed in.
    void pageKeysSwitchPagesFromAGrid() {
        LoggedIn& app = contactApp();
        ContactQuery list;
        list.q.append();
        whileOpen(app, [&](Screen* s) {
            s->PageControl1->setCurrentWidget(s->TabSheet2);
            QVERIFY(!s->grid->isReadOnly());
            s->grid->setFocus();
            s->grid->setCurrentIndex(s->grid->model()->index(0, 0));
            QTest::keyClick(s->grid, Qt::Key_Tab);
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet2);
            QCOMPARE(s->grid->currentIndex().column(), 1);

            QTest::keyClick(s->grid, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet1);

            s->PageControl1->setCurrentWidget(s->TabSheet2);
            s->grid->setFocus();
            s->grid->edit(s->grid->currentIndex());
            auto* editor = s->grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor && editor->isVisible());
            QTest::keyClick(editor, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet1);
            if (dm().SQL_UF->isEditing()) dm().SQL_UF->cancel();
        });
    }

    // First activation, the key box, the focus colours (with the screen's own focus
    // handler still called), read-only text, the button bar and help.
    void lookAndFocus() {
        LoggedIn& app = contactApp();
        app.db().execute(kInsertMaria);
        ContactQuery list;
        list.q.edit();
        whileOpen(app, [&](Screen* s) {
            QCOMPARE(s->windowTitle(), QStringLiteral("Cadastro de Contato"));
            QCOMPARE(s->PageControl1->tabText(0), QStringLiteral("Dados "));
            QCOMPARE(s->PageControl1->currentWidget(), s->TabSheet1);
            QVERIFY(s->BitBtn1->isDefault());
            // Field 0 is labelled "ID": the name box has the focus, highlighted.
            QCOMPARE(QApplication::focusWidget(), s->edtNome);
            QCOMPARE(base(s->edtNome), colorFromNumber(colors::focusHighlight));
            // The key box: first in its page's tab order, disabled in the button face.
            QVERIFY(!s->edtId->isEnabled());
            QCOMPARE(base(s->edtId), colorFromNumber(0x8000000F));
            QVERIFY(s->edtEndereco->isEnabled() &&
                    s->edtBairro->isEnabled()); // page 2 starts with a tagged box
            QCOMPARE(s->edtSite->palette().color(QPalette::Text), colorFromNumber(0x80000011));

            s->PageControl1->setCurrentWidget(s->TabSheet2);
            s->edtCidade->setFocus(Qt::TabFocusReason);
            QCOMPARE(s->ownFocusIns, 1);
            QCOMPARE(base(s->edtCidade), colorFromNumber(colors::focusHighlight));
            QCOMPARE(base(s->edtNome), colorFromNumber(5 | 0x80000000));

            if (qEnvironmentVariableIsSet("DV_SHOTS")) {
                s->PageControl1->setCurrentWidget(s->TabSheet1);
                s->edtNome->setFocus();
                QCoreApplication::processEvents();
                s->grab().save(qEnvironmentVariable("DV_SHOTS") + QStringLiteral("/cadastro.png"));
                s->PageControl1->setCurrentWidget(s->TabSheet2);
                QCoreApplication::processEvents();
                s->grab().save(qEnvironmentVariable("DV_SHOTS") + QStringLiteral("/cadastro2.png"));
            }
        });
        DV_VERIFY_SERVICES(app.s);
    }
};

QTEST_MAIN(TestMaintenanceBase)
#include "tst_maintenance_base.moc"
