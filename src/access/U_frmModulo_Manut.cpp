#include "U_frmModulo_Manut.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/Colors.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmModulo_Manut.h"
#include "ui_U_frmModulo_Manut_TabSheet2.h"
#include <QTabWidget>

using dv::FieldDef;

TfrmModulo_Manut::TfrmModulo_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmModulo_Manut"), QStringLiteral("Manutenção do Módulo")) {
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Formulário"));
    Ui::frmModulo_Manut formulario;
    formulario.setupUi(TabSheet1);
    DBEdit1 = formulario.DBEdit1;
    DBEdit2 = formulario.DBEdit2;
    DBEdit3 = formulario.DBEdit3;
    DBEdit4 = formulario.DBEdit4;
    DBEdit5 = formulario.DBEdit5;
    DBCheckBox1 = formulario.DBCheckBox1;

    // ---- "Relatórios ": the reports of the module ----
    SQL_Relatorio = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Relatorio"), this);
    SQL_Relatorio->sql() = {QStringLiteral("select * from Relatorio where form_nome = :form_nome")};
    SQL_Relatorio->setParam(QStringLiteral("form_nome"), dv::ParamType::String, QVariant());
    SQL_Relatorio->addField(FieldDef::column(QStringLiteral("relat_id"), QStringLiteral("Id"), 7));
    SQL_Relatorio->addField(
        FieldDef::column(QStringLiteral("relat_nome"), QStringLiteral("Relatório Nome"), 35));
    SQL_Relatorio->addField(
        FieldDef::column(QStringLiteral("relat_descricao"), QStringLiteral("Descrição"), 10));
    SQL_Relatorio->addField(FieldDef::column(QStringLiteral("relat_ativo"), QStringLiteral("Ativo"), 4));
    SQL_Relatorio->addField(FieldDef::column(QStringLiteral("relat_arquivo"), QStringLiteral("Arquivo"), 50));
    SQL_Relatorio->addField(FieldDef::hidden(QStringLiteral("form_nome")));
    SQL_Relatorio->OnNewRecord = [this](dv::Dataset&) { SQL_RelatorioNewRecord(); };
    dsRelatorio = new dv::DataSource(SQL_Relatorio, QStringLiteral("dsRelatorio"), this);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Relatórios "));
    Ui::frmModulo_Manut_TabSheet2 relatorios;
    relatorios.setupUi(TabSheet2);
    wwDBGrid1 = relatorios.wwDBGrid1;
    wwDBGrid1->setDataSource(dsRelatorio);
    wwDBGrid1->setCheckBoxField(QStringLiteral("relat_ativo"));
    wwDBGrid1->setTitleColor(dv::colorFromNumber(15329769));
    resize(640, 400);
}

QString TfrmModulo_Manut::moduleName() const {
    dv::Dataset* m = editedDataset();
    return m && m->isActive() && !m->isEmpty() ? m->fieldByName(QStringLiteral("form_nome"))->asString()
                                               : QString();
}

void TfrmModulo_Manut::FormShow() {
    TfrmCadastro::FormShow();
    SQL_Relatorio->close();
    SQL_Relatorio->setParam(QStringLiteral("form_nome"), dv::ParamType::String,
                            moduleName().isEmpty() ? QVariant() : QVariant(moduleName()));
    SQL_Relatorio->open();
}

// A report added here is offered on the module's own screen.
void TfrmModulo_Manut::SQL_RelatorioNewRecord() {
    const QString name = moduleName();
    if (!name.isEmpty()) SQL_Relatorio->fieldByName(QStringLiteral("form_nome"))->setAsString(name);
}
