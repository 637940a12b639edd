#include "MaintenanceScreens.h"
#include "U_frmBackup.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerMaintenanceScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmBackup"), [](QWidget* p) { return new TfrmBackup(p); });
}
} // namespace dv
