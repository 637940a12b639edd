#include "U_frmContato.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBGrid.h"

using dv::FieldDef;

TfrmContato::TfrmContato(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmContato"), QStringLiteral("Contato")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from contato order by contato_nome")};
    const QString phone = QStringLiteral("(99)9999-9999;1;_");
    for (const FieldDef& def : {
             FieldDef::column("contato_nome", "Nome", 36).asRequired(),
             FieldDef::column("contato_pessoa", "Pessoa", 6).asRequired(),
             // The document's mask and check follow the person type (the maintenance screen).
             FieldDef::column("contato_cpf", "Cpf/Cnpj", 18).asRequired().withTag(1),
             FieldDef::column("contato_fone", "Fone", 14).withSize(20).withMask(phone),
             FieldDef::column("contato_residencial", "Fone residencial", 14).withSize(20).withMask(phone),
             FieldDef::column("contato_celular", "Celular", 14).withSize(20).withMask(phone),
             FieldDef::column("tipo_contato_id", "Tipo contato").asRequired().asHidden(),
             FieldDef::lookup("lk_TipoContato", "Tipo contato", 18, dm().SQL_TipoContato, "tipo_contato_id",
                              "tipo_contato_id", "tipo_contato_nome"),
             FieldDef::column("contato_endereco", "Endereço", 30),
             FieldDef::column("contato_numero", "Número", 7),
             FieldDef::column("contato_complemento", "complemento", 10),
             FieldDef::column("contato_bairro", "Bairro", 20),
             FieldDef::column("contato_cidade", "Cidade", 20),
             FieldDef::column("contato_cep", "Cep", 10).withMask("99999-999;1;_"),
             FieldDef::column("uf_id", "UF", 3),
             FieldDef::column("contato_ativo", "Ativo", 4),
             FieldDef::column("contato_observacao", "Observacao", 20),
             FieldDef::column("contato_email", "email", 24),
             FieldDef::column("contato_site", "site", 24),
             FieldDef::column("contato_id", "id", 6),
         })
        SQL_Consulta->addField(def);
    wwDBGrid1->setCheckBoxField(QStringLiteral("contato_ativo"));
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
    dv::reportConnections().add(QStringLiteral("Rv_Contatos"), SQL_Consulta, this);
}

TfrmContato::~TfrmContato() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmContato::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("contato_ativo"))->setAsString(QStringLiteral("S"));
    SQL_Consulta->fieldByName(QStringLiteral("contato_pessoa"))->setAsString(QStringLiteral("F"));
}
