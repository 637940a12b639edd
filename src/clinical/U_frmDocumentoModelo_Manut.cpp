#include "U_frmDocumentoModelo_Manut.h"
#include "DocumentModel.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBMemo.h"
#include "ui_U_frmDocumentoModelo_Manut.h"
#include <QListWidget>
#include <QPushButton>

TfrmDocumentoModelo_Manut::TfrmDocumentoModelo_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmDocumentoModelo_Manut"),
                   QStringLiteral("Cadastro de Modelo de Documento")) {
    Ui::frmDocumentoModelo_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    DBMemo1 = dados.DBMemo1;
    lstCampos = dados.lstCampos;
    btnCampo = dados.btnCampo;
    for (const DocumentField& f : documentFields()) {
        auto* item = new QListWidgetItem(QLatin1Char('{') + f.name + QLatin1Char('}'), lstCampos);
        item->setToolTip(dv::text(f.description));
        item->setData(Qt::UserRole, f.name);
    }
    // What the field under the cursor writes, below the list (nothing until one is chosen).
    connect(lstCampos, &QListWidget::currentItemChanged, this,
            [label = dados.lblCampo](QListWidgetItem* item) {
                label->setText(item ? item->toolTip() : QString());
            });
    connect(lstCampos, &QListWidget::itemActivated, this,
            [this] { dv::guarded([this] { btnCampoClick(); }); });
    connect(btnCampo, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnCampoClick(); }); });
    resize(900, 600);
}

void TfrmDocumentoModelo_Manut::FormShow() {
    TfrmCadastro::FormShow();
    DBEdit2->setFocus();
}

void TfrmDocumentoModelo_Manut::btnCampoClick() {
    const QListWidgetItem* item = lstCampos->currentItem();
    if (!item || DBMemo1->isReadOnly()) return;
    DBMemo1->insertPlainText(item->text());
    DBMemo1->setFocus();
}

void TfrmDocumentoModelo_Manut::BitBtn1Click() {
    // A misspelt field would print in braces on every document made from the model.
    const QStringList unknown = unknownDocumentFields(DBMemo1->toPlainText());
    if (!unknown.isEmpty()) {
        dv::services().dialogs().warning(dv::text("O texto usa campo(s) que os documentos não conhecem: %1.\n"
                                                  "Use somente os campos da lista ao lado do texto.")
                                             .arg(unknown.join(QStringLiteral(", "))));
        DBMemo1->setFocus();
        throw dv::Abort();
    }
    TfrmCadastro::BitBtn1Click();
}
