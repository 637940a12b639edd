#include "ClinicalScreens.h"
#include "U_frmPaciente.h"
#include "U_frmPaciente_Manut.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerClinicalScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmPaciente"), [](QWidget* p) { return new TfrmPaciente(p); });
    r.setFactory(QStringLiteral("frmPaciente_Manut"), [](QWidget* p) { return new TfrmPaciente_Manut(p); });
}
} // namespace dv
