#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// Starts the application on the database, logs in and measures the patient list and
// record as the user meets them; prints medians of the runs. 0 on success.
int patientScreens(QApplication& app, const QString& database, int runs);

// An application folder (with its trailing '/') whose database is the benchmark file.
bool prepareBenchFolder(const QString& folder, const QString& database);

} // namespace dv::bench
