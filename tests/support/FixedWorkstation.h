#pragma once
#include "core/WorkstationService.h"

namespace dv::test {

// A workstation that is (or is not) the developer's, as the test says.
class FixedWorkstation : public WorkstationService {
public:
    explicit FixedWorkstation(bool developer = false, QString id = QStringLiteral("test-workstation"))
        : m_developer(developer), m_id(std::move(id)) {}
    QString machineId() const override { return m_id; }
    bool isDeveloperWorkstation() const override { return m_developer; }
    void setDeveloper(bool developer) { m_developer = developer; }

private:
    bool m_developer;
    QString m_id;
};

} // namespace dv::test
