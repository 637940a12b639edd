#pragma once
#include "SelecaoParcelas.h"

// The installments paid in a period, settled or not.
class TfrmSelecaoContasRecebidas : public TfrmSelecaoParcelas {
    Q_OBJECT
public:
    explicit TfrmSelecaoContasRecebidas(QWidget* parent = nullptr);
};
