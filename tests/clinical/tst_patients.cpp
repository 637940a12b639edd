#include "ClinicalFixture.h"
#include "clinical/PacienteManutPhoto.h"
#include "clinical/U_frmConsulta.h"
#include "core/Application.h"
#include "core/ErrorTranslator.h"
#include "core/IniFile.h"
#include "core/LanguageFile.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

const QString kRequired = QStringLiteral("O campo \"%1\" é de preenchimento obrigatório!");

bool tabShown(TfrmPaciente_Manut* r, QWidget* page) {
    return r->PageControl1->isTabVisible(r->PageControl1->indexOf(page));
}

// Fills the two required boxes of a new record.
void fillRequired(TfrmPaciente_Manut* r, const QString& name) {
    typeAtCaret(r->DBEditNome, name);
    r->DBLookupConvenio->setKeyValue(1);
}

} // namespace

// The patient list and the patient record, driven as a user would.
class TestPatients : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void listColumnsOptionsAndNewRows() {
        PatientsApp a;
        TfrmPaciente* list = a.openList();
        QVERIFY(list);
        QCOMPARE(list->windowTitle(), QStringLiteral("Pacientes"));
        QStringList titles, fields;
        for (const GridColumn& c : list->wwDBGrid1->columns()) {
            titles << list->wwDBGrid1->fieldTitle(c.fieldName);
            fields << c.fieldName;
        }
        QCOMPARE(titles, (QStringList{"Nome",
                                      "Profissao",
                                      "Rg",
                                      "Registro",
                                      "Endereço",
                                      "Cpf",
                                      "id",
                                      "Número",
                                      "Complemento",
                                      "Bairro",
                                      "Cidade",
                                      "Cep",
                                      "UF",
                                      "Ativo",
                                      "Fone",
                                      "Fone Comercial",
                                      "Celular",
                                      "Foto",
                                      "Data Nascimento",
                                      "email",
                                      "Anotaçao",
                                      "Sexo",
                                      "Data Cadastro",
                                      "Conv. Orgão",
                                      "Matrícula",
                                      "Num Dependentes",
                                      "Titular"}));
        QVERIFY(!fields.contains(QStringLiteral("convenio_id")));
        QCOMPARE(list->wwDBGrid1->fieldWidth(QStringLiteral("paciente_email")), 70);
        QStringList options;
        for (QAction* o : list->PopupOpcoes->actions())
            options << o->text();
        QCOMPARE(options, (QStringList{"Visualizar Consultas do Paciente", "Aniversariante do Mês (Atual)",
                                       "Aniversariante do Mês (Posterior)", "Mensagem de Aniversário (WhatsApp)",
                                       "Emitir Etiquetas "}));

        // A new patient starts today and active; the record shows five pages, without
        // the answers until the patient is saved.
        a.app.s.clock.set(QDateTime(QDate(2026, 7, 4), QTime(10, 0)));
        QStringList tabs;
        bool answersShown = true, warningShown = true;
        QString dateShown, activeFlag;
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            for (int i = 0; i < r->PageControl1->count(); ++i)
                tabs << r->PageControl1->tabText(i);
            answersShown = tabShown(r, r->TabSheet2);
            warningShown = r->lbParcelas->isVisible();
            dateShown = r->DBDateCadastro->text();
            activeFlag = r->editedDataset()->fieldByName(QStringLiteral("paciente_ativo"))->asString();
        }));
        QCOMPARE(tabs, (QStringList{"Dados do Paciente", "Anamnese do Paciente", "Fotos do Paciente",
                                    "Tratamentos a serem feitos", "  Parcelas em aberto ", "Consentimento"}));
        QVERIFY(!answersShown);
        QVERIFY(!warningShown);
        QCOMPARE(dateShown, QStringLiteral("04/07/2026"));
        QCOMPARE(activeFlag, QStringLiteral("S"));
        QCOMPARE(list->SQL_Consulta->recordCount(), 0); // closing cancelled the new row
    }

    // One "N" answer per question, in question order, on the first save only; the
    // boxes store what the masks and capitalization make of the typed text.
    void savingGeneratesTheAnamnesisOnce() {
        PatientsApp a;
        a.openList();
        const QStringList questions = a.questionOrder();
        QVERIFY(questions.size() > 3);
        bool shownAfterSave = false;
        dm().SQL_Paciente->openIfOnDemand(); // another screen has read the patients
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            fillRequired(r, QStringLiteral("MARIA DA SILVA"));
            typeAtCaret(r->DBEditEmail, QStringLiteral("Maria.Silva@Example.com"));
            typeAtCaret(r->DBEditCep, QStringLiteral("12345678"));
            typeAtCaret(r->DBEditFone, QStringLiteral("11011987654321"));
            typeAtCaret(r->DBEditRg, QStringLiteral("mg1234"));
            typeAtCaret(r->DBEditNumero, QStringLiteral("12b"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
            shownAfterSave = tabShown(r, r->TabSheet2);
            QCOMPARE(r->SQL_AnamnesePaciente->recordCount(), questions.size());
            // Saving again adds nothing.
            typeAtCaret(r->DBEditProfissao, QStringLiteral("dentista"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        QVERIFY(shownAfterSave);
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Information).size(), 2); // no CPF, twice
        const qint64 id = a.count(QStringLiteral("select max(paciente_id) from paciente"));
        QCOMPARE(a.texts(QStringLiteral("select paciente_nome from paciente")),
                 QStringList{"Maria da Silva"});
        QCOMPARE(a.texts(QStringLiteral("select paciente_email from paciente")),
                 QStringList{"Maria.Silva@Example.com"});
        QCOMPARE(a.texts(QStringLiteral("select paciente_cep from paciente")), QStringList{"12345678"});
        QCOMPARE(a.texts(QStringLiteral("select paciente_fone from paciente")),
                 QStringList{"11(011)98765-4321"});
        QCOMPARE(a.texts(QStringLiteral("select paciente_profissao from paciente")), QStringList{"Dentista"});
        QCOMPARE(a.texts(QStringLiteral("select paciente_rg || ' ' || paciente_numero from paciente")),
                 QStringList{"MG1234 12B"});
        QCOMPARE(a.texts(QStringLiteral("select anamnese_id from anamnese_paciente a join anamnese q using "
                                        "(anamnese_id) where paciente_id = :id order by q.anamnese_ordem"),
                         PatientsApp::id(id)),
                 questions);
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from anamnese_paciente where anamnese_resposta = 'N'")),
            questions.size());
        // Other screens see the new patient.
        QVERIFY(dm().SQL_Paciente->locate(QStringLiteral("paciente_id"), id));
        DV_VERIFY_SERVICES(a.app.s);
    }

    void saveRefusedWithoutWhatIsRequired_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plan");
        QTest::addColumn<QString>("cpf");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no name") << "" << true << "" << kRequired.arg("Nome");
        QTest::newRow("no plan") << "Ana" << false << "" << kRequired.arg("Convênio");
        QTest::newRow("CPF of ten digits") << "Ana" << true << "1234567890"
                                           << "O CPF deve conter 11 dígitos!";
        QTest::newRow("CPF with wrong check digits") << "Ana" << true << "11144477734"
                                                     << "CPF errado, corrija-o!";
    }
    void saveRefusedWithoutWhatIsRequired() {
        QFETCH(QString, name);
        QFETCH(bool, plan);
        QFETCH(QString, cpf);
        QFETCH(QString, warning);
        PatientsApp a;
        a.openList();
        bool stillInserting = false;
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            if (!name.isEmpty()) typeAtCaret(r->DBEditNome, name);
            if (plan) r->DBLookupConvenio->setKeyValue(1);
            if (!cpf.isEmpty()) typeAtCaret(r->DBEditCpf, cpf);
            r->BitBtn1->click();
            stillInserting = r->editedDataset()->state() == DatasetState::Insert;
            a.dialogs().queueQuestion(DialogService::Answer::No); // closing gives it up
        }));
        QVERIFY(stillInserting);
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Warning), QStringList{warning});
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente")), 0);
        QCOMPARE(a.count(QStringLiteral("select count(*) from anamnese_paciente")), 0);
    }

    void refazerAnamnese_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the answers") << false;
        QTest::newRow("Yes makes fresh ones for the current questions") << true;
    }
    void refazerAnamnese() {
        QFETCH(bool, yes);
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Bruno Souza"));
        const QStringList before = a.questionOrder();
        for (const QString& q : before)
            a.insert(QStringLiteral("anamnese_paciente"),
                     {{QStringLiteral("paciente_id"), p},
                      {QStringLiteral("anamnese_id"), q.toInt()},
                      {QStringLiteral("anamnese_resposta"), q == before.first() ? "S" : "N"},
                      {QStringLiteral("anamnese_anotacao"), q == before.first() ? "Penicilina" : ""}},
                     QString());
        // A question added to the template after the answers were made.
        a.insert(QStringLiteral("anamnese"),
                 {{QStringLiteral("anamnese_nome"), QStringLiteral("Usa aparelho?")},
                  {QStringLiteral("anamnese_ordem"), 999}},
                 QStringLiteral("anamnese_id"));
        const QStringList now = a.questionOrder();
        a.openList();
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            QVERIFY(tabShown(r, r->TabSheet2));
            a.dialogs().queueConfirmation(yes);
            r->Button1->click();
        }));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Confirmation),
                 QStringList{"Deja realmente refazer a Anamnese do paciente?"});
        const QString answers =
            QStringLiteral("select anamnese_id from anamnese_paciente a join anamnese q using "
                           "(anamnese_id) where paciente_id = :id order by q.anamnese_ordem");
        QCOMPARE(a.texts(answers, PatientsApp::id(p)), yes ? now : before);
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from anamnese_paciente where anamnese_resposta = 'S'")),
            yes ? 0 : 1);
    }

    // An anamnesis answer ticked and its note typed are never lost: the pending answer
    // alone enables Salvar, which saves it; Fechar and Escape ask, Sim saves it, Não
    // discards it, Cancelar keeps the record open with it.
    void anamnesisAnswerKeptOrAsked_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer"); // the closing question's; -1 when none is asked
        QTest::addColumn<bool>("kept");
        const int yes = int(DialogService::Answer::Yes), no = int(DialogService::Answer::No),
                  cancel = int(DialogService::Answer::Cancel);
        QTest::newRow("Salvar saves it") << "Salvar" << -1 << true;
        QTest::newRow("Fechar, Sim saves it") << "Fechar" << yes << true;
        QTest::newRow("Escape, Sim saves it") << "Escape" << yes << true;
        QTest::newRow("Fechar, Não discards it") << "Fechar" << no << false;
        QTest::newRow("Escape, Cancelar keeps it open") << "Escape" << cancel << false;
    }
    void anamnesisAnswerKeptOrAsked() {
        QFETCH(QString, how);
        QFETCH(int, answer);
        QFETCH(bool, kept);
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Bruno Souza"));
        for (const QString& q : a.questionOrder())
            a.insert(QStringLiteral("anamnese_paciente"),
                     {{QStringLiteral("paciente_id"), p},
                      {QStringLiteral("anamnese_id"), q.toInt()},
                      {QStringLiteral("anamnese_resposta"), "N"}},
                     QString());
        a.openList();
        int question = 0;
        bool salvarAfterSave = true, salvarAfterTick = false, openAfter = false;
        QString noteWhileOpen;
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click(); // the record saved as it is
            salvarAfterSave = r->BitBtn1->isEnabled();
            r->PageControl1->setCurrentWidget(r->TabSheet2);
            dv::DBGrid* grid = r->wwDBGrid2;
            auto* model = grid->model();
            auto columnOf = [&](const QString& field) {
                for (int c = 0; c < model->columnCount(); ++c)
                    if (grid->fieldAt(c) && grid->fieldAt(c)->fieldName() == field) return c;
                return -1;
            };
            const QModelIndex tick = model->index(1, columnOf(QStringLiteral("anamnese_resposta")));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(tick).center());
            question = r->SQL_AnamnesePaciente->fieldByName(QStringLiteral("anamnese_id"))->asInteger();
            salvarAfterTick = r->BitBtn1->isEnabled();
            // The note is typed into the cell; Fechar takes the focus from the open editor.
            grid->setFocus();
            grid->setCurrentIndex(model->index(1, columnOf(QStringLiteral("anamnese_anotacao"))));
            QTest::keyClick(grid, 'P');
            auto* editor = grid->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            QTest::keyClicks(editor, QStringLiteral("enicilina"));
            if (how != QLatin1String("Fechar")) {
                QTest::keyClick(editor, Qt::Key_Return);
                QCoreApplication::processEvents(); // the view commits on its next turn
            }
            if (answer >= 0) a.dialogs().queueQuestion(DialogService::Answer(answer));
            if (how == QLatin1String("Salvar")) {
                a.dialogs().queueConfirmation(true);
                r->BitBtn1->click();
            } else if (how == QLatin1String("Fechar")) {
                QTest::mouseClick(r->BitBtn2, Qt::LeftButton);
            } else {
                r->PageControl1->setCurrentWidget(r->TabSheet1);
                r->DBEditNome->setFocus();
                QTest::keyClick(r->DBEditNome, Qt::Key_Escape);
            }
            openAfter = r->isVisible();
            if (openAfter) {
                noteWhileOpen =
                    r->SQL_AnamnesePaciente->fieldByName(QStringLiteral("anamnese_anotacao"))->asString();
                if (how != QLatin1String("Salvar")) a.dialogs().queueQuestion(DialogService::Answer::No);
            }
        }));
        QVERIFY(!salvarAfterSave);
        QVERIFY(salvarAfterTick);
        QCOMPARE(openAfter, how == QLatin1String("Salvar") || answer == int(DialogService::Answer::Cancel));
        if (answer == int(DialogService::Answer::Cancel))
            QCOMPARE(noteWhileOpen, QStringLiteral("Penicilina"));
        const Params params{Param{QStringLiteral("p"), ParamType::Integer, p},
                            Param{QStringLiteral("q"), ParamType::Integer, question}};
        QCOMPARE(a.texts(QStringLiteral("select anamnese_resposta || '/' || coalesce(anamnese_anotacao, '') "
                                        "from anamnese_paciente where paciente_id = :p and anamnese_id = :q"),
                         params),
                 QStringList{kept ? QStringLiteral("S/Penicilina") : QStringLiteral("N/")});
        const QStringList questions = a.dialogs().texts(ScriptedDialogs::Kind::Question);
        const int asked = answer < 0 ? 0 : answer == int(DialogService::Answer::Cancel) ? 2 : 1;
        QCOMPARE(questions.size(), asked);
        for (const QString& q : questions)
            QCOMPARE(q, QStringLiteral("Existem alterações não salvas. Deseja salvá-las?"));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Confirmation).size(), how == "Salvar" ? 2 : 1);
        DV_VERIFY_SERVICES(a.app.s);
    }

    void birthdays_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("this month, December") << QDate(2026, 12, 15) << "atual" << QStringList{"Bruno"};
        QTest::newRow("next month of December is January")
            << QDate(2026, 12, 15) << "posterior" << QStringList{"Ana", "Elisa"};
        QTest::newRow("next month of July") << QDate(2026, 7, 1) << "posterior" << QStringList{"Davi"};
        QTest::newRow("print prepares this month")
            << QDate(2026, 1, 31) << "imprimir" << QStringList{"Ana", "Elisa"};
    }
    void birthdays() {
        QFETCH(QDate, today);
        QFETCH(QString, action);
        QFETCH(QStringList, listed);
        PatientsApp a;
        a.addPatient(QStringLiteral("Ana"),
                     {{QStringLiteral("paciente_data_nascimento"), QDate(1980, 1, 5)}});
        a.addPatient(QStringLiteral("Bruno"),
                     {{QStringLiteral("paciente_data_nascimento"), QDate(1990, 12, 31)}});
        a.addPatient(QStringLiteral("Carla")); // no birth date: in no list
        a.addPatient(QStringLiteral("Davi"),
                     {{QStringLiteral("paciente_data_nascimento"), QDate(2001, 8, 1)}});
        a.addPatient(QStringLiteral("Elisa"),
                     {{QStringLiteral("paciente_data_nascimento"), QDate(1975, 1, 31)}});
        a.app.s.clock.set(QDateTime(today, QTime(9, 0)));
        TfrmPaciente* list = a.openList();
        QStringList reports;
        whenModal([&](QWidget* w) {
            if (auto* picker = qobject_cast<TfrmRelatorio*>(w))
                for (int i = 0; i < picker->ReportLB->count(); ++i)
                    reports << picker->ReportLB->item(i)->text();
            w->close();
        });
        if (action == QLatin1String("atual"))
            list->AniversarianteAtual1->trigger();
        else if (action == QLatin1String("posterior"))
            list->AniversariantePosterior1->trigger();
        else
            list->btnImprimirClick();
        QCOMPARE(reports,
                 (QStringList{"Aniversariantes do Mês", "Etiquetas de Endereçamento", "Lista de Pacientes"}));
        QCOMPARE(session().screenName(), QStringLiteral("frmPaciente"));
        QStringList names;
        Dataset* b = list->SQL_Aniversario;
        for (b->first(); !b->eof(); b->next())
            names << b->fieldByName(QStringLiteral("paciente_nome"))->asString();
        names.sort();
        QCOMPARE(names, listed);
        QCOMPARE(reportConnections().dataset(QStringLiteral("Rv_Aniversario")), b);
        QCOMPARE(reportConnections().dataset(QStringLiteral("RV_Paciente")), list->SQL_Consulta);
    }

    // What is still to be done and to be paid, over every consultation of the patient.
    void openTreatmentsAndInstallments_data() {
        QTest::addColumn<QStringList>("installments"); // per consultation: "" none, "S" paid off, "N" open
        QTest::addColumn<int>("open");
        QTest::newRow("none") << QStringList{"", ""} << 0;
        QTest::newRow("all paid off") << QStringList{"S", "S"} << 0;
        QTest::newRow("one open in the second consultation") << QStringList{"S", "N"} << 1;
        QTest::newRow("open in both") << QStringList{"N", "N"} << 2;
    }
    void openTreatmentsAndInstallments() {
        QFETCH(QStringList, installments);
        QFETCH(int, open);
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Carlos Lima"));
        // The items name service 1; the installation's own service 1 makes way.
        a.app.db().execute(QStringLiteral("delete from servico where servico_id = 1"));
        QCOMPARE(a.insert(QStringLiteral("servico"),
                          {{QStringLiteral("servico_id"), 1},
                           {QStringLiteral("servico_nome"), QStringLiteral("Restauração")}},
                          QStringLiteral("servico_id")),
                 1);
        LoggedIn::reopen(dm().SQL_Servico);
        const qint64 other = a.addPatient(QStringLiteral("Outro Paciente"));
        const qint64 approved = a.addConsultation(p, QStringLiteral("S"));
        const qint64 pending = a.addConsultation(p, QStringLiteral("N"));
        a.addItem(approved, QStringLiteral("restauração"), QStringLiteral("N"));
        a.addItem(approved, QStringLiteral("limpeza feita"), QStringLiteral("S"));
        a.addItem(pending, QStringLiteral("canal"), QStringLiteral("N"));
        const qint64 foreign = a.addConsultation(other);
        a.addItem(foreign, QStringLiteral("de outro"), QStringLiteral("N"));
        a.addInstallment(foreign, other, 1, QStringLiteral("N"));
        const qint64 consultations[] = {approved, pending};
        for (int i = 0; i < 2; ++i)
            if (!installments[i].isEmpty()) a.addInstallment(consultations[i], p, i + 1, installments[i]);
        a.openList();
        QStringList todo;
        int rows = -1;
        bool warning = false;
        QString warningStyle;
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            Dataset* s = r->SQL_ServicoFazer;
            for (s->first(); !s->eof(); s->next())
                todo << s->fieldByName(QStringLiteral("item_consulta_descricao"))->asString() +
                            QLatin1Char('/') + s->fieldByName(QStringLiteral("lk_Servico"))->asString();
            rows = r->SQL_Parcelas->recordCount();
            warning = r->lbParcelas->isVisible();
            warningStyle = r->lbParcelas->styleSheet();
            QVERIFY(r->wwDBGrid3->isReadOnly() && r->wwDBGrid5->isReadOnly());
        }));
        todo.sort();
        QCOMPARE(todo, (QStringList{"canal/Restauração", "restauração/Restauração"}));
        QCOMPARE(rows, open);
        QCOMPARE(warning, open > 0);
        QVERIFY(warningStyle.contains(QStringLiteral("#ff0000")));
    }

    // The main photo and the photo list keep the bytes of the chosen JPEG files.
    void photosStoredAndShown() {
        QTemporaryDir dir;
        const QByteArray main = writeJpeg(dir.filePath("main.jpg"), Qt::darkCyan);
        const QByteArray first = writeJpeg(dir.filePath("a.jpg"), Qt::red, QSize(300, 200));
        const QByteArray second = writeJpeg(dir.filePath("b.jpg"), Qt::blue, QSize(200, 300));
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Diana Rocha"));
        a.app.s.clock.set(QDateTime(QDate(2026, 5, 20), QTime(8, 0)));
        a.openList();
        bool mainShown = false, largeShown = false;
        QString caption;
        QStringList checks;
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            a.app.s.fileDialogs.queueOpen(dir.filePath("main.jpg"));
            r->Button4->click();
            // Cancelling the dialog still shows the stored photo again.
            r->Image1->clearPicture();
            a.app.s.fileDialogs.queueOpen(QString());
            r->Button4->click();
            mainShown = r->Image1->hasPicture();
            a.app.s.fileDialogs.queueOpen(dir.filePath("a.jpg"));
            a.dialogs().queueInput(QStringLiteral("Sorriso"));
            r->Button2->click();
            a.app.s.fileDialogs.queueOpen(dir.filePath("b.jpg"));
            a.dialogs().queueInput(std::nullopt); // cancelled: the default title
            r->Button2->click();
            r->SQL_Foto->first();
            r->btnVerFotoClick();
            largeShown = r->Image2->hasPicture() && r->Image2->picture().size() == QSize(300, 200);
            caption = r->GroupBox2->title();
            // A click on a photo's row shows that photo.
            r->PageControl1->setCurrentWidget(r->TabSheet3);
            DBGrid* g = r->wwDBGrid4;
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                              g->visualRect(g->model()->index(1, 0)).center());
            QTRY_COMPARE(r->Image2->picture().size(), QSize(200, 300));
            for (QCheckBox* c : {r->CheckBox2, r->CheckBox1, r->CheckBox3})
                checks << QString::number(c->isChecked());
            // Each box flips its own display option.
            r->CheckBox3->click();
            QVERIFY(r->Image2->stretch() && r->Image2->center() && !r->Image2->proportional());
            r->CheckBox1->click();
            QVERIFY(!r->Image2->center());
            // Removing takes the current photo away at once.
            r->SQL_Foto->last();
            r->Button3->click();
        }));
        QVERIFY(mainShown);
        QVERIFY(largeShown);
        QCOMPARE(caption, QStringLiteral("Foto  cadastrada no dia 20/05/2026"));
        QCOMPARE(checks, (QStringList{"0", "1", "0"}));
        QCOMPARE(a.blob(QStringLiteral("select paciente_foto from paciente where paciente_id = :id"),
                        PatientsApp::id(p)),
                 main);
        QCOMPARE(a.texts(QStringLiteral("select foto_titulo from foto where paciente_id = :id"),
                         PatientsApp::id(p)),
                 QStringList{"Sorriso"});
        QCOMPARE(
            a.blob(QStringLiteral("select foto_img from foto where paciente_id = :id"), PatientsApp::id(p)),
            first);
        QCOMPARE(a.texts(QStringLiteral("select foto_data from foto")), QStringList{"2026-05-20 00:00:00"});
        Q_UNUSED(second);
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::InputBox), (QStringList{"Título", "Título"}));
        DV_VERIFY_SERVICES(a.app.s);
    }

    // A file that is missing, cut off or no JPEG is refused with a message; nothing
    // is stored and the row's other pending changes stay pending.
    void badPictureFilesStoreNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.jpg"
                                 << "não foi encontrado";
        QTest::newRow("a folder") << "folder.jpg"
                                  << "não foi encontrado";
        QTest::newRow("PNG named .jpg") << "png.jpg"
                                        << "não é uma imagem JPEG válida";
        QTest::newRow("cut off") << "cut.jpg"
                                 << "não é uma imagem JPEG válida";
        QTest::newRow("empty") << "empty.jpg"
                               << "não é uma imagem JPEG válida";
    }
    void badPictureFilesStoreNothing() {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        QImage png(40, 40, QImage::Format_RGB32);
        png.fill(Qt::green);
        png.save(dir.filePath("png.jpg"), "PNG");
        const QByteArray whole = writeJpeg(dir.filePath("whole.jpg"), Qt::yellow, QSize(400, 400));
        QFile cut(dir.filePath("cut.jpg"));
        cut.open(QIODevice::WriteOnly);
        cut.write(whole.left(whole.size() / 2));
        cut.close();
        QFile(dir.filePath("empty.jpg")).open(QIODevice::WriteOnly);
        const QString path = dir.filePath(file);

        PatientsApp a;
        const qint64 p =
            a.addPatient(QStringLiteral("Eva Prado"), {{QStringLiteral("paciente_profissao"), "Arquiteta"}});
        a.openList();
        bool stillEditing = false;
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            typeAtCaret(r->DBEditProfissao, QStringLiteral(" e Artista"));
            a.app.s.fileDialogs.queueOpen(path);
            r->Button4->click();
            stillEditing = r->editedDataset()->state() == DatasetState::Edit;
            a.app.s.fileDialogs.queueOpen(path);
            r->Button2->click();
            QCOMPARE(r->SQL_Foto->state(), DatasetState::Browse);
            a.dialogs().queueQuestion(DialogService::Answer::No); // closing gives the typing up
        }));
        QVERIFY(stillEditing);
        const QStringList warnings = a.dialogs().texts(ScriptedDialogs::Kind::Warning);
        QCOMPARE(warnings.size(), 2);
        for (const QString& w : warnings) {
            QVERIFY2(w.contains(reason) && w.contains(QDir::toNativeSeparators(path)), qPrintable(w));
        }
        QVERIFY(a.blob(QStringLiteral("select paciente_foto from paciente where paciente_id = :id"),
                       PatientsApp::id(p))
                    .isEmpty());
        QCOMPARE(a.texts(QStringLiteral("select paciente_profissao from paciente")),
                 QStringList{"Arquiteta"});
        QCOMPARE(a.count(QStringLiteral("select count(*) from foto")), 0);
        DV_VERIFY_SERVICES(a.app.s);
    }

    // Pictures from cameras and phones: decoded whole before they are stored.
    void cameraPicturesAreDecodedWhole_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        QTest::newRow("cut off after its EXIF thumbnail") << "thumb.jpg"
                                                          << "não é uma imagem JPEG válida";
        QTest::newRow("60 megapixels") << "huge.jpg"
                                       << "A imagem tem 60 megapixels; o limite é 50.";
        QTest::newRow("48-megapixel phone photo") << "phone.jpg" << QString();
    }
    void cameraPicturesAreDecodedWhole() {
        QFETCH(QString, file);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        auto save = [&path](const QByteArray& bytes) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        if (file == QLatin1String("thumb.jpg")) {
            // A camera puts a small preview, a whole JPEG with its own end mark, in the
            // EXIF segment before the picture; the picture itself is cut off.
            const QByteArray thumb = writeJpeg(dir.filePath("t.jpg"), Qt::blue, QSize(160, 120));
            const QByteArray photo = writeJpeg(dir.filePath("p.jpg"), Qt::darkGreen, QSize(800, 600));
            QByteArray app1 = QByteArrayLiteral("Exif") + QByteArray(2, '\0') + thumb;
            const int length = int(app1.size()) + 2;
            app1.prepend(char(length & 0xFF)).prepend(char(length >> 8)).prepend("\xFF\xE1");
            const QByteArray whole = photo.left(2) + app1 + photo.mid(2);
            save(whole.left(whole.size() - (photo.size() - 2) / 2));
        } else if (file == QLatin1String("huge.jpg")) {
            // Only the header is read for the size: a small picture says 10000 x 6000.
            QByteArray bytes = writeJpeg(dir.filePath("s.jpg"), Qt::gray, QSize(64, 48));
            const qsizetype sof = bytes.indexOf(QByteArrayLiteral("\xFF\xC0"));
            QVERIFY(sof > 0);
            bytes.replace(sof + 5, 4, QByteArrayLiteral("\x17\x70\x27\x10"));
            save(bytes);
        } else {
            // Flat colour: 8000 x 6000 compresses small; Qt's default allocation limit
            // would refuse to decode it.
            QImage photo(8000, 6000, QImage::Format_RGB888);
            photo.fill(Qt::darkYellow);
            QVERIFY(photo.save(path, "JPG", 50));
        }
        QString message;
        const std::optional<QByteArray> jpeg = readJpegFile(path, &message);
        if (refusal.isEmpty()) {
            QVERIFY2(jpeg.has_value(), qPrintable(message));
        } else {
            QVERIFY(!jpeg);
            QVERIFY2(message.contains(refusal) && message.contains(QDir::toNativeSeparators(path)),
                     qPrintable(message));
        }
    }

    // A new patient has no key yet: photos wait until it is saved.
    void photoOfUnsavedPatientWaits() {
        QTemporaryDir dir;
        writeJpeg(dir.filePath("x.jpg"), Qt::gray);
        PatientsApp a;
        a.openList();
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            fillRequired(r, QStringLiteral("Novo Paciente"));
            a.app.s.fileDialogs.queueOpen(dir.filePath("x.jpg"));
            r->Button2->click();
            a.dialogs().queueQuestion(DialogService::Answer::No); // closing gives it up
        }));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Information),
                 QStringList{"Salve o cadastro do paciente antes de inserir fotos."});
        QCOMPARE(a.count(QStringLiteral("select count(*) from foto")), 0);
    }

    // The patient's consultations open from the list's option and from the record's button,
    // on that patient.
    void consultationsThroughTheOpener() {
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Fabio"));
        const qint64 q = a.addPatient(QStringLiteral("Gil"));
        TfrmPaciente* list = a.openList();
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("paciente_id"), p));
        list->VisualizarConsultas1->trigger();
        auto* consultations =
            qobject_cast<TfrmConsulta*>(a.app.opener().openScreen(QStringLiteral("frmConsulta")));
        QVERIFY(consultations);
        QCOMPARE(consultations->DBLC_Paciente->keyValue().toLongLong(), p);
        QVERIFY(a.withRecord(q, [&](TfrmPaciente_Manut* r) { r->BitBtn3->click(); }));
        QTRY_COMPARE(consultations->DBLC_Paciente->keyValue().toLongLong(), q);
        QVERIFY(a.dialogs().texts().isEmpty());
    }

    void refreshAndDelete() {
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Gabriel"));
        a.insert(QStringLiteral("anamnese_paciente"),
                 {{QStringLiteral("paciente_id"), p},
                  {QStringLiteral("anamnese_id"), 1},
                  {QStringLiteral("anamnese_resposta"), "N"}},
                 QString());
        TfrmPaciente* list = a.openList();
        dm().SQL_Paciente->openIfOnDemand(); // another screen has read the patients
        const qint64 later = a.addPatient(QStringLiteral("Helena"));
        QVERIFY(!dm().SQL_Paciente->locate(QStringLiteral("paciente_id"), later));
        list->btnRefreshClick();
        QCOMPARE(list->SQL_Consulta->recordCount(), 2);
        QVERIFY(dm().SQL_Paciente->locate(QStringLiteral("paciente_id"), later));
        // A patient with answers stays; the error translator says why.
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("paciente_id"), p));
        a.dialogs().queueConfirmation(true);
        QTest::mouseClick(list->btnExcluir, Qt::LeftButton);
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente")), 2);
        QVERIFY2(a.dialogs().lastText().contains(QStringLiteral("anamnese_paciente")),
                 qPrintable(a.dialogs().lastText()));
    }

    // The shipped translations give every text the screens show.
    void languageFilesCoverEveryText_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("code");
        for (const char* form : {"frmPaciente", "frmPaciente_Manut"})
            for (const char* code : {"en", "es"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(form, code))) << form << code;
    }
    void languageFilesCoverEveryText() {
        QFETCH(QString, form);
        QFETCH(QString, code);
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Ivo"));
        TfrmPaciente* list = a.openList();
        const QString file = LanguageFile::path(QStringLiteral(DV_APP_DIR "/"), code, form);
        QVERIFY2(QFile::exists(file), qPrintable(file));
        QSettings ini(file, QSettings::IniFormat);
        auto check = [&](QWidget* screen) {
            const QStringList lines = LanguageFile::capture(screen, form);
            int keys = 0;
            for (const QString& line : lines.mid(1)) {
                const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
                const QString value = line.section(QLatin1Char('='), 1);
                // Qt's own parts, the window-list entry and hidden columns titled by their names.
                const QString name = key.section(QLatin1Char('.'), 0, 0);
                if (value.trimmed().isEmpty() || key.endsWith(QLatin1String(".Items")) ||
                    name.startsWith(QLatin1String("_q_")) || name.startsWith(QLatin1String("Scroll")) ||
                    name == form + QLatin1String("_Janela") || name.endsWith(value.trimmed()))
                    continue;
                ++keys;
                QVERIFY2(!IniFile::readString(file, form, key).isEmpty(),
                         qPrintable(key + " missing in " + file));
            }
            QVERIFY(keys > 20);
        };
        if (form == QLatin1String("frmPaciente"))
            check(list);
        else
            QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) { check(r); }));
    }

    // The grid's titles are the fields' labels of the language file, also once a
    // layout was stored (in another language) and read back.
    void gridTitlesFollowTheLanguage() {
        PatientsApp a;
        const QString before = session().language();
        auto back = qScopeGuard([&] { session().setLanguage(before); });
        const QString store = a.app.folder.path() + QStringLiteral("Dentrivale.ini");
        const QString section = QStringLiteral("frmPacientewwDBGrid1");
        struct Step {
            const char* language;
            const char* nameTitle;
        };
        for (const Step& step : {Step{"en", "Name"}, Step{"es", "Nombre"}, Step{"pt_BR", "Nome"}, Step{"en", "Name"}}) {
            session().setLanguage(QLatin1String(step.language));
            a.openList();
            QCOMPARE(a.list->wwDBGrid1->fieldTitle(QStringLiteral("paciente_nome")), QLatin1String(step.nameTitle));
            const int column = a.list->wwDBGrid1->gridModel()->columnOf(QStringLiteral("paciente_nome"));
            QCOMPARE(a.list->wwDBGrid1->model()->headerData(column, Qt::Horizontal).toString(),
                     QLatin1String(step.nameTitle));
            QTest::mouseClick(a.list->btnSair, Qt::LeftButton);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            // Stored as the screen designed it, whatever the language.
            const SettingsEntries saved = a.app.s.settings.readSection(SettingsHive::User, store, section);
            QVERIFY(!saved.isEmpty());
            QCOMPARE(saved.first().first, QStringLiteral("paciente_nome"));
            QCOMPARE(saved.first().second.section(QStringLiteral(";;"), 1, 1), QStringLiteral("Nome"));
        }
    }

    // ---- keys through the lookup boxes ----

    // A required lookup left empty: the warning, then the focus in that box on the
    // page the user is on (the box's editor, not a jump to another page).
    void emptyRequiredLookupKeepsThePage() {
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Carla Nunes"));
        a.openList();
        QWidget* focusAfter = nullptr;
        QWidget* pageAfter = nullptr;
        bool stillEditing = false;
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            QApplication::setActiveWindow(r);
            r->DBLookupConvenio->setFocus(Qt::TabFocusReason);
            r->DBLookupConvenio->lineEdit()->selectAll();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
            QVERIFY(r->editedDataset()->fieldByName(QStringLiteral("convenio_id"))->isNull());
            r->DBEditNome->setFocus();
            r->BitBtn1->click();
            focusAfter = QApplication::focusWidget();
            pageAfter = r->PageControl1->currentWidget();
            QCOMPARE(pageAfter, static_cast<QWidget*>(r->TabSheet1));
            QCOMPARE(focusAfter, r->DBLookupConvenio->lineEdit());
            stillEditing = r->editedDataset()->state() == DatasetState::Edit;
        }));
        QVERIFY(stillEditing);
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Warning), QStringList{kRequired.arg("Convênio")});
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente where convenio_id is null")), 0);
    }

    // The Estado box as a user types in it: the state's letters, Tab on to the next
    // box, and the digits typed next land there, not in the state.
    void stateTypedThenTabMovesOn() {
        PatientsApp a;
        const qint64 p = a.addPatient(QStringLiteral("Davi Rocha"));
        a.openList();
        QVERIFY(a.withRecord(p, [&](TfrmPaciente_Manut* r) {
            QApplication::setActiveWindow(r);
            auto focused = [] {
                QWidget* popup = QApplication::activePopupWidget();
                return popup ? (popup->focusWidget() ? popup->focusWidget() : popup)
                             : QApplication::focusWidget();
            };
            auto keys = [&](const QString& text) {
                for (const QChar c : text)
                    QTest::keyClick(focused(), char(c.unicode()));
            };
            r->DBEditCep->setFocus(Qt::TabFocusReason);
            QTest::keyClick(focused(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), r->DBLookupUF->lineEdit());
            keys(QStringLiteral("SC"));
            QTest::keyClick(focused(), Qt::Key_Tab);
            QVERIFY(!r->DBLookupUF->isPopupVisible());
            QWidget* next = QApplication::focusWidget();
            QVERIFY(next && next != r->DBLookupUF->lineEdit());
            QCOMPARE(r->DBLookupUF->text(), QString("SC"));
            keys(QStringLiteral("48"));
            QCOMPARE(r->DBLookupUF->text(), QString("SC"));
            auto* box = qobject_cast<QLineEdit*>(next);
            QVERIFY(box && box->text().contains(QStringLiteral("48")));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        QCOMPARE(
            a.texts(QStringLiteral("select uf_id from paciente where paciente_id = :id"), PatientsApp::id(p)),
            QStringList{"SC"});
    }

    // The masks come from the fields as designed, not from their translated labels: the
    // same keys give the same stored phone, CEP and CPF in every language.
    void storedValuesDoNotDependOnTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("pt_BR") << "pt_BR";
        QTest::newRow("en") << "en";
        QTest::newRow("es") << "es";
    }
    void storedValuesDoNotDependOnTheLanguage() {
        QFETCH(QString, language);
        PatientsApp a;
        const QString before = session().language();
        session().setLanguage(language);
        auto back = qScopeGuard([&] { session().setLanguage(before); });
        a.openList();
        const Field* phone = a.list->SQL_Consulta->fieldByName(QStringLiteral("paciente_fone"));
        QCOMPARE(phone->displayLabel() != QLatin1String("Fone"), language != QLatin1String("pt_BR"));
        QCOMPARE(phone->designedLabel(), QStringLiteral("Fone"));
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            fillRequired(r, QStringLiteral("Rita Lopes"));
            typeAtCaret(r->DBEditCep, QStringLiteral("12345-678"));
            typeAtCaret(r->DBEditFone, QStringLiteral("11011987654321"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        QCOMPARE(a.texts(QStringLiteral("select paciente_cep || ' ' || paciente_fone from paciente")),
                 QStringList{"12345678 11(011)98765-4321"});
    }
};

// The application's own event handling, so that an error of a click reaches the
// error translator as it does in the program.
int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    TestPatients test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_patients.moc"
