#include "ScriptedServices.h"
#include "reporting/PdfFileReportOutput.h"
#include "reporting/QtReportOutput.h"
#include "reporting/ReportDocument.h"
#include "reporting/ReportError.h"
#include "reporting/ReportProject.h"
#include "reporting/ReportSetupDialog.h"
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace dv;

namespace {

const char* const kProject = R"(<reportProject>
  <report name="Relat_Saida"><description>Duas folhas</description>
    <page><title height="10"><text h="10">Primeira folha</text></title></page>
    <page orientation="landscape"><title height="10"><text h="10">Segunda folha</text></title></page>
  </report>
</reportProject>)";

// Runs `answer` on the modal dialog of type T as soon as it is shown; fails the test
// (and closes whatever is modal) when none turns up.
template <class T> void whenModal(std::function<void(T*)> answer, bool* answered) {
    auto tries = std::make_shared<int>(0);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [=] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            *answered = true;
            answer(dialog);
            return;
        }
        if (++*tries > 250) {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
            return;
        }
        QTimer::singleShot(20, *poll);
    };
    QTimer::singleShot(0, *poll);
}

QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// The application's own output: the output dialog, the maximised preview at 120 %
// and saving to a PDF file.
class TestReportOutput : public QObject {
    Q_OBJECT

    ReportProject m_project;
    QTemporaryDir m_dir;

private slots:
    void initTestCase() {
        setReportOutput(nullptr);
        m_project.load(kProject, QStringLiteral("saida.rav"));
    }

    void previewIsMaximisedAt120Percent() {
        const ReportDocument doc = m_project.build(QStringLiteral("Relat_Saida"));
        QPrinter printer(QPrinter::HighResolution);
        std::unique_ptr<QPrintPreviewDialog> preview(QtReportOutput::makePreview(doc, printer, nullptr));
        preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(preview.get()));
        auto* view = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(view);
        QVERIFY(preview->windowState() & Qt::WindowMaximized);
        QCOMPARE(view->zoomMode(), QPrintPreviewWidget::CustomZoom);
        QCOMPARE(view->zoomFactor(), 1.2);
        QTRY_COMPARE(view->pageCount(), 2);
        QCOMPARE(preview->windowTitle(), QStringLiteral("Visualização - Relat_Saida"));
    }

    void outputDialogSavesPdf() {
        test::ScriptedServices s;
        const QString file = m_dir.filePath(QStringLiteral("saida.pdf"));
        bool answered = false;
        whenModal<ReportSetupDialog>(
            [&](ReportSetupDialog* d) {
                QVERIFY(d->rbVisualizar->isChecked()); // preview unless the user says otherwise
                d->rbArquivo->click();
                QVERIFY(d->edArquivo->isEnabled());
                QVERIFY(!d->edCopias->isEnabled());
                d->edArquivo->setText(file);
                d->accept();
            },
            &answered);
        m_project.execute(QStringLiteral("Relat_Saida"));
        QVERIFY(answered);
        const QString text = pdfText(file);
        QVERIFY(text.contains(QStringLiteral("Primeira folha")));
        QVERIFY(text.contains(QStringLiteral("Segunda folha")));
        // A4 upright, then across.
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {"-f", "1", "-l", "2", file});
        info.waitForFinished(30000);
        const QString sizes = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(sizes.contains(QRegularExpression(QStringLiteral("Page +1 size: +595 x 842 pts \\(A4\\)"))),
                 qPrintable(sizes));
        QVERIFY2(sizes.contains(QRegularExpression(QStringLiteral("Page +2 size: +842 x 595 pts \\(A4\\)"))),
                 qPrintable(sizes));
        QCOMPARE(s.dialogs.texts(test::ScriptedDialogs::Kind::Information),
                 QStringList{"Arquivo gravado em " + file});
        DV_VERIFY_SERVICES(s);
    }

    // A PDF that cannot be written says why, and leaves nothing.
    void pdfThatCannotBeWrittenSaysWhy() {
        test::ScriptedServices s;
        const QString file = m_dir.filePath(QStringLiteral("sem pasta/saida.pdf"));
        const ReportDocument doc = m_project.build(QStringLiteral("Relat_Saida"));
        QString message;
        try {
            PdfFileReportOutput::save(doc, file);
        } catch (const ReportError& e) {
            message = e.message();
        }
        QFile probe(file);
        QVERIFY(!probe.open(QIODevice::WriteOnly));
        QCOMPARE(message, "Não foi possível gravar o arquivo " + file + ": " + probe.errorString());
        QVERIFY(!QFile::exists(file));
        QVERIFY(s.dialogs.texts().isEmpty());
    }

    void outputDialogCancelledPrintsNothing() {
        test::ScriptedServices s;
        const QString file = m_dir.filePath(QStringLiteral("cancelado.pdf"));
        bool answered = false;
        whenModal<ReportSetupDialog>(
            [&](ReportSetupDialog* d) {
                d->setDestination(ReportSetupDialog::PdfFile);
                d->setFileName(file);
                d->reject();
            },
            &answered);
        m_project.execute(QStringLiteral("Relat_Saida"));
        QVERIFY(answered);
        QVERIFY(!QFile::exists(file));
    }

    // The preview chosen in the dialog opens at 120 %, maximised.
    void outputDialogOpensThePreview() {
        test::ScriptedServices s;
        bool setup = false, previewed = false;
        qreal zoom = 0;
        bool maximised = false;
        whenModal<ReportSetupDialog>(
            [&](ReportSetupDialog* d) {
                whenModal<QPrintPreviewDialog>(
                    [&](QPrintPreviewDialog* p) {
                        zoom = p->findChild<QPrintPreviewWidget*>()->zoomFactor();
                        maximised = p->windowState() & Qt::WindowMaximized;
                        p->reject();
                    },
                    &previewed);
                d->accept();
            },
            &setup);
        m_project.execute(QStringLiteral("Relat_Saida"));
        QVERIFY(setup);
        QVERIFY(previewed);
        QCOMPARE(zoom, 1.2);
        QVERIFY(maximised);
    }

    void printingWithoutPrinterIsExplained() {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("this machine has a printer");
        test::ScriptedServices s;
        bool answered = false;
        whenModal<ReportSetupDialog>(
            [&](ReportSetupDialog* d) {
                QCOMPARE(d->lbImpressora->text(), QStringLiteral("(nenhuma impressora instalada)"));
                d->setDestination(ReportSetupDialog::Printer);
                d->accept();
            },
            &answered);
        m_project.execute(QStringLiteral("Relat_Saida"));
        QVERIFY(answered);
        QCOMPARE(s.dialogs.texts(),
                 QStringList{QStringLiteral("Não há impressora instalada. Escolha visualizar o "
                                            "relatório ou salvá-lo em arquivo PDF.")});
    }
};

QTEST_MAIN(TestReportOutput)
#include "tst_reportoutput.moc"
