#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBImage;
} // namespace dv
class QGroupBox;

// One tooth: its number (typed by the user), its name and its PNG picture, which
// a double click loads from a file and saves at once.
class TfrmDente_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmDente_Manut(QWidget* parent = nullptr);

    dv::DBEdit *DBEdit1, *DBEdit2; // Id, Nome
    QGroupBox* Panel1;
    dv::DBImage* ImagePng; // filled by the screen, not bound

    void FormShow() override;
    void ImagePngDblClick();
    // Shows the row's stored PNG; an empty column leaves the picture as it is.
    void showStoredPicture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
