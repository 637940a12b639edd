#pragma once
#include "core/ClockService.h"
#include <QList>

namespace dv::test {

// A clock standing still at a given moment (until set again). Prescribed pauses
// return at once and prescribed ticks come as soon as the event loop turns; both
// are recorded (their stated milliseconds, in order).
class FixedClock : public ClockService {
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2026, 3, 16), QTime(9, 30)))
        : m_now(std::move(now)) {}
    QDate today() const override { return m_now.date(); }
    QDateTime now() const override { return m_now; }
    void pause(int ms) override { m_pauses.append(ms); }
    int tickInterval(int ms) override {
        m_ticks.append(ms);
        return 0;
    }
    void set(const QDateTime& now) { m_now = now; }

    const QList<int>& pauses() const { return m_pauses; }
    const QList<int>& ticks() const { return m_ticks; }
    void clearRecords() {
        m_pauses.clear();
        m_ticks.clear();
    }

private:
    QDateTime m_now;
    QList<int> m_pauses;
    QList<int> m_ticks;
};

} // namespace dv::test
