#pragma once
#include <QDate>
#include <QDateTime>

namespace dv {

// Today, now, and every prescribed pause or tick of the system (start-up's
// splash pauses, the login's hand-over ticks). The real clock keeps the stated
// durations; a scripted clock returns at once.
class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0; // local time

    // A prescribed pause of `ms` milliseconds (the caller does not run events meanwhile).
    virtual void pause(int ms) = 0;
    // The interval to give a prescribed periodic tick stated as `ms` milliseconds
    // (0: as soon as the event loop turns).
    virtual int tickInterval(int ms) = 0;
};

} // namespace dv
