#include "ScriptedServices.h"
#include "core/Services.h"
#include <QStringList>

namespace dv::test {

ScriptedServices::ScriptedServices() {
    Services& s = services();
    s.setDialogs(&dialogs);
    s.setFileDialogs(&fileDialogs);
    s.setShell(&shell);
    s.setClock(&clock);
    s.setWorkstation(&workstation);
    s.setSettings(&settings);
}

ScriptedServices::~ScriptedServices() {
    services().restoreReal();
}

void ScriptedServices::reset() {
    dialogs = ScriptedDialogs();
    fileDialogs = ScriptedFileDialogs();
    shell = ShellRecorder();
    clock = FixedClock();
    workstation = FixedWorkstation();
    settings = MemorySettingsStore();
}

bool ScriptedServices::verifyNoUnexpected(QString* why) const {
    QString a, b;
    const bool dialogsOk = dialogs.verifyNoUnexpected(&a);
    const bool filesOk = fileDialogs.verifyNoUnexpected(&b);
    const bool ok = dialogsOk && filesOk;
    if (why) {
        QStringList parts;
        if (!a.isEmpty()) parts.append(a);
        if (!b.isEmpty()) parts.append(b);
        *why = parts.join(QStringLiteral("; "));
    }
    return ok;
}

} // namespace dv::test
