#include "OfficeFixture.h"
#include "core/ErrorTranslator.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportOutput.h"
#include "reporting/ReportProject.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/DBRadioGroup.h"
#include <QAction>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

bool hoursShown(TfrmDentista_Manut* m) {
    return m->PageControl1->isTabVisible(m->PageControl1->indexOf(m->TabSheet2));
}

// Types an hour into a new row of the hours page and posts it as the navigator does.
void addHour(TfrmDentista_Manut* m, const QString& hour) {
    m->DBNavigator1->press(DBNavigator::Insert);
    m->SQL_Horario->fieldByName(QStringLiteral("hora_id"))->setAsString(hour);
    guarded([m] { m->DBNavigator1->press(DBNavigator::Post); });
}

} // namespace

// Dentists and their hours, contacts, the company and the stock.
class TestOffice : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    // A new dentist's hours page appears once he is saved; hours are stored for the
    // chosen weekday, impossible and repeated ones are refused.
    void dentistHoursByWeekday() {
        OfficeApp a;
        auto* list = a.openList<TfrmDentista>(QStringLiteral("frmDentista"));
        QVERIFY(list);
        QVERIFY(OfficeApp::withRecord<TfrmDentista_Manut>(list, "dentista_id", 0, [&](TfrmDentista_Manut* m) {
            QVERIFY(!hoursShown(m));
            QCOMPARE(m->editedDataset()->fieldByName("dentista_ativo")->asString(), QStringLiteral("S"));
            typeAtCaret(m->DBEdit2, QStringLiteral("ANA LIMA"));
            a.dialogs().queueConfirmation(true);
            m->BitBtn1->click();
            QVERIFY(hoursShown(m));
            const QVariant id = m->editedDataset()->fieldByName("dentista_id")->asVariant();
            QVERIFY(dm().SQL_Dentista->locate(QStringLiteral("dentista_id"), id));
            QCOMPARE(m->rgDia->itemIndex(), 0);

            m->rgDia->button(6)->click(); // Dom
            addHour(m, QStringLiteral("10:00"));
            addHour(m, QStringLiteral("25:99"));
            m->SQL_Horario->cancel();
            addHour(m, QStringLiteral("10:00"));
            m->SQL_Horario->cancel();
            // A refused hour keeps its weekday and the row being typed.
            m->DBNavigator1->press(DBNavigator::Insert);
            m->SQL_Horario->fieldByName(QStringLiteral("hora_id"))->setAsString(QStringLiteral("7:5"));
            a.dialogs().queueConfirmation(true);
            m->rgDia->button(2)->click();
            QCOMPARE(m->rgDia->itemIndex(), 6);
            QCOMPARE(m->SQL_Horario->state(), DatasetState::Insert);
            m->SQL_Horario->cancel();
            QCOMPARE(fieldValues(m->SQL_Horario, QStringLiteral("hora_id")), QStringList{"10:00"});

            // A pending hour is asked about when the weekday changes: kept, then given up.
            m->DBNavigator1->press(DBNavigator::Insert);
            m->SQL_Horario->fieldByName(QStringLiteral("hora_id"))->setAsString(QStringLiteral("11:00"));
            a.dialogs().queueConfirmation(true);
            m->rgDia->button(0)->click();
            QVERIFY(fieldValues(m->SQL_Horario, QStringLiteral("hora_id")).isEmpty()); // Monday's
            m->DBNavigator1->press(DBNavigator::Insert);
            m->SQL_Horario->fieldByName(QStringLiteral("hora_id"))->setAsString(QStringLiteral("08:00"));
            a.dialogs().queueConfirmation(false);
            m->rgDia->button(1)->click();
        }));
        QCOMPARE(
            a.dialogs().texts(ScriptedDialogs::Kind::Warning),
            (QStringList{
                QStringLiteral("Horário inválido: \"25:99\". Digite a hora e os minutos, de 00:00 a 23:59."),
                QStringLiteral("O horário 10:00 já está cadastrado neste dia da semana."),
                QStringLiteral("Horário inválido: \"7:5\". Digite a hora e os minutos, de 00:00 a 23:59.")}));
        QCOMPARE(column(a.app.db(),
                        QStringLiteral("select dia_id || ' ' || hora_id from horario order by hora_id")),
                 (QStringList{"7 10:00", "7 11:00"}));
        QCOMPARE(a.value(QStringLiteral("select count(*) from horario where dentista_id is null")).toInt(),
                 0);
    }

    void inactiveDentistLeavesTheChoicesButNotTheList() {
        OfficeApp a;
        const qint64 ana = a.insert(QStringLiteral("insert into dentista (dentista_nome, dentista_ativo) "
                                                   "values ('ANA LIMA', 'S')"),
                                    QStringLiteral("dentista_id"));
        LoggedIn::reopen(dm().SQL_Dentista);
        auto* list = a.openList<TfrmDentista>(QStringLiteral("frmDentista"));
        QVERIFY(
            OfficeApp::withRecord<TfrmDentista_Manut>(list, "dentista_id", ana, [&](TfrmDentista_Manut* m) {
                QVERIFY(hoursShown(m));
                m->findChild<DBCheckBox*>(QStringLiteral("DBCheckBox1"))->click();
                a.dialogs().queueConfirmation(true);
                m->BitBtn1->click();
            }));
        QCOMPARE(dm().SQL_Dentista->recordCount(), 0);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("dentista_id"), ana));
        QCOMPARE(list->SQL_Consulta->fieldByName("dentista_ativo")->asString(), QStringLiteral("N"));
    }

    // The person type decides label, mask and check of the document.
    void contactDocumentFollowsThePersonType() {
        OfficeApp a;
        auto* list = a.openList<TfrmContato>(QStringLiteral("frmContato"));
        QVERIFY(list);
        QVERIFY(OfficeApp::withRecord<TfrmContato_Manut>(list, "contato_id", 0, [&](TfrmContato_Manut* m) {
            Dataset* c = m->editedDataset();
            QCOMPARE(c->fieldByName("contato_ativo")->asString(), QStringLiteral("S"));
            QCOMPARE(m->dbRadioPessoa->itemIndex(), 0);
            QCOMPARE(m->lblDocumento->text(), QStringLiteral("Cpf"));
            typeAtCaret(m->DBEdit2, QStringLiteral("DENTAL SUPRIMENTOS"));
            m->wwDBLookupCombo1->setKeyValue(1);
            typeAtCaret(m->findChild<DBEdit*>(QStringLiteral("DBEdit4")), QStringLiteral("1133334444"));

            m->dbRadioPessoa->button(1)->click();
            QCOMPARE(c->fieldByName("contato_pessoa")->asString(), QStringLiteral("J"));
            QCOMPARE(m->lblDocumento->text(), QStringLiteral("Cnpj"));
            QCOMPARE(m->DBEdit3->activeMask().systemMask(), QStringLiteral("99.999.999/9999-99;0;_"));
            typeAtCaret(m->DBEdit3, QStringLiteral("52998224725")); // a valid CPF, not a CNPJ
            m->BitBtn1->click();
            QVERIFY(c->isEditing());
            m->DBEdit3->clear();
            typeAtCaret(m->DBEdit3, QStringLiteral("11222333000181"));
            a.dialogs().queueConfirmation(true);
            m->BitBtn1->click();
            QVERIFY(!c->isEditing());
        }));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Warning),
                 QStringList{QStringLiteral("O Cnpj deve conter 14 dígitos!")});
        QCOMPARE(column(a.app.db(), QStringLiteral("select contato_cpf || ' ' || contato_fone from contato")),
                 QStringList{"11222333000181 (11)3333-4444"});
        QVERIFY(
            dm().SQL_Contato->locate(QStringLiteral("contato_nome"), QStringLiteral("Dental Suprimentos")) ||
            dm().SQL_Contato->locate(QStringLiteral("contato_nome"), QStringLiteral("DENTAL SUPRIMENTOS")));
    }

    // The contact list prints as it stands, with each contact's type.
    void contactListReport() {
        OfficeApp a;
        a.insert(
            QStringLiteral("insert into contato (contato_nome, tipo_contato_id, contato_pessoa, contato_cpf, "
                           "contato_ativo) values ('DENTAL SUL', 1, 'J', '11222333000181', 'S')"));
        a.insert(
            QStringLiteral("insert into contato (contato_nome, tipo_contato_id, contato_pessoa, contato_cpf, "
                           "contato_ativo) values ('ZECA PROTESES', 2, 'F', '52998224725', 'N')"));
        auto* list = a.openList<TfrmContato>(QStringLiteral("frmContato"));
        QVERIFY(list);
        QTemporaryDir dir;
        PdfFileReportOutput pdf(dir.filePath(QStringLiteral("contatos.pdf")));
        setReportOutput(&pdf);
        ReportProject project;
        project.open();
        project.execute(QStringLiteral("Relat_Contatos"));
        setReportOutput(nullptr);
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {pdf.fileName(), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        const QString page = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY(page.contains(QStringLiteral("Relação de Contatos")));
        QVERIFY(page.indexOf(QStringLiteral("DENTAL SUL")) < page.indexOf(QStringLiteral("ZECA PROTESES")));
        QVERIFY(page.contains(QStringLiteral("Fornecedor")));
        QVERIFY(page.contains(QStringLiteral("Total de contatos: 2")));
    }

    void companyIsOnlyChangedAndTakesABitmapLogo() {
        OfficeApp a;
        auto* list = a.openList<TfrmEmpresa>(QStringLiteral("frmEmpresa"));
        QVERIFY(list);
        QVERIFY(!list->btnNovo->isVisible() && !list->btnExcluir->isVisible());
        QVERIFY(!list->Novo1->isVisible() && !list->Excluir1->isVisible());
        QTemporaryDir dir;
        const QString bad = dir.filePath(QStringLiteral("logo.bmp"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
        f.close();
        const QString good = dir.filePath(QStringLiteral("good.bmp"));
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        QVERIFY(logo.save(good, "BMP"));
        const qint64 id = list->SQL_Consulta->fieldByName("empresa_id")->asLargeInt();
        const QVariant before = a.value(QStringLiteral("select length(empresa_logo) from empresa"));
        QVERIFY(OfficeApp::withRecord<TfrmEmpresa_Manut>(list, "empresa_id", id, [&](TfrmEmpresa_Manut* m) {
            a.app.s.fileDialogs.queueOpen(bad);
            m->DBImage1Click();
            QVERIFY(!m->editedDataset()->isModified());
            a.app.s.fileDialogs.queueOpen(good);
            m->DBImage1Click();
            QVERIFY(m->DBImage1->hasPicture());
            a.dialogs().queueConfirmation(true);
            m->BitBtn1->click();
        }));
        QVERIFY(
            a.dialogs().texts(ScriptedDialogs::Kind::Warning).value(0).contains(QStringLiteral("bitmap")));
        QVERIFY(a.value(QStringLiteral("select length(empresa_logo) from empresa")) != before);
        QImage stored;
        QVERIFY(stored.loadFromData(list->SQL_Consulta->fieldByName("empresa_logo")->asBytes()));
        QCOMPARE(stored.size(), QSize(40, 20));
    }

    // A Pix key the banks would refuse is not saved; a valid one is stored as they write it.
    void companyPixKeyIsCheckedAndNormalised() {
        OfficeApp a;
        auto* list = a.openList<TfrmEmpresa>(QStringLiteral("frmEmpresa"));
        QVERIFY(list);
        const qint64 id = list->SQL_Consulta->fieldByName("empresa_id")->asLargeInt();
        QVERIFY(OfficeApp::withRecord<TfrmEmpresa_Manut>(list, "empresa_id", id, [&](TfrmEmpresa_Manut* m) {
            m->DBEditPixChave->setFocus();
            typeAtCaret(m->DBEditPixChave, QStringLiteral("(12) 99876-5432"));
            m->BitBtn1->click();
            QVERIFY(m->isVisible());
            QCOMPARE(QApplication::focusWidget(), m->DBEditPixChave);
            m->DBEditPixChave->selectAll();
            typeAtCaret(m->DBEditPixChave, QStringLiteral("123.456.789-09"));
            a.dialogs().queueConfirmation(true);
            m->BitBtn1->click();
        }));
        QVERIFY(
            a.dialogs().texts(ScriptedDialogs::Kind::Warning).value(0).contains(QStringLiteral("chave Pix")));
        QCOMPARE(a.value(QStringLiteral("select empresa_pix_chave from empresa")).toString(),
                 QStringLiteral("12345678909"));
    }

    // Only suppliers are offered, from the screen's own list: the shared one stays whole.
    void stockSupplierBoxOffersSuppliersOnly() {
        OfficeApp a;
        a.insert(
            QStringLiteral("insert into contato (contato_nome, tipo_contato_id, contato_pessoa, contato_cpf) "
                           "values ('LAB SORRISO', 2, 'J', '11222333000181')"));
        const qint64 supplier = a.insert(
            QStringLiteral("insert into contato (contato_nome, tipo_contato_id, contato_pessoa, contato_cpf) "
                           "values ('DENTAL SUL', 1, 'J', '11222333000181')"),
            QStringLiteral("contato_id"));
        LoggedIn::reopen(dm().SQL_Contato);
        auto* list = a.openList<TfrmEstoque>(QStringLiteral("frmEstoque"));
        QVERIFY(list);
        QVERIFY(OfficeApp::withRecord<TfrmEstoque_Manut>(list, "prod_id", 0, [&](TfrmEstoque_Manut* m) {
            QCOMPARE(fieldValues(m->SQL_Fornecedor, QStringLiteral("contato_nome")),
                     QStringList{"DENTAL SUL"});
            m->wwDBLookupComboDlg2->setFocus();
            m->wwDBLookupComboDlg2->showPopup();
            m->wwDBLookupComboDlg2->hidePopup();
            typeAtCaret(m->DBEdit2, QStringLiteral("RESINA A2"));
            m->wwDBLookupComboDlg2->setKeyValue(supplier);
            a.dialogs().queueConfirmation(true);
            m->BitBtn1->click();
        }));
        QVERIFY(!dm().SQL_Contato->isFiltered());
        QCOMPARE(dm().SQL_Contato->recordCount(), 2);
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("lk_Fornecedor")), QStringList{"DENTAL SUL"});
    }

    // Every text of the shipped English and Spanish files reaches the screen.
    void languageFilesReachTheScreens_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("code");
        for (const char* list : {"frmDentista", "frmContato", "frmEmpresa", "frmEstoque"})
            for (const char* code : {"en", "es"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(list, code))) << list << code;
    }
    void languageFilesReachTheScreens() {
        QFETCH(QString, list);
        QFETCH(QString, code);
        OfficeApp a;
        a.insert(QStringLiteral("insert into dentista (dentista_nome, dentista_ativo) values ('ANA', 'S')"));
        a.insert(QStringLiteral("insert into contato (contato_nome, tipo_contato_id, contato_pessoa) "
                                "values ('LAB', 1, 'J')"));
        a.insert(QStringLiteral("insert into Produto (prod_nome) values ('LUVAS')"));
        session().setLanguage(code);
        auto* screen = a.openList<TfrmModelo4>(list);
        QVERIFY(screen);
        QCOMPARE(languageProblems(screen, languageFile(a.app, code, list)), QStringList());
        const QString manut = list + QStringLiteral("_Manut");
        QVERIFY(OfficeApp::withRecord<TfrmCadastro>(screen, {}, 1, [&](TfrmCadastro* m) {
            QCOMPARE(languageProblems(m, languageFile(a.app, code, manut)), QStringList());
        }));
    }
};

QTEST_MAIN(TestOffice)
#include "tst_office.moc"
