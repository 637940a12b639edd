#include "OfficeScreens.h"
#include "U_frmContato.h"
#include "U_frmContato_Manut.h"
#include "U_frmDentista.h"
#include "U_frmDentista_Manut.h"
#include "U_frmEmpresa.h"
#include "U_frmEmpresa_Manut.h"
#include "U_frmEstoque.h"
#include "U_frmEstoque_Manut.h"
#include "framework/ScreenRegistry.h"

namespace dv {

namespace {
template <class Screen> ScreenFactory make() {
    return [](QWidget* parent) { return new Screen(parent); };
}
} // namespace

void registerOfficeScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmDentista"), make<TfrmDentista>());
    r.setFactory(QStringLiteral("frmDentista_Manut"), make<TfrmDentista_Manut>());
    r.setFactory(QStringLiteral("frmContato"), make<TfrmContato>());
    r.setFactory(QStringLiteral("frmContato_Manut"), make<TfrmContato_Manut>());
    r.setFactory(QStringLiteral("frmEmpresa"), make<TfrmEmpresa>());
    r.setFactory(QStringLiteral("frmEmpresa_Manut"), make<TfrmEmpresa_Manut>());
    r.setFactory(QStringLiteral("frmEstoque"), make<TfrmEstoque>());
    r.setFactory(QStringLiteral("frmEstoque_Manut"), make<TfrmEstoque_Manut>());
}

} // namespace dv
