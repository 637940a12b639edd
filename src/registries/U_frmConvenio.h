#pragma once
#include "framework/U_frmModelo4.h"

// The insurance plans; each plan's price table is kept in its record.
class TfrmConvenio : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmConvenio(QWidget* parent = nullptr);
    ~TfrmConvenio() override;
    // A plan with patients stays: they would be left without a plan.
    void btnExcluirClick() override;
};
