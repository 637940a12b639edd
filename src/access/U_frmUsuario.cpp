#include "U_frmUsuario.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;

TfrmUsuario::TfrmUsuario(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmUsuario"), QStringLiteral("Usuários")) {
    SQL_Consulta->sql() = {QStringLiteral("Select * from usuario order by Usuario_Nome")};
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("usuario_id"), QStringLiteral("Id"), 10));
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("usuario_nome"), QStringLiteral("Nome"), 43).asRequired());
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("usuario_login"), QStringLiteral("Login"), 30).asRequired());
    // Only the active groups are looked up: a user of an inactive group shows none.
    SQL_Consulta->addField(FieldDef::lookup(QStringLiteral("lk_grupo"), QStringLiteral("Grupo"), 50,
                                            dm().SQL_Grupo, QStringLiteral("grupo_id"),
                                            QStringLiteral("grupo_id"), QStringLiteral("grupo_nome"))
                               .withType(dv::FieldType::String)
                               .withSize(50));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("usuario_email"), QStringLiteral("email"), 50));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("usuario_ativo"), QStringLiteral("Ativo"), 4));
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("usuario_senha"), QStringLiteral("Senha")).asHidden());
    SQL_Consulta->addField(FieldDef::hidden(QStringLiteral("usuario_confirma")));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("grupo_id"), QStringLiteral("grupo")).asHidden());
    wwDBGrid1->setCheckBoxField(QStringLiteral("usuario_ativo"));
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
}

void TfrmUsuario::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("usuario_ativo"))->setAsString(QStringLiteral("S"));
}
