#pragma once
#include "shell/Startup.h"
#include <QString>
#include <functional>
#include <vector>

class QApplication;

namespace dv {
struct StartupObjects;
}

namespace dv::bench {

// Starts the application on the database, logs in and measures the patient list and
// record as the user meets them; prints medians of the runs. 0 on success.
int patientScreens(QApplication& app, const QString& database, int runs);

// The consultation record opened on a 300-item consultation until its grid, total and
// chart are shown, and one item added from there; prints medians. 0 on success.
int consultationRecord(QApplication& app, const QString& database, int runs);

// An application folder whose database is the benchmark file.
bool prepareFolder(const QString& folder, const QString& database);
// Starts the application on the database in that folder and logs in as the
// administrator; false (with the reason printed) when it cannot.
bool startLoggedIn(QApplication& app, const QString& folder, const QString& database, StartupObjects& o);
// Lets events run until done() or the time is up.
void waitUntil(const std::function<bool()>& done, int timeoutMs = 60000);
double median(std::vector<double> v);

} // namespace dv::bench
