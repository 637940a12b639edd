#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// The patient list opened through the application and written as CSV with the
// columns its grid shows (what its "Csv" export writes); prints the median. 0 on success.
int csvExport(QApplication& app, const QString& database, int runs);

// The patient report laid out over 10,000 patients and written as a PDF file;
// prints the median. 0 on success.
int reportPdf(QApplication& app, const QString& database, int runs);

} // namespace dv::bench
