#pragma once
#include "TempDb.h"
#include "core/db/Engine.h"
#include <QVariant>

namespace dv::test {

// A fresh keyed database with small tables shaped like the system's: patients with a
// photo, a currency, a date, a memo and a flag; their consultations (a detail with a
// required parent); insurance plans to look up; answers keyed by two columns; and a
// table without any key.
struct DatasetTestDb {
    DatasetTestDb();

    Connection* connection() { return temp.db.get(); }
    Connection& engine() { return *temp.db; }
    // First column of the first row of a query run directly on the database, as text
    // (money in ten-thousandths).
    QVariant scalar(const QString& sql, const Params& params = {});
    // Adds a patient; gives its key.
    qint64 addPatient(const QString& name, int plan = 1, const QString& active = QStringLiteral("S"));

    TempDb temp;
};

} // namespace dv::test
