#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
}

// One medicine of the clinic's list: name, dosage and how to take it, as the
// prescription will print them.
class TfrmMedicamento_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmMedicamento_Manut(QWidget* parent = nullptr);

    dv::DBEdit* DBEdit2; // Medicamento

    void FormShow() override;
};
