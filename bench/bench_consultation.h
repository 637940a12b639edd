#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// Opens the consultation record of a consultation with 300 items (made once in the
// benchmark database) until its item grid and total are shown; prints the median.
int consultationRecord(QApplication& app, const QString& database, int runs);

} // namespace dv::bench
