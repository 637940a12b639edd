#include "ReportOutput.h"
#include "QtReportOutput.h"

namespace dv {

namespace {
ReportOutput* g_replacement = nullptr;
}

ReportOutput& reportOutput() {
    if (g_replacement) return *g_replacement;
    static QtReportOutput real;
    return real;
}

void setReportOutput(ReportOutput* replacement) {
    g_replacement = replacement;
}

} // namespace dv
