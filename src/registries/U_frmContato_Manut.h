#pragma once
#include "framework/U_frmCadastro.h"

class QLabel;

namespace dv {
class DBEdit;
class DBLookupCombo;
class DBRadioGroup;
} // namespace dv

// One contact. The person type ("Física" / "Jurídica") decides whether the document
// is a CPF or a CNPJ: its label, its mask and the check run on saving.
class TfrmContato_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmContato_Manut(QWidget* parent = nullptr);
    ~TfrmContato_Manut() override;

    QWidget* TabSheet2;            // "Endereço"
    dv::DBEdit *DBEdit2, *DBEdit3; // Nome, the document
    QLabel* lblDocumento;
    dv::DBRadioGroup* dbRadioPessoa;
    dv::DBLookupCombo *wwDBLookupCombo1, *wwDBLookupCombo2; // Tipo de Contato, Estado

    void FormShow() override;
    void dbRadioPessoaClick();
    bool FormCloseQuery() override;
    void BitBtn1Click() override;

private:
    void setUpDocument();
};
