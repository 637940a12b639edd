#include "U_frmEstoque.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"

using dv::FieldDef;

TfrmEstoque::TfrmEstoque(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmEstoque"), QStringLiteral("Estoque de Produtos")) {
    SQL_Consulta->sql() = {QStringLiteral("Select * from Produto order by prod_nome")};
    for (const FieldDef& def : {
             FieldDef::column("prod_id", "ID", 6),
             FieldDef::column("prod_nome", "Material", 36),
             FieldDef::column("prod_estoque", "Estoque", 8),
             FieldDef::column("prod_minimo", "Minimo", 8),
             FieldDef::column("unidade_id", "Unidade", 8),
             FieldDef::column("contato_id", "Fornecedor(Contato)").asHidden(),
             FieldDef::lookup("lk_Fornecedor", "Fornecedor(Contato)", 30, dm().SQL_Contato, "contato_id",
                              "contato_id", "contato_nome"),
             FieldDef::column("prod_ultimo_preco", "Último preço", 12).withFormat("R$ #,##0.00"),
         })
        SQL_Consulta->addField(def);
}
