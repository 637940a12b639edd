#include "U_frmDocumentoModelo.h"
#include "core/db/Dataset.h"

using dv::FieldDef;

TfrmDocumentoModelo::TfrmDocumentoModelo(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmDocumentoModelo"), QStringLiteral("Modelos de Documentos")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from documento_modelo order by modelo_nome")};
    for (const FieldDef& def : {
             FieldDef::column("modelo_id", "ID", 6),
             FieldDef::column("modelo_nome", "Modelo", 40).asRequired(),
             FieldDef::column("modelo_texto", "Texto", 80),
         })
        SQL_Consulta->addField(def);
}
