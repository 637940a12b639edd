#include "U_frmServico.h"
#include "SharedLists.h"
#include "core/CodeTexts.h"
#include "core/U_dm.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBGrid.h"
#include <QAction>

using dv::FieldDef;

TfrmServico::TfrmServico(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmServico"), QStringLiteral("Serviços")) {
    // Service 0 stands for "no service" elsewhere and is never listed.
    SQL_Consulta->sql() = {
        QStringLiteral("select * from servico Where servico_id <> 0 order by servico_nome")};
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("servico_nome"), QStringLiteral("Serviço"), 56).asRequired());
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("ramo_id"), QStringLiteral("Ramo"), 24));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("servico_ativo"), QStringLiteral("Ativo"), 5));
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("servico_id"), QStringLiteral("id"), 10));
    SQL_Consulta->addField(FieldDef::hidden(QStringLiteral("servico_valor")));
    SQL_Consulta->addField(FieldDef::hidden(QStringLiteral("servico_data_tabela")));
    wwDBGrid1->setCheckBoxField(QStringLiteral("servico_ativo"));
    // The database numbers a new service when it is first saved: a number taken
    // earlier could be 0 or be taken by another workstation as well.
    SQL_Consulta->OnNewRecord = [this](dv::Dataset&) { SQL_ConsultaNewRecord(); };
    Novo1->setVisible(false);
    Excluir1->setVisible(false);
    dv::reportConnections().add(QStringLiteral("RvServico"), SQL_Consulta, this);
}

TfrmServico::~TfrmServico() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmServico::SQL_ConsultaNewRecord() {
    SQL_Consulta->fieldByName(QStringLiteral("servico_ativo"))->setAsString(QStringLiteral("S"));
}

void TfrmServico::btnExcluirClick() {
    if (dv::refuseWhileInUse(
            SQL_Consulta, QStringLiteral("servico_id"), QStringLiteral("servico_nome"),
            QStringLiteral("select count(*) from item_consulta where servico_id = :servico_id"),
            dv::text("O serviço \"%1\" está em %2 item(ns) de consulta e não pode ser excluído.")))
        return;
    TfrmModelo4::btnExcluirClick();
}
