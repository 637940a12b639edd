#pragma once
#include "framework/U_frmModelo4.h"

// The clinic's own medicines, with dosage and how to take them, picked into prescriptions.
class TfrmMedicamento : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmMedicamento(QWidget* parent = nullptr);
};
