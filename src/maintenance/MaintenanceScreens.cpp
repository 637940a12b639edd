#include "MaintenanceScreens.h"
#include "U_frmAuditoria.h"
#include "U_frmBackup.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerMaintenanceScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmBackup"), [](QWidget* p) { return new TfrmBackup(p); });
    r.add({QStringLiteral("frmAuditoria"), QString(), QStringLiteral("Trilha de Auditoria"), ScreenKind::List,
           [](QWidget* p) { return new TfrmAuditoria(p); }});
}
} // namespace dv
