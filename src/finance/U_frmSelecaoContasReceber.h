#pragma once
#include "SelecaoParcelas.h"

// The open installments falling due in a period, whatever has been paid on them.
class TfrmSelecaoContasReceber : public TfrmSelecaoParcelas {
    Q_OBJECT
public:
    explicit TfrmSelecaoContasReceber(QWidget* parent = nullptr);
};
