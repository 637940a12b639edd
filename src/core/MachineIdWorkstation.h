#pragma once
#include "WorkstationService.h"

namespace dv {

// The workstation's identity is the systemd machine id (/etc/machine-id). The
// developer workstation is the machine whose id the environment variable
// DENTRIVALE_DEV_WORKSTATION names: set it (in the developer's login profile)
// to the content of /etc/machine-id. An unreadable id, or the variable unset or
// naming another machine, means an ordinary workstation.
class MachineIdWorkstation : public WorkstationService {
public:
    explicit MachineIdWorkstation(QString machineIdFile = QStringLiteral("/etc/machine-id"));
    QString machineId() const override;
    bool isDeveloperWorkstation() const override;

    static constexpr const char* developerVariable = "DENTRIVALE_DEV_WORKSTATION";

private:
    QString m_file;
};

} // namespace dv
