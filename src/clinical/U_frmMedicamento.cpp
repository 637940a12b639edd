#include "U_frmMedicamento.h"
#include "core/db/Dataset.h"

using dv::FieldDef;

TfrmMedicamento::TfrmMedicamento(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmMedicamento"), QStringLiteral("Medicamentos")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from medicamento order by medicamento_nome")};
    for (const FieldDef& def : {
             FieldDef::column("medicamento_id", "ID", 6),
             FieldDef::column("medicamento_nome", "Medicamento", 34).asRequired(),
             FieldDef::column("medicamento_dosagem", "Dosagem", 24),
             FieldDef::column("medicamento_posologia", "Modo de usar", 60),
         })
        SQL_Consulta->addField(def);
}
