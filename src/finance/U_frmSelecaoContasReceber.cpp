#include "U_frmSelecaoContasReceber.h"

TfrmSelecaoContasReceber::TfrmSelecaoContasReceber(QWidget* parent)
    : TfrmSelecaoParcelas(
          parent, QStringLiteral("frmSelecaoContasReceber"), QStringLiteral("Contas a Receber"),
          QStringLiteral("where parcela.parcela_vencimento >= :dataI and "
                         "parcela.parcela_vencimento <= :dataF and parcela.parcela_quitada = 'N'"),
          QStringLiteral("order by parcela.consulta_id, parcela.parcela_vencimento"),
          QStringLiteral("RvContasReceber")) {}
