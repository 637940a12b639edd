#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBLookupCombo;
} // namespace dv

// One stock item. The supplier box offers the suppliers (contact type 1) from a
// list of the screen's own, so the shared contact list stays whole for everyone.
class TfrmEstoque_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmEstoque_Manut(QWidget* parent = nullptr);

    dv::DBEdit* DBEdit2;                                       // Material
    dv::DBLookupCombo *wwDBLookupCombo1, *wwDBLookupComboDlg2; // Unidade, Fornecedor
    dv::Dataset* SQL_Fornecedor;
    dv::DataSource* dsFornecedor;

    void FormShow() override;
};
