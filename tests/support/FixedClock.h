#pragma once
#include "core/ClockService.h"

namespace dv::test {

// A clock standing still at a given moment (until set again).
class FixedClock : public ClockService {
public:
    explicit FixedClock(QDateTime now = QDateTime(QDate(2026, 3, 16), QTime(9, 30)))
        : m_now(std::move(now)) {}
    QDate today() const override { return m_now.date(); }
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};

} // namespace dv::test
