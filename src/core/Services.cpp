#include "Services.h"
#include "DesktopShellService.h"
#include "IniSettingsStore.h"
#include "MachineIdWorkstation.h"
#include "QtDialogService.h"
#include "QtFileDialogService.h"
#include "SystemClock.h"

namespace dv {

namespace {
template <typename Real, typename Interface>
Interface& pick(Interface* replacement, std::unique_ptr<Interface>& real) {
    if (replacement) return *replacement;
    if (!real) real = std::make_unique<Real>();
    return *real;
}
} // namespace

Services::Services() = default;
Services::~Services() = default;

DialogService& Services::dialogs() {
    return pick<QtDialogService>(m_dialogs, m_realDialogs);
}

FileDialogService& Services::fileDialogs() {
    return pick<QtFileDialogService>(m_fileDialogs, m_realFileDialogs);
}

ShellService& Services::shell() {
    return pick<DesktopShellService>(m_shell, m_realShell);
}

ClockService& Services::clock() {
    return pick<SystemClock>(m_clock, m_realClock);
}

WorkstationService& Services::workstation() {
    return pick<MachineIdWorkstation>(m_workstation, m_realWorkstation);
}

SettingsStore& Services::settings() {
    return pick<IniSettingsStore>(m_settings, m_realSettings);
}

void Services::restoreReal() {
    m_dialogs = nullptr;
    m_fileDialogs = nullptr;
    m_shell = nullptr;
    m_clock = nullptr;
    m_workstation = nullptr;
    m_settings = nullptr;
}

Services& services() {
    static Services instance;
    return instance;
}

} // namespace dv
