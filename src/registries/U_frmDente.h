#pragma once
#include "framework/U_frmModelo4.h"

// The teeth of the chart, one PNG picture per tooth number.
class TfrmDente : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmDente(QWidget* parent = nullptr);

    void FormClose() override;
};
