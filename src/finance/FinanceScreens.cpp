#include "FinanceScreens.h"
#include "U_frmContasPagar.h"
#include "U_frmContasPagar_Manut.h"
#include "U_frmSelecaoContasReceber.h"
#include "U_frmSelecaoContasRecebidas.h"
#include "framework/ScreenRegistry.h"

namespace dv {

namespace {
template <class Screen> ScreenFactory make() {
    return [](QWidget* parent) { return new Screen(parent); };
}
} // namespace

void registerFinanceScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmContasPagar"), make<TfrmContasPagar>());
    r.setFactory(QStringLiteral("frmContasPagar_Manut"), make<TfrmContasPagar_Manut>());
    r.setFactory(QStringLiteral("frmSelecaoContasReceber"), make<TfrmSelecaoContasReceber>());
    r.setFactory(QStringLiteral("frmSelecaoContasRecebidas"), make<TfrmSelecaoContasRecebidas>());
}

} // namespace dv
