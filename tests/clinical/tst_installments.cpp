// The installments of a consultation: the split of its total with interest and due
// dates, payments that settle an installment, removal, and totals that always agree
// with the stored rows.
#include "../reporting/ReportFixture.h"
#include "ClinicalFixture.h"
#include "clinical/ConsultaParcelas.h"
#include "clinical/DocumentModel.h"
#include "clinical/InstallmentPlan.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "core/ErrorTranslator.h"
#include "core/PixPayload.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportOutput.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// Maria with a consultation of 1.000,00 and one of 500,00 that already has two
// installments (numbers 1 and 3: the second was removed).
const QStringList kClinic = {
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo) "
    "values (801, 'Maria da Conceição', 1, 'S')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor) values (7101, 801, 1, '2026-01-05 00:00:00', 'S', 1, 10000000)",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor) values (7102, 801, 1, '2026-01-06 00:00:00', 'S', 1, 5000000)",
    "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_valor, parcela_valor_liquido, "
    "parcela_quitada) values (7102, 801, 1, 2500000, 2500000, 'N')",
    "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_valor, parcela_valor_liquido, "
    "parcela_quitada) values (7102, 801, 3, 2500000, 2500000, 'N')",
};

LoggedIn& clinic() {
    return sharedApp(QStringLiteral("installments"), clinicalOptions, kClinic);
}

Currency money(const char* text) {
    return *Currency::parse(QString::fromLatin1(text));
}

// Runs the work on the installments tab of a consultation opened for editing.
bool withInstallments(LoggedIn& app, qint64 consultation,
                      const std::function<void(TfrmConsulta_Manut*, ConsultaParcelas*)>& work) {
    ScreenArgs args{{QStringLiteral("paciente_id"), 801}};
    app.opener().open(QStringLiteral("frmConsulta"), args);
    auto* list = qobject_cast<TfrmConsulta*>(app.opener().openScreen(QStringLiteral("frmConsulta")));
    if (!list || !list->SQL_Consulta->locate(QStringLiteral("consulta_id"), consultation)) return false;
    bool ran = false;
    whenModal([&](QWidget* w) {
        QPointer<QWidget> guard(w);
        if (auto* r = qobject_cast<TfrmConsulta_Manut*>(w)) {
            r->PageControl1->setCurrentWidget(r->TabSheet3);
            work(r, r->Parcelas);
            ran = true;
        }
        if (guard && guard->isVisible()) guard->close();
    });
    list->btnEditarClick();
    return ran;
}

QStringList rows(LoggedIn& app, qint64 consultation) {
    QStringList out;
    auto c = app.db().query(
        QStringLiteral("select parcela_numero, parcela_valor, parcela_valor_liquido, parcela_vencimento, "
                       "parcela_quitada from parcela where consulta_id = :id order by parcela_numero"),
        {{QStringLiteral("id"), ParamType::Integer, consultation}});
    while (c->next())
        out << QStringLiteral("%1 %2 %3 %4 %5")
                   .arg(c->integer(0))
                   .arg(c->currency(1).toString(2), c->currency(2).toString(2),
                        c->dateTime(3).date().toString(QStringLiteral("dd/MM/yyyy")),
                        QString::fromUtf8(c->utf8(4)));
    return out;
}

// Sets the clinic's Pix key (empty removes it) and shows it to the data module.
void setPixKey(LoggedIn& app, const QString& key) {
    app.db().execute(QStringLiteral("update empresa set empresa_pix_chave = :k, empresa_pix_nome = :n, "
                                    "empresa_pix_cidade = :c"),
                     {{QStringLiteral("k"), ParamType::Text, key.isEmpty() ? QVariant() : QVariant(key)},
                      {QStringLiteral("n"), ParamType::Text, QStringLiteral("Clínica Sorriso")},
                      {QStringLiteral("c"), ParamType::Text, QStringLiteral("Taubaté")}});
    dm().SQL_Empresa->close();
    dm().SQL_Empresa->open();
}

// The Pix payloads printed in a PDF, one a line, in page order.
QStringList printedPayloads(const QString& pdfFile) {
    static const QRegularExpression payload(QStringLiteral("000201.*6304[0-9A-F]{4}"));
    QStringList out;
    for (const QString& line : ReportFixture::pdfText(pdfFile, true).split(QLatin1Char('\n'))) {
        const auto m = payload.match(line.trimmed());
        if (m.hasMatch()) out << m.captured(0);
    }
    return out;
}

QStringList totals(ConsultaParcelas* p) {
    return {p->edtTotalParcelas->text(), p->edtTotalLiquido->text(), p->edtTotalPago->text(),
            p->edtTotalRestante->text()};
}

} // namespace

class TestInstallments : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }
    void cleanup() {
        if (LoggedIn* app = SharedAppSlot::get().app.get()) DV_VERIFY_SERVICES(app->s);
    }

    void planSplitsTheTotal_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QStringList>("amounts");
        QTest::newRow("remainder on the first")
            << "1000,00" << 3 << "" << QStringList{"334,00", "333,00", "333,00"};
        QTest::newRow("interest after the first")
            << "1000,00" << 3 << "2,00" << QStringList{"334,00", "339,66", "339,66"};
        QTest::newRow("one, no interest") << "1000,00" << 1 << "2,00" << QStringList{"1.000,00"};
        QTest::newRow("less than a unit each") << "2,50" << 3 << "" << QStringList{"2,50", "0,00", "0,00"};
        QTest::newRow("cents on the first") << "100,99" << 2 << "" << QStringList{"50,99", "50,00"};
        // 333 x 1,0125 = 337,1625: to the cent, so paying what is shown settles it.
        QTest::newRow("interest rounded to the cent")
            << "1000,00" << 3 << "1,25" << QStringList{"334,00", "337,16", "337,16"};
        QTest::newRow("empty total") << "0" << 2 << "" << QStringList{"0,00", "0,00"};
    }
    void planSplitsTheTotal() {
        QFETCH(QString, total);
        QFETCH(int, count);
        QFETCH(QString, rate);
        QFETCH(QStringList, amounts);
        const auto plan =
            planInstallments(*Currency::parse(total), count, *parseInterestRate(rate), QDate(2026, 1, 10));
        QStringList shown;
        for (const PlannedInstallment& p : plan) {
            shown << p.value.toString(2);
            QCOMPARE(p.value, p.value.roundedToCents());
        }
        QCOMPARE(shown, amounts);
        QCOMPARE(plan.first().due, QDate(2026, 1, 10));
        QCOMPARE(plan.last().due, QDate(2026, 1, 10).addMonths(count - 1));
    }

    void typedCountAndRate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << "" << false;
        QTest::newRow("zero") << "0" << false;
        QTest::newRow("negative") << "-2" << false;
        QTest::newRow("fraction") << "2,5" << false;
        QTest::newRow("letters") << "três" << false;
        QTest::newRow("blanks around") << " 3 " << true;
    }
    void typedCountAndRate() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(parseInstallmentCount(text).has_value(), valid);
        QCOMPARE(parseInterestRate(QStringLiteral("2.5")), std::optional(money("2,5")));
        QVERIFY(!parseInterestRate(QStringLiteral("dois")));
    }

    // The worked example through the tab: stored rows, due dates and totals; paying the
    // shown amount settles the installment, dated today; another amount does not.
    void generateAndPay() {
        LoggedIn& app = clinic();
        app.s.clock.set(QDateTime(QDate(2026, 1, 8), QTime(10, 0)));
        QStringList afterGeneration, afterPayment;
        QVERIFY(withInstallments(app, 7101, [&](TfrmConsulta_Manut*, ConsultaParcelas* p) {
            QCOMPARE(p->EditNumParcelas->text(), QStringLiteral("1"));
            QCOMPARE(p->wwDataPrimeira->date(), QDate(2026, 1, 8));
            p->wwDataPrimeira->setDate(QDate(2026, 1, 10));
            p->EditNumParcelas->setText(QStringLiteral("3"));
            p->EditJuros->setText(QStringLiteral("2"));
            p->EditJuros->editingFinished();
            QCOMPARE(p->EditJuros->text(), QStringLiteral("2,00"));
            QTest::mouseClick(p->btnGerarParcelas, Qt::LeftButton);
            afterGeneration = totals(p);

            Dataset* d = p->wwDBGridParcela->dataSource()->dataset();
            QCOMPARE(d->recordCount(), 3);
            QVERIFY(d->locate(QStringLiteral("parcela_numero"), 2));
            d->edit();
            d->fieldByName(QStringLiteral("parcela_valor_pago"))->setAsCurrency(money("339,66"));
            QCOMPARE(d->fieldByName(QStringLiteral("parcela_quitada"))->asString(), QStringLiteral("S"));
            d->post();
            QVERIFY(d->locate(QStringLiteral("parcela_numero"), 3));
            d->edit();
            d->fieldByName(QStringLiteral("parcela_desconto"))->setAsCurrency(money("9,66"));
            QCOMPARE(d->fieldByName(QStringLiteral("parcela_valor_liquido"))->asCurrency(), money("330"));
            d->fieldByName(QStringLiteral("parcela_valor_pago"))->setAsCurrency(money("100"));
            d->post();
            afterPayment = totals(p);
        }));
        QCOMPARE(afterGeneration, (QStringList{"1.013,32", "1.013,32", "0,00", "1.013,32"}));
        QCOMPARE(afterPayment, (QStringList{"1.013,32", "1.003,66", "439,66", "564,00"}));
        QCOMPARE(
            app.s.dialogs.texts(ScriptedDialogs::Kind::MessageBox),
            (QStringList{"Parcela quitada!", "Verifique se o valor pago é igual ao valor liquido a pagar!"}));
        QCOMPARE(rows(app, 7101), (QStringList{"1 334,00 334,00 10/01/2026 N", "2 339,66 339,66 10/02/2026 S",
                                               "3 339,66 330,00 10/03/2026 N"}));
        auto paidOn = app.db().query(QStringLiteral(
            "select count(*) from parcela where consulta_id = 7101 and paracela_data_pagamento = '2026-01-08 "
            "00:00:00'"));
        QVERIFY(paidOn->next());
        QCOMPARE(paidOn->integer(0), 2);
    }

    // Nothing is generated from a bad number, over existing installments, or when a row
    // cannot be written half-way.
    void generationRefusals() {
        LoggedIn& app = clinic();
        QVERIFY(withInstallments(app, 7101, [&](TfrmConsulta_Manut*, ConsultaParcelas* p) {
            for (const char* typed : {"", "0", "-2", "x"}) {
                p->EditNumParcelas->setText(QLatin1String(typed));
                guarded([&] { p->btnGerarParcelasClick(); });
            }
            p->EditNumParcelas->setText(QStringLiteral("3"));
            p->EditJuros->setText(QStringLiteral("dois"));
            guarded([&] { p->btnGerarParcelasClick(); });
            p->EditJuros->clear();
            app.db().execute(QStringLiteral(
                "create temp trigger tr_falha before insert on parcela when new.parcela_numero = 2 "
                "begin select raise(abort, 'injected failure'); end"));
            guarded([&] { p->btnGerarParcelasClick(); });
            app.db().execute(QStringLiteral("drop trigger tr_falha"));
            QCOMPARE(p->wwDBGridParcela->dataSource()->dataset()->recordCount(), 0);
            QCOMPARE(totals(p), (QStringList{"0,00", "0,00", "0,00", "0,00"}));
        }));
        QStringList expected(4, QStringLiteral("Número de parcelas vazio ou inválido!"));
        expected << QStringLiteral("Júros Mês(%) inválido!");
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Information), expected);
        QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Error).size(), 1);
        QVERIFY(rows(app, 7101).isEmpty());

        QVERIFY(withInstallments(
            app, 7102, [&](TfrmConsulta_Manut*, ConsultaParcelas* p) { p->btnGerarParcelasClick(); }));
        QCOMPARE(app.s.dialogs.lastText(), QStringLiteral("Remova todas as parcelas antes de gerar!"));
        QCOMPARE(rows(app, 7102).size(), 2);
    }

    // A hand-entered installment takes the highest number plus one and the defaults;
    // "Excluir" empties the list at once and the totals follow.
    void handEnteredNumberAndRemoval() {
        LoggedIn& app = clinic();
        app.s.clock.set(QDateTime(QDate(2026, 2, 1), QTime(9, 0)));
        QStringList afterRemoval;
        QVERIFY(withInstallments(app, 7102, [&](TfrmConsulta_Manut*, ConsultaParcelas* p) {
            Dataset* d = p->wwDBGridParcela->dataSource()->dataset();
            p->DBNavigatorParcela->press(DBNavigator::Insert);
            QCOMPARE(d->fieldByName(QStringLiteral("parcela_numero"))->asInteger(), 4);
            QCOMPARE(d->fieldByName(QStringLiteral("parcela_quitada"))->asString(), QStringLiteral("N"));
            QCOMPARE(d->fieldByName(QStringLiteral("paciente_id"))->asInteger(), 801);
            QCOMPARE(d->fieldByName(QStringLiteral("parcela_data"))->asDate(), QDate(2026, 2, 1));
            d->fieldByName(QStringLiteral("parcela_valor"))->setAsCurrency(money("10"));
            d->post();
            QCOMPARE(totals(p).first(), QStringLiteral("510,00"));
            app.s.dialogs.queueConfirmation(false);
            p->BitBtn5Click();
            QCOMPARE(d->recordCount(), 3);
            app.s.dialogs.queueConfirmation(true);
            p->BitBtn5Click();
            QCOMPARE(d->recordCount(), 0);
            afterRemoval = totals(p);
        }));
        QCOMPARE(afterRemoval, (QStringList{"0,00", "0,00", "0,00", "0,00"}));
        QVERIFY(rows(app, 7102).isEmpty());
    }

    // The receipt prints the installment the tab stands on, with what was paid on it.
    void receiptOfTheCurrentInstallment() {
        LoggedIn& app = clinic();
        QTemporaryDir out;
        PdfFileReportOutput pdf(out.filePath(QStringLiteral("recibo.pdf")));
        setReportOutput(&pdf);
        auto restore = qScopeGuard([] { setReportOutput(nullptr); });
        app.db().execute(
            QStringLiteral("update parcela set parcela_valor_pago = 1234500 where consulta_id = 7102 "
                           "and parcela_numero = 3"));
        QVERIFY(withInstallments(app, 7102, [&](TfrmConsulta_Manut* r, ConsultaParcelas*) {
            QVERIFY(r->SQL_Parcela->locate(QStringLiteral("parcela_numero"), 3));
            QVERIFY(printFromPicker(QStringLiteral("Recibo da Parcela"), [r] { r->BitBtn4Click(); }));
        }));
        QCOMPARE(pdf.lastReport(), QStringLiteral("Relat_Recibo"));
        const QString text = ReportFixture::pdfText(pdf.fileName(), true).simplified();
        QVERIFY2(text.contains(QStringLiteral("Maria da Conceição")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("parcela nº 3")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("R$ 123,45")), qPrintable(text));
        // Without a Pix key the receipt invites no payment.
        QVERIFY(printedPayloads(pdf.fileName()).isEmpty());
    }

    void documentModelFields() {
        const QHash<QString, QString> v{{"paciente", "Maria"}, {"total", "R$ 10,00"}};
        QCOMPARE(fillDocumentModel("{Paciente} paga {total}{total}; {nada} e {}", v),
                 QStringLiteral("Maria paga R$ 10,00R$ 10,00; {nada} e {}"));
    }

    // A contract from the clinic's model carries the consultation's patient, dentist,
    // total and installments; it is stored filled in, so it prints the same again even
    // after the patient's record changes.
    void contractFromTheModelPrintsTheSameAgain() {
        LoggedIn& app = clinic();
        app.s.clock.set(QDateTime(QDate(2026, 1, 8), QTime(10, 0)));
        app.db().execute(
            QStringLiteral("update paciente set paciente_cpf = '12345678909' where paciente_id = 801"));
        QTemporaryDir out;
        PdfFileReportOutput pdf(out.filePath(QStringLiteral("contrato.pdf")));
        setReportOutput(&pdf);
        auto restore = qScopeGuard([] { setReportOutput(nullptr); });
        auto print = [&](TfrmConsulta_Manut* r) {
            printFromPicker(QStringLiteral("Documento da Consulta"), [r] { r->btnReceitaClick(); });
            return ReportFixture::pdfText(pdf.fileName(), true);
        };
        QString first, again;
        QVERIFY(withInstallments(app, 7102, [&](TfrmConsulta_Manut* r, ConsultaParcelas*) {
            r->PageControl1->setCurrentWidget(r->TabSheet4);
            auto* models = r->TabSheet4->findChild<QComboBox*>(QStringLiteral("cmbModelo"));
            QVERIFY(models);
            models->setCurrentIndex(models->findText(QStringLiteral("Contrato de tratamento")));
            QTest::mouseClick(r->TabSheet4->findChild<QPushButton*>(QStringLiteral("btnModelo")),
                              Qt::LeftButton);
            const QString text = r->SQL_Doc->fieldByName(QStringLiteral("doc_texto"))->asString();
            for (const char* expected :
                 {"Contratante: Maria da Conceição, CPF 123.456.789-09", "valor total de R$ 500,00",
                  "1ª parcela de R$ 250,00", "3ª parcela de R$ 250,00", "{paciente}"})
                QVERIFY2(text.contains(QString::fromUtf8(expected)) == (expected[0] != '{'),
                         qPrintable(text));
            r->SQL_Doc->post();
            first = print(r);
        }));
        QCOMPARE(scalar(app, QStringLiteral("select doc_usuario from documento where consulta_id = 7102")),
                 QVariant(QStringLiteral("admin")));
        app.db().execute(
            QStringLiteral("update paciente set paciente_cpf = '98765432100' where paciente_id = 801"));
        QVERIFY(withInstallments(app, 7102, [&](TfrmConsulta_Manut* r, ConsultaParcelas*) {
            QVERIFY(r->SQL_Doc->locate(QStringLiteral("doc_nome"), QStringLiteral("Contrato de tratamento")));
            again = print(r);
        }));
        QVERIFY2(first.contains(QStringLiteral("CONTRATO DE PRESTAÇÃO")), qPrintable(first));
        QVERIFY(first.contains(QStringLiteral("123.456.789-09")));
        QCOMPARE(again, first);
    }

    // One slip per open installment, each with the Pix charge of what is left on it,
    // to the clinic's key; settled installments get none.
    void bookletOfTheOpenInstallments() {
        LoggedIn& app = clinic();
        setPixKey(app, QStringLiteral("12.345.678/0001-95"));
        auto restoreKey = qScopeGuard([&] { setPixKey(app, QString()); });
        QTemporaryDir out;
        PdfFileReportOutput pdf(out.filePath(QStringLiteral("carne.pdf")));
        setReportOutput(&pdf);
        auto restore = qScopeGuard([] { setReportOutput(nullptr); });
        app.s.clock.set(QDateTime(QDate(2026, 1, 8), QTime(10, 0)));
        QStringList sixSlips, fiveSlips;
        QVERIFY(withInstallments(app, 7101, [&](TfrmConsulta_Manut*, ConsultaParcelas* p) {
            p->wwDataPrimeira->setDate(QDate(2026, 2, 10));
            p->EditNumParcelas->setText(QStringLiteral("6"));
            p->EditJuros->setText(QString());
            QTest::mouseClick(p->btnGerarParcelas, Qt::LeftButton);
            QTest::mouseClick(p->btnCarne, Qt::LeftButton);
            sixSlips = printedPayloads(pdf.fileName());
            QCOMPARE(ReportFixture::pdfImageObjects(pdf.fileName()).size(), 6);

            Dataset* d = p->wwDBGridParcela->dataSource()->dataset();
            QVERIFY(d->locate(QStringLiteral("parcela_numero"), 2));
            d->edit();
            d->fieldByName(QStringLiteral("parcela_valor_pago"))
                ->setAsCurrency(d->fieldByName(QStringLiteral("parcela_valor_liquido"))->asCurrency());
            d->post();
            QTest::mouseClick(p->btnCarne, Qt::LeftButton);
            fiveSlips = printedPayloads(pdf.fileName());
        }));
        QCOMPARE(pdf.lastReport(), QStringLiteral("Relat_Carne"));

        QCOMPARE(sixSlips.size(), 6);
        QStringList amounts;
        QStringList references;
        for (const QString& text : sixSlips) {
            const auto decoded = pix::decode(text);
            QVERIFY2(decoded, qPrintable(text));
            QCOMPARE(decoded->value("26.01"), QStringLiteral("12345678000195"));
            QCOMPARE(decoded->value("59"), QStringLiteral("CLINICA SORRISO"));
            QCOMPARE(decoded->value("60"), QStringLiteral("TAUBATE"));
            amounts << decoded->value("54");
            references << decoded->value("62.05");
        }
        QCOMPARE(amounts, (QStringList{"170.00", "166.00", "166.00", "166.00", "166.00", "166.00"}));
        QCOMPARE(QSet<QString>(references.begin(), references.end()).size(), 6);
        QCOMPARE(fiveSlips.size(), 5);
        QVERIFY(!fiveSlips.contains(sixSlips.at(1)));
    }
};

QTEST_MAIN(TestInstallments)
#include "tst_installments.moc"
