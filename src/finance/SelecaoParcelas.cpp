#include "SelecaoParcelas.h"
#include "core/DateUtils.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/Dataset.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/ReportConnections.h"
#include <QCoreApplication>

using dv::FieldDef;

namespace {
const QString kSelect = QStringLiteral(
    "SELECT parcela.consulta_id, parcela.parcela_id, parcela.paciente_id, parcela.parcela_numero, "
    "parcela.parcela_data, parcela.parcela_vencimento, parcela.parcela_valor, parcela.parcela_juros, "
    "parcela.parcela_desconto, parcela.parcela_valor_liquido, parcela.parcela_valor_pago, "
    "parcela.parcela_valor_restante, parcela.paracela_data_pagamento, parcela.parcela_cheque_numero, "
    "parcela.parcela_cheque_data, parcela.parcela_quitada, consulta.dentista_id, consulta.consulta_data, "
    "consulta.consulta_validade, consulta.consulta_aprovado, consulta.consulta_valor FROM parcela INNER "
    "JOIN consulta ON parcela.consulta_id = consulta.consulta_id");
} // namespace

TfrmSelecaoParcelas::TfrmSelecaoParcelas(QWidget* parent, const QString& formName, const QString& caption,
                                         const QString& condition, const QString& order,
                                         const QString& connection)
    : TfrmModeloSelecao(parent, formName, caption) {
    SQL_Selecao->sql() = {kSelect, condition, order};
    const QString money = QStringLiteral("R$ #,##0.00");
    for (const char* column : {"parcela_valor", "parcela_juros", "parcela_desconto", "parcela_valor_liquido",
                               "parcela_valor_pago", "parcela_valor_restante", "consulta_valor"})
        SQL_Selecao->addField(FieldDef::column(QLatin1String(column)).withFormat(money));
    SQL_Selecao->addField(FieldDef::lookup("LK_Paciente", "Paciente", 40, dm().SQL_Paciente, "paciente_id",
                                           "paciente_id", "paciente_nome"));
    // Printing does not end the dialog: the next period can be printed right away.
    dv::reportConnections().add(connection, SQL_Selecao, this);
}

TfrmSelecaoParcelas::~TfrmSelecaoParcelas() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmSelecaoParcelas::BitBtn4Click() {
    if (!checkPeriod()) return;
    {
        dv::WaitCursor busy;
        SQL_Selecao->close();
        SQL_Selecao->setParam(QStringLiteral("dataI"), dv::ParamType::DateTime, dv::usDateText(startDate()));
        // The last day counts whole, whatever time of day a date carries.
        SQL_Selecao->setParam(QStringLiteral("dataF"), dv::ParamType::DateTime,
                              dv::usDateText(endDate()) + QStringLiteral(" 23:59:59"));
        SQL_Selecao->open();
        QCoreApplication::processEvents();
    }
    dv::showReportPicker(objectName(), this);
}
