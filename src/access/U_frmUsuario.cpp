#include "U_frmUsuario.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;
using dv::FieldKind;

TfrmUsuario::TfrmUsuario(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmUsuario"), QStringLiteral("Usuários")) {
    SQL_Consulta->sql() = {QStringLiteral("Select * from usuario order by Usuario_Nome")};
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("usuario_id"), .displayLabel = QStringLiteral("Id"), .displayWidth = 10});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("usuario_nome"),
                                    .displayLabel = QStringLiteral("Nome"),
                                    .required = true,
                                    .displayWidth = 43});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("usuario_login"),
                                    .displayLabel = QStringLiteral("Login"),
                                    .required = true,
                                    .displayWidth = 30});
    // Only the active groups are looked up: a user of an inactive group shows none.
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("lk_grupo"),
                                    .type = dv::FieldType::String,
                                    .displayLabel = QStringLiteral("Grupo"),
                                    .size = 50,
                                    .displayWidth = 50,
                                    .kind = FieldKind::Lookup,
                                    .lookupDataset = dm().SQL_Grupo,
                                    .keyFields = QStringLiteral("grupo_id"),
                                    .lookupKeyFields = QStringLiteral("grupo_id"),
                                    .lookupResultField = QStringLiteral("grupo_nome")});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("usuario_email"),
                                    .displayLabel = QStringLiteral("email"),
                                    .displayWidth = 50});
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("usuario_ativo"), .displayLabel = QStringLiteral("Ativo"), .displayWidth = 4});
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("usuario_senha"), .displayLabel = QStringLiteral("Senha"), .visible = false});
    SQL_Consulta->addField(FieldDef{.name = QStringLiteral("usuario_confirma"), .visible = false});
    SQL_Consulta->addField(FieldDef{
        .name = QStringLiteral("grupo_id"), .displayLabel = QStringLiteral("grupo"), .visible = false});
    wwDBGrid1->setCheckBoxField(QStringLiteral("usuario_ativo"));
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
}

void TfrmUsuario::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("usuario_ativo"))->setAsString(QStringLiteral("S"));
}
