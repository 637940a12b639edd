#pragma once
#include "ClockService.h"
#include "DialogService.h"
#include "FileDialogService.h"
#include "SettingsStore.h"
#include "ShellService.h"
#include "WorkstationService.h"
#include <memory>

namespace dv {

// Everything a test must answer or observe: the application's replaceable
// services. Each accessor gives the installed replacement if any, else the real
// implementation (made on first use). Replacements are not owned; installing
// nullptr puts the real one back.
//
//   dv::services().dialogs().warning("CPF errado, corrija-o!");
//   if (dv::services().dialogs().confirmation("Deseja realmente sair do sistema?")) ...
//   dv::FileDialogRequest r;
//   r.filter = "JPEG Imagem (*.jpg)|*.jpg";
//   QString file = dv::services().fileDialogs().openFile(r);
//   dv::services().shell().open(file);
//   QDate today = dv::services().clock().today();
class Services {
public:
    Services();
    ~Services();
    Services(const Services&) = delete;
    Services& operator=(const Services&) = delete;

    DialogService& dialogs();
    FileDialogService& fileDialogs();
    ShellService& shell();
    ClockService& clock();
    WorkstationService& workstation();
    SettingsStore& settings();

    void setDialogs(DialogService* replacement) { m_dialogs = replacement; }
    void setFileDialogs(FileDialogService* replacement) { m_fileDialogs = replacement; }
    void setShell(ShellService* replacement) { m_shell = replacement; }
    void setClock(ClockService* replacement) { m_clock = replacement; }
    void setWorkstation(WorkstationService* replacement) { m_workstation = replacement; }
    void setSettings(SettingsStore* replacement) { m_settings = replacement; }

    // Drops every replacement.
    void restoreReal();

private:
    DialogService* m_dialogs = nullptr;
    FileDialogService* m_fileDialogs = nullptr;
    ShellService* m_shell = nullptr;
    ClockService* m_clock = nullptr;
    WorkstationService* m_workstation = nullptr;
    SettingsStore* m_settings = nullptr;

    std::unique_ptr<DialogService> m_realDialogs;
    std::unique_ptr<FileDialogService> m_realFileDialogs;
    std::unique_ptr<ShellService> m_realShell;
    std::unique_ptr<ClockService> m_realClock;
    std::unique_ptr<WorkstationService> m_realWorkstation;
    std::unique_ptr<SettingsStore> m_realSettings;
};

Services& services();

} // namespace dv
