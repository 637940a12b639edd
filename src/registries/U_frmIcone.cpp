#include "U_frmIcone.h"
#include "SharedLists.h"
#include "core/ErrorTranslator.h"
#include "core/U_dm.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;

TfrmIcone::TfrmIcone(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmIcone"), QStringLiteral("Icones")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from icone")};
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("icone_id"), QStringLiteral("Id"), 6));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("icone_nome"), QStringLiteral("Nome"), 40));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("icone_arquivo"), QStringLiteral("Arquivo"), 34));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("icone_img"), QStringLiteral("Img"), 10));
    wwDBGrid1->setPictureField(QStringLiteral("icone_img"), QSize(40, 40));
}

void TfrmIcone::FormClose() {
    TfrmModelo4::FormClose();
    // The odontogram and the service screen draw from the shared list.
    dv::guarded([] { dv::reloadShared(dm().SQL_Icone); });
}
