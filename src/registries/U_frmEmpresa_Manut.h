#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBImage;
class DBLookupCombo;
} // namespace dv

// One company row, with its logo: a click on the picture loads a bitmap file.
class TfrmEmpresa_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmEmpresa_Manut(QWidget* parent = nullptr);

    dv::DBEdit* DBEdit2; // Nome
    dv::DBLookupCombo* DBLookupComboBox1;
    dv::DBImage* DBImage1;
    dv::DBEdit* DBEditPixChave;

    void FormShow() override;
    void DBImage1Click();
    void BitBtn1Click() override;

protected:
    bool pixKeyAccepted();
    bool eventFilter(QObject* watched, QEvent* event) override;
};
