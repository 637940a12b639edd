#pragma once
#include <QDate>
#include <QDateTime>

namespace dv {

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDate today() const = 0;
    virtual QDateTime now() const = 0; // local time
};

} // namespace dv
