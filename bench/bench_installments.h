#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// Generates 120 installments on the installments tab of a consultation record (made
// once in the benchmark database), removing them between runs; prints the median time
// and how often the installment list was read again per generation.
int installmentGeneration(QApplication& app, const QString& database, int runs);

} // namespace dv::bench
