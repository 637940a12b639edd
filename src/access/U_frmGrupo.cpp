#include "U_frmGrupo.h"
#include "AdministratorGroup.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;

TfrmGrupo::TfrmGrupo(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmGrupo"), QStringLiteral("Grupo")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from grupo")};
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("grupo_id"), QStringLiteral("id"), 10));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("grupo_nome"), QStringLiteral("Grupo Nome"), 50));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("grupo_ativo"), QStringLiteral("Grupo Ativo"), 1));
    wwDBGrid1->setCheckBoxField(QStringLiteral("grupo_ativo"));
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
    SQL_Consulta->AfterPost = [this](dv::Dataset&) { SQL_ConsultaAfterPost(); };
}

void TfrmGrupo::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("grupo_ativo"))->setAsString(QStringLiteral("S"));
}

void TfrmGrupo::SQL_ConsultaAfterPost() {
    // The user screen offers a new group, or a changed name, at once.
    dm().SQL_Grupo->close();
    dm().SQL_Grupo->open();
}

void TfrmGrupo::btnExcluirClick() {
    if (dv::refuseAdministratorGroup(SQL_Consulta)) return;
    TfrmModelo4::btnExcluirClick();
}
