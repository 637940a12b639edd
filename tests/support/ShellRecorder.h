#pragma once
#include "core/ShellService.h"
#include <QStringList>

namespace dv::test {

// Records what the system asks the shell to open; opens nothing.
class ShellRecorder : public ShellService {
public:
    bool open(const QString& fileOrUrl) override {
        m_opened.append(fileOrUrl);
        return m_result;
    }
    const QStringList& opened() const { return m_opened; }
    void setResult(bool result) { m_result = result; }

private:
    QStringList m_opened;
    bool m_result = true;
};

} // namespace dv::test
