#pragma once
#include "framework/U_frmModelo4.h"

// Stock items: quantity, minimum, unit, supplier and last price, typed by hand.
class TfrmEstoque : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmEstoque(QWidget* parent = nullptr);
};
