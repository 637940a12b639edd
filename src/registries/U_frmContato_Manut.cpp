#include "U_frmContato_Manut.h"
#include "core/ComponentTag.h"
#include "OfficeForms.h"
#include "core/ErrorTranslator.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBRadioGroup.h"
#include "ui_U_frmContato_Manut.h"
#include "ui_U_frmContato_Manut_TabSheet2.h"
#include <QLabel>
#include <QPointer>
#include <QTabWidget>

namespace {
const QString kCpfMask = QStringLiteral("999.999.999-99;0;_");
const QString kCnpjMask = QStringLiteral("99.999.999/9999-99;0;_");
} // namespace

TfrmContato_Manut::TfrmContato_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmContato_Manut"), QStringLiteral("Manutenção de Contato")) {
    Ui::frmContato_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit2 = dados.DBEdit2;
    DBEdit3 = dados.DBEdit3;
    lblDocumento = dados.Label_DBEdit3;
    // "Cpf" or "Cnpj" by the person type: the Brazilian document's name in every language.
    dv::setComponentTag(lblDocumento, 9);
    dbRadioPessoa = dados.dbRadioPessoa;
    wwDBLookupCombo1 = dados.wwDBLookupCombo1;
    wwDBLookupCombo1->setLookup(dm().dsTipoContato, QStringLiteral("tipo_contato_id"),
                                {QStringLiteral("tipo_contato_nome"), QStringLiteral("tipo_contato_id")},
                                {QStringLiteral("Tipo de Contato"), QStringLiteral("id")});
    wwDBLookupCombo1->setDisplayWidths({24, 6});

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QString());
    Ui::frmContato_Manut_TabSheet2 endereco;
    endereco.setupUi(TabSheet2);
    PageControl1->setTabText(PageControl1->indexOf(TabSheet2), TabSheet2->windowTitle());
    endereco.DBEdit14->setMaxLength(9);
    wwDBLookupCombo2 = endereco.wwDBLookupCombo2;
    dv::office::setUfLookup(wwDBLookupCombo2);

    connect(dbRadioPessoa, &dv::DBRadioGroup::changed, this,
            [this] { dv::guarded([this] { dbRadioPessoaClick(); }); });
    resize(600, 560);
}

// The children go after this screen: none of their signals may reach it then.
TfrmContato_Manut::~TfrmContato_Manut() {
    disconnect(dbRadioPessoa, nullptr, this, nullptr);
}

void TfrmContato_Manut::FormShow() {
    TfrmCadastro::FormShow();
    DBEdit2->setFocus();
    setUpDocument();
}

void TfrmContato_Manut::dbRadioPessoaClick() {
    setUpDocument();
}

void TfrmContato_Manut::setUpDocument() {
    dv::Dataset* contact = editedDataset();
    if (!contact || !contact->isActive()) return;
    dv::Field* document = contact->fieldByName(QStringLiteral("contato_cpf"));
    const bool company =
        contact->fieldByName(QStringLiteral("contato_pessoa"))->asString() == QLatin1String("J");
    // The role decides the check on saving, whatever the label shows in this language.
    document->setDesignedLabel(company ? QStringLiteral("Cnpj") : QStringLiteral("Cpf"));
    lblDocumento->setText(company ? QStringLiteral("Cnpj") : QStringLiteral("Cpf"));
    DBEdit3->setEditMask(company ? kCnpjMask : kCpfMask);
}

bool TfrmContato_Manut::FormCloseQuery() {
    if (!TfrmCadastro::FormCloseQuery()) return false;
    // The list shows the stored digits unformatted.
    DBEdit3->setEditMask(QString());
    if (dv::Dataset* contact = editedDataset())
        if (dv::Field* document = contact->findField(QStringLiteral("contato_cpf"))) {
            document->setDesignedLabel(QStringLiteral("Cpf/Cnpj"));
        }
    return true;
}

void TfrmContato_Manut::BitBtn1Click() {
    QPointer<TfrmContato_Manut> self(this);
    TfrmCadastro::BitBtn1Click();
    if (!self) return;
    dv::office::reopenShared(dm().SQL_Contato);
}
