#include "PdfFileReportOutput.h"
#include "ReportDocument.h"

namespace dv {

void PdfFileReportOutput::deliver(const ReportDocument& document) {
    document.writePdf(m_fileName);
    ++m_deliveries;
    m_lastReport = document.name();
    m_lastPageCount = document.pageCount();
}

} // namespace dv
