#pragma once
#include <QString>

class QApplication;

namespace dv {
struct StartupObjects;
}

namespace dv::bench {

// Starts the application on the database, logs in and measures the patient list and
// record as the user meets them; prints medians of the runs. 0 on success.
int patientScreens(QApplication& app, const QString& database, int runs);

// Starts the application with the clinical screens in a folder (with its trailing
// '/') whose database is the benchmark file, and logs in as the administrator;
// false, after saying why, when it cannot.
bool startLoggedIn(QApplication& app, const QString& folder, const QString& database, StartupObjects& o);

} // namespace dv::bench
