#pragma once
#include "ClockService.h"
#include <QThread>

namespace dv {

class SystemClock : public ClockService {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void pause(int ms) override { QThread::msleep(static_cast<unsigned long>(ms)); }
    int tickInterval(int ms) override { return ms; }
};

} // namespace dv
