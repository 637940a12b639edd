#pragma once
#include "framework/U_frmCadastro.h"

class QListWidget;
class QPushButton;

namespace dv {
class DBEdit;
class DBMemo;
} // namespace dv

// One document model: its name and text, with the fields the text may use listed beside
// it (double-click or "Inserir campo" writes one where the cursor is). A text with a
// field the documents do not know is refused on saving, naming the field.
class TfrmDocumentoModelo_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmDocumentoModelo_Manut(QWidget* parent = nullptr);

    dv::DBEdit* DBEdit2; // Nome
    dv::DBMemo* DBMemo1; // Texto
    QListWidget* lstCampos;
    QPushButton* btnCampo;

    void FormShow() override;
    void BitBtn1Click() override;
    void btnCampoClick();
};
