#pragma once
#include "ReportOutput.h"

class QPrinter;
class QPrintPreviewDialog;

namespace dv {

// The application's report output: the output dialog, then the printer, the
// maximised preview at 120 % (whose print button prints too) or a PDF file.
class QtReportOutput : public ReportOutput {
public:
    static constexpr double PreviewZoom = 1.2;

    void deliver(const ReportDocument& document) override;

    // Sets up the preview dialog of a document on a printer: maximised, at 120 %.
    // The caller runs it (exec) and owns it.
    static QPrintPreviewDialog* makePreview(const ReportDocument& document, QPrinter& printer,
                                            QWidget* parent);
};

} // namespace dv
