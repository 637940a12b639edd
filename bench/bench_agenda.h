#pragma once
#include <QString>

class QApplication;

namespace dv::bench {

// Starts the application on the database, opens the agenda on the busiest dentist's
// busiest day and measures its refresh (free slots and the day's appointments read
// and both grids drawn); prints the median of the runs. 0 on success.
int agendaDay(QApplication& app, const QString& database, int runs);

} // namespace dv::bench
