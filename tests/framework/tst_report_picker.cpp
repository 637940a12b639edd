#include "../shell/AccessFixture.h"
#include "core/db/Dataset.h"
#include "framework/U_frmModeloSelecao.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/ReportConnections.h"
#include "reporting/ReportProject.h"
#include "toolkit/DBDateEdit.h"
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// The reports offered, by the name each item keeps (the item shows the report's title).
QStringList items(const QListWidget* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->data(Qt::UserRole).toString();
    return names;
}

QStringList titles(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void clickItem(QListWidget* list, const QString& report) {
    const int row = int(items(list).indexOf(report));
    QVERIFY2(row >= 0, qPrintable(report));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Names (and closes) every modal window that comes up while `action` runs, so that a
// window that should not appear cannot hang the test.
QStringList modalsDuring(const std::function<void()>& action) {
    QStringList seen;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&seen] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            seen << w->objectName();
            w->close();
        }
    });
    timer.start();
    action();
    return seen;
}

const QStringList patientReports{"Relat_Aniversariantes", "Relat_Etiquetas", "Relat_Pacientes"};

} // namespace

// The report picker over the installation's report project and Relatorio rows, and
// the period dialog base, in the started application.
class TestReportPicker : public QObject {
    Q_OBJECT

    std::unique_ptr<LoggedIn> app;
    QTemporaryDir out;
    std::unique_ptr<PdfFileReportOutput> pdf;
    QByteArray shippedProject;
    qint64 lastSeededReport = 0;

    QString projectFile() const { return app->folder.path() + QStringLiteral("relatorio/Dentrivale.rav"); }
    ScriptedDialogs& dialogs() { return app->s.dialogs; }

    // The picker for a screen, created and shown as showReportPicker does (shown here
    // without blocking, so that the test can drive it).
    QPointer<TfrmRelatorio> openPicker(const QString& screen) {
        session().setScreenName(screen);
        QPointer<TfrmRelatorio> picker = new TfrmRelatorio(app->main());
        picker->show();
        return picker;
    }
    void register_(const QString& report, const QString& screen) {
        app->db().execute(QStringLiteral("insert into relatorio (relat_nome, relat_ativo, form_nome) "
                                         "values (:r, 'S', :f)"),
                          {{QStringLiteral("r"), ParamType::String, report},
                           {QStringLiteral("f"), ParamType::String, screen}});
    }

private slots:
    void initTestCase() {
        app = std::make_unique<LoggedIn>();
        QVERIFY(app->main()->isVisible());
        pdf = std::make_unique<PdfFileReportOutput>(out.filePath(QStringLiteral("report.pdf")));
        setReportOutput(pdf.get());
        QFile f(projectFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        shippedProject = f.readAll();
        auto max = app->db().query(QStringLiteral("select max(relat_id) from relatorio"));
        QVERIFY(max->next());
        lastSeededReport = max->integer(0);
    }
    void cleanupTestCase() {
        setReportOutput(nullptr);
        app.reset();
    }
    void init() {
        dialogs().clearMessages();
        pdf = std::make_unique<PdfFileReportOutput>(pdf->fileName());
        setReportOutput(pdf.get());
    }
    // The picker speaks the user's language: every text of its files reaches it.
    void speaksEnglishAndSpanish_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << "en";
        QTest::newRow("es") << "es";
    }
    void speaksEnglishAndSpanish() {
        QFETCH(QString, language);
        const QString before = session().language();
        session().setLanguage(language);
        const auto restore = qScopeGuard([&] { session().setLanguage(before); });
        register_(QStringLiteral("Relat_Pacientes"), QStringLiteral("frmPaciente"));
        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmPaciente"));
        QVERIFY(picker);
        QCOMPARE(languageProblems(picker, languageFile(*app, language, QStringLiteral("frmRelatorio"))),
                 QStringList());
        QVERIFY(picker->Label1->text() != QStringLiteral("Relatórios disponíveis"));
    }

    void cleanup() {
        for (TfrmRelatorio* p : app->main()->findChildren<TfrmRelatorio*>())
            delete p;
        app->db().execute(QStringLiteral("delete from relatorio where relat_id > %1").arg(lastSeededReport));
        app->db().execute(QStringLiteral("delete from paciente where paciente_nome like 'Teste %'"));
        reportConnections().remove(QStringLiteral("RV_Paciente"));
        QFile::remove(pdf->fileName());
        QFile f(projectFile());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(shippedProject);
        DV_VERIFY_SERVICES(app->s);
    }

    // What the list offers: the project's reports registered for the screen, sorted,
    // and the first one selected with its description.
    void listsTheScreensReports_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("extraRows"); // "relat_nome|form_nome"
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no Relatorio row") << "frmAgenda" << QStringList() << QStringList();
        QTest::newRow("row naming no report")
            << "frmAgenda" << QStringList{"Relat_Inexistente|frmAgenda"} << QStringList();
        QTest::newRow("alphabetical, not the project's order")
            << "frmPaciente" << QStringList() << patientReports;
        QTest::newRow("unknown name among known ones")
            << "frmPaciente" << QStringList{"Relat_Inexistente|frmPaciente"} << patientReports;
        QTest::newRow("blanks around the screen name") << "  frmPaciente " << QStringList() << patientReports;
        QTest::newRow("another screen's report registered here")
            << "frmAgenda" << QStringList{"Relat_Pacientes|frmAgenda", "Relat_Etiquetas|frmPaciente"}
            << QStringList{"Relat_Pacientes"};
    }
    void listsTheScreensReports() {
        QFETCH(QString, screen);
        QFETCH(QStringList, extraRows);
        QFETCH(QStringList, expected);
        for (const QString& row : extraRows)
            register_(row.section(QLatin1Char('|'), 0, 0), row.section(QLatin1Char('|'), 1, 1));

        QPointer<TfrmRelatorio> picker = openPicker(screen);
        QVERIFY(picker->projectOpen());
        QCOMPARE(items(picker->ReportLB), expected);
        if (expected.isEmpty()) {
            QVERIFY(picker->DescMemo->toPlainText().isEmpty());
        } else {
            QCOMPARE(picker->ReportLB->currentRow(), 0);
            ReportProject project;
            project.open();
            const QString description = project.description(expected.first());
            QVERIFY(!description.isEmpty());
            QCOMPARE(picker->DescMemo->toPlainText(), description);
            QCOMPARE(picker->project().selectedReport(), expected.first());
        }
        QCOMPARE(dialogs().count(), 0);
        picker->BitBtn2Click();
        QTRY_VERIFY(picker.isNull());
    }

    // The list shows each report's registered title, sorted by it; the report chosen is
    // the one behind the title.
    void listsReportsByTheirTitles() {
        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmPaciente"));
        QCOMPARE(titles(picker->ReportLB),
                 (QStringList{"Aniversariantes do Mês", "Etiquetas de Endereçamento", "Lista de Pacientes"}));
        picker->BitBtn2Click();
        QTRY_VERIFY(picker.isNull());

        app->db().execute(QStringLiteral("update relatorio set relat_descricao = 'Zona de entrega' where "
                                         "relat_nome = 'Relat_Aniversariantes'"));
        app->db().execute(QStringLiteral("update relatorio set relat_descricao = '  ' where "
                                         "relat_nome = 'Relat_Etiquetas'"));
        picker = openPicker(QStringLiteral("frmPaciente"));
        QCOMPARE(titles(picker->ReportLB),
                 (QStringList{"Lista de Pacientes", "Relat_Etiquetas", "Zona de entrega"}));
        QCOMPARE(items(picker->ReportLB),
                 (QStringList{"Relat_Pacientes", "Relat_Etiquetas", "Relat_Aniversariantes"}));
        clickItem(picker->ReportLB, QStringLiteral("Relat_Aniversariantes"));
        QCOMPARE(picker->project().selectedReport(), QStringLiteral("Relat_Aniversariantes"));
        app->db().execute(
            QStringLiteral("update relatorio set relat_descricao = 'Aniversariantes do Mês' where "
                           "relat_nome = 'Relat_Aniversariantes'"));
        app->db().execute(
            QStringLiteral("update relatorio set relat_descricao = 'Etiquetas de Endereçamento' "
                           "where relat_nome = 'Relat_Etiquetas'"));
    }

    void emptyListPrintsNothing() {
        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmAgenda"));
        QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
        QCOMPARE(dialogs().texts(ScriptedDialogs::Kind::Information),
                 QStringList{"Não existem relatórios a serem impressos..."});
        QCOMPARE(pdf->deliveries(), 0);
        QVERIFY(picker->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    // Clicking shows a report's description; Imprimir runs the selected report over
    // the registered connection, and the picker stays for the next one.
    void printsTheSelectedReport() {
        for (const char* name : {"Teste Zuleica Prado", "Teste Ana Lima"})
            app->db().execute(QStringLiteral("insert into paciente (paciente_nome, paciente_cidade, uf_id, "
                                             "paciente_ativo) values (:n, 'Taubaté', 'SP', 'S')"),
                              {{QStringLiteral("n"), ParamType::String, QString::fromUtf8(name)}});
        QObject screen;
        auto* patients = new Dataset(&app->db(), QStringLiteral("SQL_Consulta"), &screen);
        patients->setSql(QStringLiteral("select * from paciente where paciente_nome like 'Teste %' "
                                        "order by paciente_nome desc"));
        patients->open();
        reportConnections().add(QStringLiteral("RV_Paciente"), patients, &screen);

        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmPaciente"));
        clickItem(picker->ReportLB, QStringLiteral("Relat_Pacientes"));
        QCOMPARE(picker->project().selectedReport(), QStringLiteral("Relat_Pacientes"));
        QVERIFY(picker->DescMemo->toPlainText().startsWith(QStringLiteral("Relação de pacientes")));

        QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
        QCOMPARE(dialogs().count(), 0);
        QCOMPARE(pdf->deliveries(), 1);
        QCOMPARE(pdf->lastReport(), QStringLiteral("Relat_Pacientes"));
        const QString text = pdfText(pdf->fileName());
        QVERIFY2(text.contains(QStringLiteral("Relação de Pacientes")), qPrintable(text));
        // In the screen's order.
        QVERIFY(text.indexOf(QStringLiteral("Teste Zuleica Prado")) >= 0);
        QVERIFY(text.indexOf(QStringLiteral("Teste Zuleica Prado")) <
                text.indexOf(QStringLiteral("Teste Ana Lima")));
        QVERIFY(text.contains(QStringLiteral("Total de pacientes: 2")));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(picker->isVisible());

        // The keys move the selection as clicks do.
        picker->ReportLB->setFocus();
        QTest::keyClick(picker->ReportLB, Qt::Key_Up);
        QCOMPARE(picker->project().selectedReport(), QStringLiteral("Relat_Etiquetas"));
        QCOMPARE(picker->DescMemo->toPlainText(), picker->project().description());
        QTest::keyClick(picker->BitBtn1, Qt::Key_Space);
        QCOMPARE(pdf->deliveries(), 2);
        QCOMPARE(pdf->lastReport(), QStringLiteral("Relat_Etiquetas"));
        QVERIFY(pdfText(pdf->fileName()).contains(QStringLiteral("TESTE ZULEICA PRADO")));
    }

    void reportWithoutItsConnectionIsReported() {
        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmPaciente"));
        clickItem(picker->ReportLB, QStringLiteral("Relat_Pacientes"));
        picker->BitBtn1Click();
        QCOMPARE(dialogs().count(), 1);
        QCOMPARE(dialogs().lastKind(), ScriptedDialogs::Kind::Error);
        QVERIFY2(dialogs().lastText().contains(QStringLiteral("\"RV_Paciente\"")),
                 qPrintable(dialogs().lastText()));
        QCOMPARE(pdf->deliveries(), 0);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(picker->isVisible());
    }

    void unreadableProjectIsReported_data() {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << false << QByteArray() << "Não foi possível abrir o projeto de relatórios";
        QTest::newRow("not XML") << true << QByteArray("Relat_Pacientes = lista") << "é inválido";
        QTest::newRow("cut short") << true << shippedProject.left(shippedProject.size() / 2) << "é inválido";
    }
    void unreadableProjectIsReported() {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFile::remove(projectFile());
        if (present) {
            QFile f(projectFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }

        const QStringList shown =
            modalsDuring([this] { showReportPicker(QStringLiteral("frmPaciente"), app->main()); });
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(',')));
        QCOMPARE(dialogs().count(), 1);
        QCOMPARE(dialogs().lastKind(), ScriptedDialogs::Kind::Error);
        QVERIFY2(dialogs().lastText().contains(message), qPrintable(dialogs().lastText()));
        QVERIFY(app->main()->findChildren<TfrmRelatorio*>().isEmpty());

        // Made directly, it is an empty picker that says so when asked to print.
        dialogs().clearMessages();
        QPointer<TfrmRelatorio> picker = openPicker(QStringLiteral("frmPaciente"));
        QVERIFY(!picker->projectOpen());
        QCOMPARE(picker->ReportLB->count(), 0);
        picker->BitBtn1Click();
        QCOMPARE(dialogs().lastText(), QStringLiteral("Não existem relatórios a serem impressos..."));
    }

    // The way every screen prints: modal over the main window, centred on it, gone
    // when closed.
    void showReportPickerRunsModally() {
        QString name, screenName;
        QStringList offered;
        bool modal = false;
        QPoint offset;
        whenModal([&](QWidget* w) {
            name = w->objectName();
            screenName = session().screenName();
            modal = w->isModal();
            offset = w->frameGeometry().center() - app->main()->frameGeometry().center();
            if (auto* picker = qobject_cast<TfrmRelatorio*>(w)) {
                offered = items(picker->ReportLB);
                QTest::mouseClick(picker->BitBtn2, Qt::LeftButton);
            } else {
                w->close();
            }
        });
        showReportPicker(QStringLiteral("frmPaciente"), app->main());
        QCOMPARE(name, QStringLiteral("frmRelatorio"));
        QCOMPARE(screenName, QStringLiteral("frmPaciente"));
        QVERIFY(modal);
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(offered, patientReports);
        QVERIFY(app->main()->findChildren<TfrmRelatorio*>().isEmpty());
    }

    void periodStartsOnTheCurrentMonth_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("15 February") << QDate(2026, 2, 15) << "01/02/2026"
                                     << "28/02/2026";
        QTest::newRow("15 February, leap year") << QDate(2028, 2, 15) << "01/02/2028"
                                                << "29/02/2028";
        QTest::newRow("last day of a 31-day month") << QDate(2026, 1, 31) << "01/01/2026"
                                                    << "31/01/2026";
        QTest::newRow("first of December") << QDate(2026, 12, 1) << "01/12/2026"
                                           << "31/12/2026";
    }
    void periodStartsOnTheCurrentMonth() {
        QFETCH(QDate, today);
        QFETCH(QString, first);
        QFETCH(QString, last);
        app->s.clock.set(QDateTime(today, QTime(23, 59)));
        TfrmModeloSelecao dialog(app->main(), QStringLiteral("frmSelecaoContasReceber"),
                                 QStringLiteral("Contas a Receber"));
        QCOMPARE(dialog.wwDataI->text(), first);
        QCOMPARE(dialog.wwDataF->text(), last);
        QCOMPARE(dialog.startDate().toString(QStringLiteral("dd/MM/yyyy")), first);
        QCOMPARE(dialog.endDate().toString(QStringLiteral("dd/MM/yyyy")), last);
    }

    // The boxes are not bound to any field: what is typed is the period.
    void periodReadsTypedDates_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QDate>("expected");
        QTest::addColumn<int>("warnings");
        QTest::newRow("two-digit year 95") << "050395" << QDate(1995, 3, 5) << 0;
        QTest::newRow("two-digit year 89") << "050389" << QDate(2089, 3, 5) << 0;
        QTest::newRow("two-digit year 00") << "290200" << QDate(2000, 2, 29) << 0;
        QTest::newRow("four-digit year") << "31121989" << QDate(1989, 12, 31) << 0;
        QTest::newRow("no such day keeps the month's first") << "31022026" << QDate(2026, 2, 1) << 1;
    }
    void periodReadsTypedDates() {
        QFETCH(QString, typed);
        QFETCH(QDate, expected);
        QFETCH(int, warnings);
        app->s.clock.set(QDateTime(QDate(2026, 2, 15), QTime(9, 0)));
        TfrmModeloSelecao dialog(app->main(), QStringLiteral("frmSelecaoContasReceber"),
                                 QStringLiteral("Contas a Receber"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.wwDataI->setFocus();
        dialog.wwDataI->selectAll();
        QTest::keyClicks(dialog.wwDataI, typed);
        QTest::keyClick(dialog.wwDataI, Qt::Key_Return);
        QCOMPARE(dialog.startDate(), expected);
        QCOMPARE(dialog.wwDataI->text(), expected.toString(QStringLiteral("dd/MM/yyyy")));
        QCOMPARE(dialogs().texts(ScriptedDialogs::Kind::Warning).size(), warnings);
        QVERIFY(dialog.checkPeriod());
        dialog.wwDataF->clear();
        QVERIFY(!dialog.checkPeriod());
        QCOMPARE(dialogs().lastText(), QStringLiteral("Data inválida."));
        dialog.reject();
    }

    void periodButtons_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result"); // -1: still open
        QTest::addColumn<bool>("picker");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("Imprimir") << "BitBtn4" << int(QDialog::Accepted) << true << QStringList();
        QTest::newRow("Fechar") << "BitBtn2" << int(QDialog::Rejected) << false << QStringList();
        QTest::newRow("Ajuda") << "btnAjuda" << -1 << false << QStringList{"help/frmSelecaoContasReceber.html"};
    }
    void periodButtons() {
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(bool, picker);
        QFETCH(QStringList, opened);
        TfrmModeloSelecao dialog(app->main(), QStringLiteral("frmSelecaoContasReceber"),
                                 QStringLiteral("Contas a Receber"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Contas a Receber"));
        dialog.SQL_Selecao->setSql(QStringLiteral("select 1 as um"));
        dialog.SQL_Selecao->open();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QString seen, screenName;
        QStringList offered{"not asked"};
        if (picker)
            whenModal([&](QWidget* w) {
                seen = w->objectName();
                screenName = session().screenName();
                if (auto* p = qobject_cast<TfrmRelatorio*>(w)) {
                    offered = items(p->ReportLB);
                    QTest::mouseClick(p->BitBtn2, Qt::LeftButton);
                } else {
                    w->close();
                }
            });
        const qsizetype shellBefore = app->s.shell.opened().size();
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);

        if (picker) {
            QCOMPARE(seen, QStringLiteral("frmRelatorio"));
            QCOMPARE(screenName, QStringLiteral("frmSelecaoContasReceber"));
            QCOMPARE(offered, QStringList{"Relat_ContasReceber"}); // the one registered for it
        }
        QStringList shell = app->s.shell.opened().mid(shellBefore);
        for (QString& file : shell)
            file = QString(file).replace(QLatin1Char('\\'), QLatin1Char('/')).remove(app->folder.path());
        QCOMPARE(shell, opened);
        if (result < 0) {
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.SQL_Selecao->isActive());
        } else {
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), result);
            QVERIFY(!dialog.SQL_Selecao->isActive());
        }
    }
};

QTEST_MAIN(TestReportPicker)
#include "tst_report_picker.moc"
