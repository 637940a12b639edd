#include "CatalogueScreens.h"
#include "U_frmConvenio.h"
#include "U_frmConvenio_Manut.h"
#include "U_frmDente.h"
#include "U_frmDente_Manut.h"
#include "U_frmIcone.h"
#include "U_frmIcone_Manut.h"
#include "U_frmServico.h"
#include "U_frmServico_Manut.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerCatalogueScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmIcone"), [](QWidget* p) { return new TfrmIcone(p); });
    r.setFactory(QStringLiteral("frmIcone_Manut"), [](QWidget* p) { return new TfrmIcone_Manut(p); });
    r.setFactory(QStringLiteral("frmDente"), [](QWidget* p) { return new TfrmDente(p); });
    r.setFactory(QStringLiteral("frmDente_Manut"), [](QWidget* p) { return new TfrmDente_Manut(p); });
    r.setFactory(QStringLiteral("frmServico"), [](QWidget* p) { return new TfrmServico(p); });
    r.setFactory(QStringLiteral("frmServico_Manut"), [](QWidget* p) { return new TfrmServico_Manut(p); });
    r.setFactory(QStringLiteral("frmConvenio"), [](QWidget* p) { return new TfrmConvenio(p); });
    r.setFactory(QStringLiteral("frmConvenio_Manut"), [](QWidget* p) { return new TfrmConvenio_Manut(p); });
}
} // namespace dv
