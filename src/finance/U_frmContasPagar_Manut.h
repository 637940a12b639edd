#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBLookupCombo;
class DBDateEdit;
class DBCheckBox;
} // namespace dv

// One bill. Its paid flag follows its payment date when saved.
class TfrmContasPagar_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmContasPagar_Manut(QWidget* parent = nullptr);

    dv::DBEdit* DBEdit2;                 // Nome
    dv::DBLookupCombo* wwDBLookupCombo1; // Tipo de Conta
    dv::DBDateEdit* wwDBDateTimePicker2; // Data Pagamento
    dv::DBCheckBox* DBCheckBox1;         // Conta Paga

    void FormShow() override;
    void BitBtn1Click() override;
};
