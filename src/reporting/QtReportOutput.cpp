#include "QtReportOutput.h"
#include "PdfFileReportOutput.h"
#include "ReportDocument.h"
#include "ReportSetupDialog.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <memory>

namespace dv {

namespace {
// Dialogs need the arrow even when the caller shows the hourglass while printing.
struct ArrowCursor {
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

QPrintPreviewDialog* QtReportOutput::makePreview(const ReportDocument& document, QPrinter& printer,
                                                 QWidget* parent) {
    auto* dialog = new QPrintPreviewDialog(&printer, parent);
    dialog->setObjectName(QStringLiteral("ReportPreview"));
    dialog->setWindowTitle(dv::text("Visualização - %1").arg(document.name()));
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [&document](QPrinter* p) {
        // Painting runs inside the dialog's event handling: report here, not by throwing.
        try {
            document.print(*p);
        } catch (...) {
            ErrorTranslator::handleCurrent();
        }
    });
    if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) view->setZoomFactor(PreviewZoom);
    dialog->setWindowState(dialog->windowState() | Qt::WindowMaximized);
    return dialog;
}

void QtReportOutput::deliver(const ReportDocument& document) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(document.name());
    printer.setFullPage(true);
    QWidget* parent = QApplication::activeWindow();
    ArrowCursor arrow;

    ReportSetupDialog setup(printer, document.name(), parent);
    if (setup.exec() != QDialog::Accepted) return;
    switch (setup.destination()) {
    case ReportSetupDialog::Preview: {
        std::unique_ptr<QPrintPreviewDialog> preview(makePreview(document, printer, parent));
        preview->exec();
        break;
    }
    case ReportSetupDialog::Printer:
        if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty()) {
            services().dialogs().warning(dv::text("Não há impressora instalada. Escolha visualizar o "
                                                  "relatório ou salvá-lo em arquivo PDF."));
            return;
        }
        document.print(printer);
        break;
    case ReportSetupDialog::PdfFile:
        PdfFileReportOutput::save(document, setup.fileName());
        break;
    }
}

} // namespace dv
