#pragma once
#include "framework/U_frmCadastro.h"

class QLineEdit;

namespace dv {
class DBCheckBox;
class DBEdit;
class DBLookupCombo;
} // namespace dv

// One user: name, login, password typed twice, group, e-mail and active flag on the
// first page; the user's preferences (skin, background picture, title colour) on the
// second, which appears once the user has been saved.
//
// Passwords are stored as salted hashes: the two password boxes are not bound to a
// column; on save their text, when any, is hashed into usuario_senha. An empty
// password box keeps the stored hash, and usuario_confirma never holds a password.
class TfrmUsuario_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmUsuario_Manut(QWidget* parent = nullptr);
    ~TfrmUsuario_Manut() override;

    QWidget* TabSheet2; // "Preferência"
    dv::DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit5;
    QLineEdit *edtSenha, *edtConfirma;
    dv::DBLookupCombo* DBLookupComboBox1;
    dv::DBCheckBox* DBCheckBox1;
    dv::DBEdit *DBEdit6, *DBEdit7;
    dv::DBLookupCombo* DBLookupComboBox2;
    QPushButton *btnProcurar, *btnPadrao;
    dv::Dataset* SQL_Preferencia;
    dv::DataSource* dsPreferencia;

    void FormShow() override;
    void FormClose() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    void btnProcurarClick();
    void btnPadraoClick();

private:
    void editPreference(); // edit mode unless the row is being inserted
    void writePassword();
    void passwordTyped();
    bool m_linked = false;
};
