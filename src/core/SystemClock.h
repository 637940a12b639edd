#pragma once
#include "ClockService.h"

namespace dv {

class SystemClock : public ClockService {
public:
    QDate today() const override { return QDate::currentDate(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace dv
