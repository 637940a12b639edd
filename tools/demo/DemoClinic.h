#pragma once
#include <QDate>
#include <QString>

namespace dv::demo {

// Builds the demo clinic into file: a copy of the installation database (same
// key) with about 300 patients, three dentists, treatments charted on the
// odontogram, installments and the agenda of today's week and the next. The same
// day and installation database give the same rows. The file appears only when
// complete; on failure a dv::PlainError says why and file is left as it was.
void buildDemoClinic(const QString& file, const QDate& today, const QString& installDb);

} // namespace dv::demo
