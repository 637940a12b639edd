#include "U_frmDentista.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;

TfrmDentista::TfrmDentista(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmDentista"), QStringLiteral("Dentista")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from dentista")};
    for (const FieldDef& def : {
             FieldDef::column("dentista_id", "ID", 6),
             FieldDef::column("dentista_nome", "Nome", 40).asRequired(),
             FieldDef::column("dentista_cro", "CRO", 14),
             FieldDef::column("dentista_especialidade", "Especialidade", 20),
             FieldDef::column("dentista_fone", "Fone", 14),
             FieldDef::column("dentista_celular", "Celular", 14),
             FieldDef::column("dentista_endereco", "Endereco", 30),
             FieldDef::column("dentista_bairro", "Bairro", 20),
             FieldDef::column("dentista_cidade", "Cidade", 20),
             FieldDef::column("dentista_numero", "Numero", 8),
             FieldDef::column("dentista_cep", "Cep", 10),
             FieldDef::column("dentista_uf", "UF", 3),
             FieldDef::column("dentista_ativo", "Ativo", 4),
             FieldDef::column("empresa_id", "Empresa").asHidden(),
         })
        SQL_Consulta->addField(def);
    wwDBGrid1->setCheckBoxField(QStringLiteral("dentista_ativo"));
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
}

void TfrmDentista::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("dentista_ativo"))->setAsString(QStringLiteral("S"));
}
