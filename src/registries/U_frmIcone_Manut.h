#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBImage;
} // namespace dv
class QGroupBox;

// One icon: its name, the file its picture came from and the picture, which a
// double click on the picture box loads from a BMP or PNG file.
class TfrmIcone_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmIcone_Manut(QWidget* parent = nullptr);

    dv::DBEdit *DBEdit1, *DBEdit2, *DBEdit3; // Id, Nome, Arquivo
    QGroupBox* Panel1;                       // "Imagem"
    dv::DBImage* DBImage1;

    void DBImage1DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
