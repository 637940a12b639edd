#include "U_frmDente.h"
#include "SharedLists.h"
#include "core/ErrorTranslator.h"
#include "core/U_dm.h"

using dv::FieldDef;

TfrmDente::TfrmDente(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmDente"), QStringLiteral("Dentes")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from Dente")};
    // The number is the key the odontogram finds the tooth by: never invented.
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("dente_id"), QStringLiteral("Id"), 6).asRequired());
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("dente_nome"), QStringLiteral("Nome"), 34));
    SQL_Consulta->addField(FieldDef::hidden(QStringLiteral("dente_img")));
}

void TfrmDente::FormClose() {
    TfrmModelo4::FormClose();
    dv::guarded([] { dv::reloadShared(dm().SQL_Dente); });
}
