// The clinic's money screens as the desk uses them: the bills of a month with their
// total, the paid flag that follows the payment date, and the receivables and received
// installments of a period printed with the right rows at the boundary days.
#include "../reporting/ReportFixture.h"
#include "../shell/AccessFixture.h"
#include "finance/FinanceScreens.h"
#include "finance/U_frmContasPagar.h"
#include "finance/U_frmContasPagar_Manut.h"
#include "finance/U_frmSelecaoContasReceber.h"
#include "finance/U_frmSelecaoContasRecebidas.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportOutput.h"
#include "toolkit/CalendarPopup.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBDateEdit.h"
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

LoggedIn::Options financeOptions() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) { registerFinanceScreens(r); };
    return o;
}

// Bills around February 2024 (a leap year); installments around March 2026.
const QStringList kMoney = {
    "insert into conta (conta_id, conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga) values "
    "(901, 'ALUGUEL JANEIRO', '2024-01-31 00:00:00', 'ALUGUEL', 1000000, 'N')",
    "insert into conta (conta_id, conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga, "
    "conta_data_pagamento) values (902, 'LUZ', '2024-02-01 00:00:00', 'ENERGIA', 2000000, 'S', "
    "'2024-02-01 00:00:00')",
    "insert into conta (conta_id, conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga) values "
    "(903, 'AGUA', '2024-02-29 14:30:00', 'AGUA', 505000, 'N')",
    "insert into conta (conta_id, conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga) values "
    "(904, 'ALUGUEL MARCO', '2024-03-01 00:00:00', 'ALUGUEL', 3000000, 'N')",
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo) "
    "values (801, 'Maria da Conceição', 1, 'S')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_aprovado, "
    "forma_pagamento_id, consulta_valor) values (7101, 801, 1, '2026-01-05 00:00:00', 'S', 1, 20000000)",
    // due on the last day, open
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_quitada) values (1, 7101, 801, 1, '2026-03-31 00:00:00', "
    "1110000, 1110000, 'N')",
    // due the day after
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_quitada) values (2, 7101, 801, 2, '2026-04-01 00:00:00', "
    "2220000, 2220000, 'N')",
    // partly paid on the last day, in the afternoon
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_valor_pago, paracela_data_pagamento, parcela_quitada) "
    "values (3, 7101, 801, 3, '2026-03-15 00:00:00', 3330000, 3330000, 500000, '2026-03-31 16:20:00', 'N')",
    // settled with nothing paid
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_valor_pago, paracela_data_pagamento, parcela_quitada) "
    "values (4, 7101, 801, 4, '2026-03-10 00:00:00', 4440000, 4440000, 0, '2026-03-20 00:00:00', 'S')",
    // paid on the first day
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_valor_pago, paracela_data_pagamento, parcela_quitada) "
    "values (5, 7101, 801, 5, '2026-02-10 00:00:00', 5550000, 5550000, 5550000, '2026-03-01 00:00:00', 'S')",
    // paid the day after
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_valor_pago, paracela_data_pagamento, parcela_quitada) "
    "values (6, 7101, 801, 6, '2026-02-10 00:00:00', 6660000, 6660000, 6660000, '2026-04-01 00:00:00', 'S')",
    // a payment date without a paid value
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, paracela_data_pagamento, parcela_quitada) "
    "values (7, 7101, 801, 7, '2026-05-10 00:00:00', 7770000, 7770000, '2026-03-15 00:00:00', 'N')",
};

LoggedIn& money() {
    return sharedApp(QStringLiteral("finance"), financeOptions, kMoney);
}

TfrmContasPagar* openPayables(LoggedIn& app) {
    app.opener().open(QStringLiteral("frmContasPagar"));
    auto* list = qobject_cast<TfrmContasPagar*>(app.opener().openScreen(QStringLiteral("frmContasPagar")));
    if (list) list->FormActivate();
    return list;
}

} // namespace

class TestFinance : public QObject {
    Q_OBJECT
    QTemporaryDir m_out;
    std::unique_ptr<PdfFileReportOutput> m_pdf;

private slots:
    void init() {
        m_pdf = std::make_unique<PdfFileReportOutput>(m_out.filePath(QStringLiteral("report.pdf")));
        setReportOutput(m_pdf.get());
    }
    void cleanup() {
        setReportOutput(nullptr);
        if (LoggedIn* app = SharedAppSlot::get().app.get()) DV_VERIFY_SERVICES(app->s);
    }
    void cleanupTestCase() { stopSharedApp(); }

    // February 2024 runs to the 29th, that day whole; the total is that of the rows
    // listed, paid or not. Enter reloads; a date only typed does not.
    void payablesOfTheMonth() {
        LoggedIn& app = money();
        app.s.clock.set(QDateTime(QDate(2024, 2, 15), QTime(10, 0)));
        TfrmContasPagar* list = openPayables(app);
        QVERIFY(list);
        QCOMPARE(list->wwDataI->date(), QDate(2024, 2, 1));
        QCOMPARE(list->wwDataF->date(), QDate(2024, 2, 29));
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("conta_id")), (QStringList{"903", "902"}));
        QCOMPARE(list->statusPanel(3)->text(), QStringLiteral("  Valor:"));
        QCOMPARE(list->statusPanel(4)->text(), QStringLiteral("  R$ 250,50"));

        list->wwDataI->setDate(QDate(2024, 1, 1));
        QCOMPARE(list->SQL_Consulta->recordCount(), 2);
        QTest::keyClick(list->wwDataI, Qt::Key_Return);
        QCOMPARE(list->SQL_Consulta->recordCount(), 3);
        QCOMPARE(list->statusPanel(4)->text(), QStringLiteral("  R$ 350,50"));
        QCOMPARE(list->statusPanel(1)->text().trimmed(), QStringLiteral("3"));

        list->wwDataI->setDate(QDate(2024, 6, 1));
        list->wwDataF->setDate(QDate(2024, 6, 30));
        QTest::keyClick(list->wwDataF, Qt::Key_Enter);
        QCOMPARE(list->SQL_Consulta->recordCount(), 0);
        QCOMPARE(list->statusPanel(4)->text(), QStringLiteral("  R$ 0,00"));

        // A day picked from the calendar reloads at once.
        list->wwDataI->setDate(QDate(2024, 2, 1));
        list->wwDataF->showCalendar();
        emit list->wwDataF->calendarPopup()->picked(QDate(2024, 2, 29));
        QCOMPARE(list->SQL_Consulta->recordCount(), 2);
        QCOMPARE(list->statusPanel(4)->text(), QStringLiteral("  R$ 250,50"));
        list->close();
    }

    // Whatever the box shows, the saved flag follows the payment date.
    void paidFlagFollowsThePaymentDate_data() {
        QTest::addColumn<QDate>("paidOn");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<QString>("stored");
        QTest::newRow("date, box cleared") << QDate(2024, 2, 20) << false << "S";
        QTest::newRow("no date, box ticked") << QDate() << true << "N";
    }
    void paidFlagFollowsThePaymentDate() {
        QFETCH(QDate, paidOn);
        QFETCH(bool, ticked);
        QFETCH(QString, stored);
        LoggedIn& app = money();
        app.s.clock.set(QDateTime(QDate(2024, 2, 15), QTime(10, 0)));
        TfrmContasPagar* list = openPayables(app);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("conta_id"), 903));
        QVERIFY(inModal<TfrmContasPagar_Manut>([&] { list->btnEditarClick(); },
                                               [&](TfrmContasPagar_Manut* m) {
                                                   m->wwDBDateTimePicker2->setDate(paidOn);
                                                   m->DBCheckBox1->setChecked(ticked);
                                                   m->DBCheckBox1->click();
                                                   m->DBCheckBox1->click();
                                                   app.s.dialogs.queueConfirmation(true);
                                                   m->BitBtn1Click();
                                               }));
        auto row = app.db().query(QStringLiteral("select conta_paga from conta where conta_id = 903"));
        QVERIFY(row->next());
        QCOMPARE(QString::fromUtf8(row->utf8(0)), stored);
        list->close();
    }

    // Both bounds are whole days; the dialog stays open after printing.
    void installmentsOfAPeriod_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QString>("total");
        QTest::newRow("receivables") << "frmSelecaoContasReceber" << QStringList{"3", "1"}
                                     << "Total a receber: R$ 444,00";
        QTest::newRow("received") << "frmSelecaoContasRecebidas" << QStringList{"5", "3"}
                                  << "Total recebido: R$ 605,00";
    }
    void installmentsOfAPeriod() {
        QFETCH(QString, form);
        QFETCH(QStringList, ids);
        QFETCH(QString, total);
        LoggedIn& app = money();
        app.s.clock.set(QDateTime(QDate(2026, 3, 12), QTime(10, 0)));
        QStringList selected;
        bool stayedOpen = false;
        whenModal([&](QWidget* w) {
            QPointer<QWidget> guard(w);
            auto close = qScopeGuard([&] {
                if (guard && guard->isVisible()) guard->close();
            });
            auto* dialog = qobject_cast<TfrmModeloSelecao*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->startDate(), QDate(2026, 3, 1));
            QCOMPARE(dialog->endDate(), QDate(2026, 3, 31));
            whenModal([&](QWidget* p) {
                auto* picker = qobject_cast<TfrmRelatorio*>(p);
                if (picker) QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
                p->close();
            });
            QTest::mouseClick(dialog->BitBtn4, Qt::LeftButton);
            Dataset* rows = dialog->SQL_Selecao;
            rows->setSort(QStringLiteral("parcela_id DESC"));
            selected = fieldValues(rows, QStringLiteral("parcela_id"));
            QCOMPARE(rows->fieldByName(QStringLiteral("LK_Paciente"))->asString(),
                     QStringLiteral("Maria da Conceição"));
            stayedOpen = dialog->isVisible();
        });
        app.opener().open(form);
        QCOMPARE(selected, ids);
        QVERIFY(stayedOpen);
        QCOMPARE(m_pdf->deliveries(), 1);
        const QString text = ReportFixture::pdfText(m_pdf->fileName(), true);
        QVERIFY2(text.contains(total), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Maria da Conceição")));
    }
};

QTEST_MAIN(TestFinance)
#include "tst_finance.moc"
