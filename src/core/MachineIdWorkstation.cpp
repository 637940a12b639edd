#include "MachineIdWorkstation.h"
#include <QFile>

namespace dv {

MachineIdWorkstation::MachineIdWorkstation(QString machineIdFile) : m_file(std::move(machineIdFile)) {}

QString MachineIdWorkstation::machineId() const {
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromLatin1(file.read(256)).trimmed();
}

bool MachineIdWorkstation::isDeveloperWorkstation() const {
    const QString wanted = qEnvironmentVariable(developerVariable).trimmed();
    if (wanted.isEmpty()) return false;
    const QString id = machineId();
    return !id.isEmpty() && id.compare(wanted, Qt::CaseInsensitive) == 0;
}

} // namespace dv
