#include "U_frmModulo_Manut.h"
#include "core/ComponentTag.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/Colors.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTagged = 1;

dv::DBEdit* edit(QWidget* page, const char* name, dv::DataSource* source, const char* field, int tag) {
    auto* e = new dv::DBEdit(page);
    e->setObjectName(QLatin1String(name));
    e->bind(source, QLatin1String(field));
    dv::setComponentTag(e, tag);
    return e;
}

QLabel* label(QWidget* page, const char* name, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, page);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

} // namespace

TfrmModulo_Manut::TfrmModulo_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmModulo_Manut"), QStringLiteral("Manutenção do Módulo")) {
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Formulário"));
    // Names, descriptions and classes are kept exactly as typed.
    DBEdit1 = edit(TabSheet1, "DBEdit1", dsUpdate, "form_nome", kTagged);
    DBEdit2 = edit(TabSheet1, "DBEdit2", dsUpdate, "form_descricao", kTagged);
    DBEdit3 = edit(TabSheet1, "DBEdit3", dsUpdate, "form_tag", kTagged);
    DBEdit4 = edit(TabSheet1, "DBEdit4", dsUpdate, "form_classe", kTagged);
    DBEdit5 = edit(TabSheet1, "DBEdit5", dsUpdate, "form_tipo", 0);
    DBCheckBox1 = new dv::DBCheckBox(QStringLiteral("Form Ativo"), TabSheet1);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->bind(dsUpdate, QStringLiteral("form_ativo"));
    DBEdit4->setEnabled(false);
    DBEdit4->setStyleSheet(QStringLiteral("dv--DBEdit { background: #FFFFE1; }")); // information background
    DBEdit3->setMaximumWidth(90);
    DBEdit5->setMaximumWidth(60);

    auto* g = new QGridLayout(TabSheet1);
    g->setContentsMargins(16, 16, 16, 16);
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(8);
    g->addWidget(label(TabSheet1, "Label1", QStringLiteral("Form Nome"), DBEdit1), 0, 0);
    g->addWidget(DBEdit1, 0, 1);
    g->addWidget(label(TabSheet1, "Label2", QStringLiteral("Descrição"), DBEdit2), 1, 0);
    g->addWidget(DBEdit2, 1, 1);
    g->addWidget(label(TabSheet1, "Label3", QStringLiteral("Tag"), DBEdit3), 2, 0);
    g->addWidget(DBEdit3, 2, 1, Qt::AlignLeft);
    g->addWidget(label(TabSheet1, "Label4", QStringLiteral("Classe"), DBEdit4), 3, 0);
    g->addWidget(DBEdit4, 3, 1);
    g->addWidget(label(TabSheet1, "Label5", QStringLiteral("Tipo"), DBEdit5), 4, 0);
    g->addWidget(DBEdit5, 4, 1, Qt::AlignLeft);
    g->addWidget(DBCheckBox1, 5, 1);
    g->setColumnStretch(1, 1);
    g->setRowStretch(6, 1);

    // ---- "Relatórios ": the reports of the module ----
    SQL_Relatorio = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Relatorio"), this);
    SQL_Relatorio->sql() = {QStringLiteral("select * from Relatorio where form_nome = :form_nome")};
    SQL_Relatorio->setParam(QStringLiteral("form_nome"), dv::ParamType::String, QVariant());
    SQL_Relatorio->addField(dv::FieldDef{
        .name = QStringLiteral("relat_id"), .displayLabel = QStringLiteral("Id"), .displayWidth = 7});
    SQL_Relatorio->addField(dv::FieldDef{.name = QStringLiteral("relat_nome"),
                                         .displayLabel = QStringLiteral("Relatório Nome"),
                                         .displayWidth = 35});
    SQL_Relatorio->addField(dv::FieldDef{.name = QStringLiteral("relat_descricao"),
                                         .displayLabel = QStringLiteral("Descrição"),
                                         .displayWidth = 10});
    SQL_Relatorio->addField(dv::FieldDef{
        .name = QStringLiteral("relat_ativo"), .displayLabel = QStringLiteral("Ativo"), .displayWidth = 4});
    SQL_Relatorio->addField(dv::FieldDef{.name = QStringLiteral("relat_arquivo"),
                                         .displayLabel = QStringLiteral("Arquivo"),
                                         .displayWidth = 50});
    SQL_Relatorio->addField(dv::FieldDef{.name = QStringLiteral("form_nome"), .visible = false});
    SQL_Relatorio->OnNewRecord = [this](dv::Dataset&) { SQL_RelatorioNewRecord(); };
    dsRelatorio = new dv::DataSource(SQL_Relatorio, QStringLiteral("dsRelatorio"), this);

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Relatórios "));
    wwDBGrid1 = new dv::DBGrid(TabSheet2);
    wwDBGrid1->setObjectName(QStringLiteral("wwDBGrid1"));
    wwDBGrid1->setDataSource(dsRelatorio);
    wwDBGrid1->setCheckBoxField(QStringLiteral("relat_ativo"));
    wwDBGrid1->setTitleColor(dv::colorFromNumber(15329769));
    auto* r = new QVBoxLayout(TabSheet2);
    r->setContentsMargins(8, 8, 8, 8);
    r->addWidget(wwDBGrid1);
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
