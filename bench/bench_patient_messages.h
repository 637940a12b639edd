#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// Starts the application on the database and measures the lists the receptionist
// writes to patients from: the month's birthdays and the patients due for a return
// visit, each read and drawn; prints the medians of the runs. 0 on success.
int patientMessageLists(QApplication& app, const QString& database, int runs);

} // namespace dv::bench
