#include "U_frmSelecaoContasRecebidas.h"

TfrmSelecaoContasRecebidas::TfrmSelecaoContasRecebidas(QWidget* parent)
    : TfrmSelecaoParcelas(
          parent, QStringLiteral("frmSelecaoContasRecebidas"), QStringLiteral("Contas Recebidas"),
          QStringLiteral(
              "where parcela.paracela_data_pagamento >= :dataI and parcela.paracela_data_pagamento "
              "<= :dataF and parcela.parcela_valor_pago > 0"),
          QStringLiteral("order by parcela.consulta_id, parcela.paracela_data_pagamento"),
          QStringLiteral("RvContasRecebidas")) {}
