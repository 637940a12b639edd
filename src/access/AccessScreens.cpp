#include "AccessScreens.h"
#include "U_frmGrupo.h"
#include "U_frmGrupo_Manut.h"
#include "U_frmModulo.h"
#include "U_frmModulo_Manut.h"
#include "U_frmModulo_Menu_Manut.h"
#include "U_frmUsuario.h"
#include "U_frmUsuario_Manut.h"
#include "framework/ScreenRegistry.h"

namespace dv {

namespace {
template <class Screen> ScreenFactory make() {
    return [](QWidget* parent) { return new Screen(parent); };
}
} // namespace

void registerAccessScreens(ScreenRegistry& r) {
    r.setFactory(QStringLiteral("frmUsuario"), make<TfrmUsuario>());
    r.setFactory(QStringLiteral("frmUsuario_Manut"), make<TfrmUsuario_Manut>());
    r.setFactory(QStringLiteral("frmGrupo"), make<TfrmGrupo>());
    r.setFactory(QStringLiteral("frmGrupo_Manut"), make<TfrmGrupo_Manut>());
    r.setFactory(QStringLiteral("frmModulo"), make<TfrmModulo>());
    r.setFactory(QStringLiteral("frmModulo_Manut"), make<TfrmModulo_Manut>());
    r.setFactory(QStringLiteral("frmModulo_Menu_Manut"), make<TfrmModulo_Menu_Manut>());
}

} // namespace dv
