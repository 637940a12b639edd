#include "U_frmContasPagar_Manut.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmContasPagar_Manut.h"
#include <QTabWidget>

TfrmContasPagar_Manut::TfrmContasPagar_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmContasPagar_Manut"), QStringLiteral("Contas a Pagar")) {
    Ui::frmContasPagar_Manut dados;
    dados.setupUi(TabSheet1);
    PageControl1->setTabText(0, TabSheet1->windowTitle());
    DBEdit2 = dados.DBEdit2;
    wwDBLookupCombo1 = dados.wwDBLookupCombo1;
    wwDBDateTimePicker2 = dados.wwDBDateTimePicker2;
    DBCheckBox1 = dados.DBCheckBox1;
    wwDBLookupCombo1->setLookup(dm().dsTipoConta, QStringLiteral("tipo_conta"),
                                {QStringLiteral("tipo_conta")}, {QStringLiteral("Tipo de Conta")});
    wwDBLookupCombo1->setCharCase(dv::CharCase::Upper);
    resize(560, 360);
}

void TfrmContasPagar_Manut::FormShow() {
    TfrmCadastro::FormShow();
    DBEdit2->setFocus();
}

void TfrmContasPagar_Manut::BitBtn1Click() {
    // The flag follows the payment date, whatever the box shows.
    if (dv::Dataset* d = editedDataset(); d && d->isEditing()) {
        wwDBDateTimePicker2->updateRecord();
        const bool paid = !d->fieldByName(QStringLiteral("conta_data_pagamento"))->isNull();
        d->fieldByName(QStringLiteral("conta_paga"))
            ->setAsString(paid ? QStringLiteral("S") : QStringLiteral("N"));
    }
    TfrmCadastro::BitBtn1Click();
}
