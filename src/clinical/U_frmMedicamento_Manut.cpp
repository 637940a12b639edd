#include "U_frmMedicamento_Manut.h"
#include "toolkit/DBEdit.h"
#include "ui_U_frmMedicamento_Manut.h"

TfrmMedicamento_Manut::TfrmMedicamento_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmMedicamento_Manut"),
                   QStringLiteral("Cadastro de Medicamento")) {
    Ui::frmMedicamento_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    resize(620, 300);
}

void TfrmMedicamento_Manut::FormShow() {
    TfrmCadastro::FormShow();
    DBEdit2->setFocus();
}
