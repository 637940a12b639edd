#include "U_frmContasPagar.h"
#include "core/CodeTexts.h"
#include "core/DateUtils.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/Currency.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBDateEdit.h"
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>

using dv::FieldDef;

TfrmContasPagar::TfrmContasPagar(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmContasPagar"), QStringLiteral("Contas a Pagar")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from conta where conta_vencimento >=:dataI AND "
                                          "conta_vencimento <=:dataF order by conta_nome")};
    for (const FieldDef& def : {
             FieldDef::column("conta_nome", "Nome", 40),
             FieldDef::column("conta_vencimento", "Vencimento", 12).withFormat("dd/mm/yyyy").asRequired(),
             FieldDef::column("tipo_conta", "Tipo de Conta", 25).asRequired(),
             FieldDef::column("conta_valor", "Valor", 14).withFormat("R$ #,##0.00"),
             FieldDef::column("conta_paga", "Paga(S/N)", 9),
             FieldDef::column("conta_data_pagamento", "Data Pagamento", 14).withFormat("dd/mm/yyyy"),
             FieldDef::column("conta_id", "Id", 8),
         })
        SQL_Consulta->addField(def);

    SQL_Valor = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Valor"), this);
    SQL_Valor->sql() = {QStringLiteral("select sum(conta_valor) as valor_total from conta where "
                                       "conta_vencimento >= :dataI AND conta_vencimento <= :dataF")};
    // A sum has no column type of its own: it is money.
    SQL_Valor->addField(FieldDef::column("valor_total").withType(dv::FieldType::Currency));
    dsValor = new dv::DataSource(SQL_Valor, QStringLiteral("dsValor"), this);
    connect(dsValor, &dv::DataSource::dataChanged, this, [this] { dsValorDataChange(); });

    Label1 = new QLabel(dv::text("Data Início:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    wwDataI = new dv::DBDateEdit(this);
    wwDataI->setObjectName(QStringLiteral("wwDataI"));
    wwDataI->setToolTip(dv::text("Data de Vencimento Inicial"));
    Label2 = new QLabel(dv::text("Data Fim:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    wwDataF = new dv::DBDateEdit(this);
    wwDataF->setObjectName(QStringLiteral("wwDataF"));
    wwDataF->setToolTip(dv::text("Data de Vencimento Final"));
    // Beside the toolbar's search the period would be squeezed out: it has the strip.
    QHBoxLayout* strip = toolStrip();
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(wwDataI),
                       static_cast<QWidget*>(Label2), static_cast<QWidget*>(wwDataF)})
        strip->addWidget(w);
    strip->addStretch(1);
    for (dv::DBDateEdit* box : {wwDataI, wwDataF}) {
        connect(box, &dv::DBDateEdit::closeUp, this, [this] { dv::guarded([this] { wwDataICloseUp(); }); });
        box->installEventFilter(this);
    }

    addStatusPanel(QStringLiteral("pnlValor"), 60)->setText(dv::text("  Valor:"));
    addStatusPanel(QStringLiteral("pnlValorTotal"), 140);

    dv::reportConnections().add(QStringLiteral("RvContasPagar"), SQL_Consulta, this);
}

TfrmContasPagar::~TfrmContasPagar() {
    // The total's query outlives the status bar while the children go.
    disconnect(dsValor, nullptr, this, nullptr);
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmContasPagar::setPeriod(dv::Dataset* d) const {
    d->setParam(QStringLiteral("dataI"), dv::ParamType::DateTime, dv::usDateText(wwDataI->date()));
    // The last day counts whole, whatever time of day a due date carries.
    d->setParam(QStringLiteral("dataF"), dv::ParamType::DateTime,
                dv::usDateText(wwDataF->date()) + QStringLiteral(" 23:59:59"));
}

void TfrmContasPagar::FormShow() {
    const QDate today = dv::services().clock().today();
    wwDataI->setDate(QDate(today.year(), today.month(), 1));
    wwDataF->setDate(dv::lastDayOfMonth(today));
    SQL_Consulta->close();
    setPeriod(SQL_Consulta);
    TfrmModelo4::FormShow();
}

void TfrmContasPagar::FormActivate() {
    TfrmModelo4::FormActivate();
    SQL_Valor->close();
    setPeriod(SQL_Valor);
    SQL_Valor->open();
    dsValorDataChange();
}

void TfrmContasPagar::wwDataICloseUp() {
    for (dv::DBDateEdit* box : {wwDataI, wwDataF}) {
        if (box->date().isValid()) continue;
        dv::services().dialogs().warning(dv::toolkitText(dv::ToolkitText::CalendarInvalidDate));
        box->setFocus();
        return;
    }
    dv::WaitCursor busy;
    {
        dv::ControlsDisabled off(SQL_Consulta);
        SQL_Consulta->close();
        setPeriod(SQL_Consulta);
        SQL_Consulta->open();
    }
    {
        dv::ControlsDisabled off(SQL_Valor);
        SQL_Valor->close();
        setPeriod(SQL_Valor);
        SQL_Valor->open();
    }
    showRecordCount();
    dsValorDataChange();
}

void TfrmContasPagar::dsValorDataChange() {
    dv::Currency total;
    if (SQL_Valor->isActive() && !SQL_Valor->isEmpty()) {
        const dv::Field* f = SQL_Valor->fieldByName(QStringLiteral("valor_total"));
        if (!f->isNull()) total = f->asCurrency();
    }
    statusPanel(4)->setText(QStringLiteral("  ") + total.toMoneyString());
}

bool TfrmContasPagar::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a date box takes the period; other keys are the box's own.
    if ((watched == wwDataI || watched == wwDataF) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            dv::guarded([this] { wwDataICloseUp(); });
            return true;
        }
    }
    return TfrmModelo4::eventFilter(watched, event);
}
