#pragma once
#include <QString>

namespace dv {

// Who this workstation is. The developer workstation switches developer mode on
// at start-up and fills in the administrator's login.
class WorkstationService {
public:
    virtual ~WorkstationService() = default;
    // A stable identity of this machine; empty when it cannot be read.
    virtual QString machineId() const = 0;
    virtual bool isDeveloperWorkstation() const = 0;
};

} // namespace dv
