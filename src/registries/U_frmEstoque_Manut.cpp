#include "U_frmEstoque_Manut.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmEstoque_Manut.h"

TfrmEstoque_Manut::TfrmEstoque_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmEstoque_Manut"), QStringLiteral("Manutenção de Estoque")) {
    Ui::frmEstoque_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    wwDBLookupCombo1 = dados.wwDBLookupCombo1;
    wwDBLookupComboDlg2 = dados.wwDBLookupComboDlg2;

    SQL_Fornecedor = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Fornecedor"), this);
    SQL_Fornecedor->sql() = {QStringLiteral("select * from contato order by contato_nome")};
    SQL_Fornecedor->addField(dv::FieldDef::column("contato_nome", "Nome", 30));
    SQL_Fornecedor->addField(dv::FieldDef::lookup("lk_TipoContato", "Tipo Contato", 16, dm().SQL_TipoContato,
                                                  "tipo_contato_id", "tipo_contato_id", "tipo_contato_nome"));
    SQL_Fornecedor->addField(dv::FieldDef::column("contato_fone", "Fone", 14));
    SQL_Fornecedor->setFilter(QStringLiteral("tipo_contato_id = 1"));
    SQL_Fornecedor->setFiltered(true);
    dsFornecedor = new dv::DataSource(SQL_Fornecedor, QStringLiteral("dsFornecedor"), this);

    wwDBLookupCombo1->setLookup(dm().dsUnidade, QStringLiteral("unidade_id"), {QStringLiteral("unidade_id")},
                                {QStringLiteral("Unidade")});
    wwDBLookupCombo1->setCharCase(dv::CharCase::Upper);
    wwDBLookupComboDlg2->setLookup(
        dsFornecedor, QStringLiteral("contato_id"),
        {QStringLiteral("contato_nome"), QStringLiteral("lk_TipoContato"), QStringLiteral("contato_fone")},
        {QStringLiteral("Nome"), QStringLiteral("Tipo Contato"), QStringLiteral("Fone")});
    wwDBLookupComboDlg2->setDisplayWidths({30, 16, 14});
    wwDBLookupComboDlg2->setCharCase(dv::CharCase::Upper);
    resize(560, 380);
}

void TfrmEstoque_Manut::FormShow() {
    TfrmCadastro::FormShow();
    SQL_Fornecedor->open();
    DBEdit2->setFocus();
}
