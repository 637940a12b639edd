#pragma once

class QWidget;

namespace dv {

class ReportDocument;

// Where a report goes once laid out. The application's output asks the user (the
// output dialog: printer, preview or PDF file, copies, collation, duplex, printer
// setup); tests install one that writes a PDF file and read it back.
//
//   dv::PdfFileReportOutput pdf(path);
//   dv::setReportOutput(&pdf);   // ... run reports ...
//   dv::setReportOutput(nullptr); // the real one again
class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    // Hands the document on; a failure raises ReportError.
    virtual void deliver(const ReportDocument& document) = 0;
};

// The installed replacement, else the application's own output.
ReportOutput& reportOutput();
// Not owned; nullptr puts the application's own output back.
void setReportOutput(ReportOutput* replacement);

} // namespace dv
