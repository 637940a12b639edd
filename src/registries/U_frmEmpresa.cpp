#include "U_frmEmpresa.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"
#include <QAction>
#include <QToolBar>
#include <QToolButton>

using dv::FieldDef;

TfrmEmpresa::TfrmEmpresa(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmEmpresa"), QStringLiteral("Empresa")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from empresa")};
    for (const FieldDef& def : {
             FieldDef::column("empresa_id", "Id", 5),
             FieldDef::column("empresa_nome", "Nome", 34),
             FieldDef::column("empresa_cgc", "Cnpj", 18).withTag(1),
             FieldDef::column("empresa_endereco", "Endereço", 30),
             FieldDef::column("empresa_numero", "Número", 7),
             FieldDef::column("empresa_bairro", "Bairro", 18),
             FieldDef::column("empresa_cidade", "Cidade", 18),
             FieldDef::column("empresa_uf", "UF", 3),
             FieldDef::column("empresa_fone", "Fone", 14),
             FieldDef::column("empresa_fone2", "Fone 2", 14),
             FieldDef::column("empresa_logo", "logo marca", 20),
             FieldDef::column("empresa_cep", "Cep", 10),
         })
        SQL_Consulta->addField(def);
    wwDBGrid1->setPictureField(QStringLiteral("empresa_logo"), QSize(96, 48));
}

void TfrmEmpresa::FormShow() {
    TfrmModelo4::FormShow();
    // After the permissions: no way to add or delete a company, whatever the group may.
    for (QToolButton* b : {btnNovo, btnExcluir}) {
        b->setEnabled(false); // their keys as well
        for (QAction* a : ToolBar1->actions())
            if (ToolBar1->widgetForAction(a) == b) a->setVisible(false);
    }
    for (QAction* a : {Novo1, Excluir1}) {
        a->setEnabled(false);
        a->setVisible(false);
    }
}
