#pragma once

#include <QDateTime>

namespace dv {

// A stored day and time as the wall clock read it. Where the local zone skipped
// that hour (Brazil's summer time began at midnight until 2019), a local value
// would be invalid and the day lost, so such a value keeps its fields under UTC.
inline QDateTime wallClock(const QDate& day, const QTime& time) {
    QDateTime local(day, time);
    if (local.isValid() || !day.isValid() || !time.isValid()) return local;
    return QDateTime(day, time, Qt::UTC);
}

} // namespace dv
