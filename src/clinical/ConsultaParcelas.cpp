#include "ConsultaParcelas.h"
#include "InstallmentPlan.h"
#include "PixFields.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include "core/db/FieldDef.h"
#include "core/db/WallClock.h"
#include "reporting/ReportConnections.h"
#include "reporting/ReportProject.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include "ui_ConsultaManutParcelas.h"
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

using dv::Currency;
using dv::Dataset;
using dv::FieldDef;

namespace {

const QString kTotals = QStringLiteral(
    "select coalesce(sum(parcela_valor), 0) as valor, coalesce(sum(parcela_valor_liquido), 0) as "
    "valor_liquido, coalesce(sum(parcela_valor_pago), 0) as valor_pago, coalesce(sum(parcela_valor_liquido), "
    "0) - coalesce(sum(parcela_valor_pago), 0) as valor_restante from parcela where consulta_id = "
    ":consulta_id");

const QString kReceipt = QStringLiteral(
    "SELECT parcela.parcela_id, parcela.parcela_numero,parcela.parcela_data, parcela.parcela_vencimento, "
    "parcela.parcela_valor, parcela.parcela_valor_pago, parcela.parcela_valor_restante, "
    "paciente.paciente_nome, paciente.paciente_rg, paciente.paciente_cpf FROM parcela INNER JOIN paciente "
    "ON parcela.paciente_id = paciente.paciente_id where parcela.parcela_id = :parcela_id");

// The booklet: one slip per installment still to be paid, with how many there are.
const QString kBooklet = QStringLiteral(
    "SELECT parcela.parcela_id, parcela.parcela_numero, parcela.parcela_vencimento, parcela.parcela_valor, "
    "parcela.parcela_valor_liquido, parcela.parcela_valor_pago, parcela.parcela_valor_restante, "
    "(select count(*) from parcela p2 where p2.consulta_id = parcela.consulta_id) as parcela_total, "
    "parcela.consulta_id, paciente.paciente_nome, paciente.paciente_cpf FROM parcela INNER JOIN paciente ON "
    "parcela.paciente_id = paciente.paciente_id where parcela.consulta_id = :consulta_id and "
    "coalesce(parcela.parcela_quitada, 'N') <> 'S' and coalesce(parcela.parcela_valor_restante, 0) > 0 "
    "order by parcela.parcela_numero");

const QString kInsert = QStringLiteral(
    "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_data, parcela_vencimento, "
    "parcela_valor, parcela_valor_liquido, parcela_quitada) values (:consulta_id, :paciente_id, "
    ":parcela_numero, :parcela_data, :parcela_vencimento, :parcela_valor, :parcela_valor_liquido, 'N')");

const QString kDeleteAll = QStringLiteral("delete from parcela where consulta_id = :consulta_id");

QVariant money(Currency c) {
    return QVariant::fromValue(c);
}

Currency valueOf(const dv::Field* f) {
    return f && !f->isNull() ? f->asCurrency() : Currency();
}

} // namespace

ConsultaParcelas::ConsultaParcelas(Dataset* parcelas, dv::DataSource* parcelasSource,
                                   dv::DataSource* consulta, QWidget* record)
    : QObject(record), m_parcelas(parcelas), m_consulta(consulta), m_page(new QWidget) {
    setObjectName(QStringLiteral("ConsultaParcelas"));
    Ui::ConsultaManutParcelas ui;
    ui.setupUi(m_page);
    wwDBGridParcela = ui.wwDBGridParcela;
    DBNavigatorParcela = ui.DBNavigatorParcela;
    wwDataPrimeira = ui.wwDataPrimeira;
    EditNumParcelas = ui.EditNumParcelas;
    EditJuros = ui.EditJuros;
    btnGerarParcelas = ui.btnGerarParcelas;
    BitBtn5 = ui.BitBtn5;
    btnCarne = ui.btnCarne;
    edtTotalParcelas = ui.edtTotalParcelas;
    edtTotalLiquido = ui.edtTotalLiquido;
    edtTotalPago = ui.edtTotalPago;
    edtTotalRestante = ui.edtTotalRestante;

    QPalette gray = ui.pnlNavParcela->palette();
    gray.setColor(QPalette::Window, QColor(0xd8, 0xd8, 0xd8));
    ui.pnlNavParcela->setPalette(gray);

    wwDBGridParcela->setDataSource(parcelasSource);
    wwDBGridParcela->setReadOnly(true);
    wwDBGridParcela->setTitleLines(2);
    wwDBGridParcela->setFixedColumns(1);
    wwDBGridParcela->setCheckBoxField(QStringLiteral("parcela_quitada"));

    // Sums are read as money: the engine gives an expression no type of its own.
    SQL_ValorParcelas = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_ValorParcelas"), record);
    SQL_ValorParcelas->sql() = {kTotals};
    for (const char* column : {"valor", "valor_liquido", "valor_pago", "valor_restante"})
        SQL_ValorParcelas->addField(
            FieldDef::column(QLatin1String(column)).withType(dv::FieldType::Currency));
    dsValorParcelas = new dv::DataSource(SQL_ValorParcelas, QStringLiteral("dsValorParcelas"), record);
    connect(dsValorParcelas, &dv::DataSource::dataChanged, this, [this] { showTotals(); });

    SQL_ReciboParcela = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_ReciboParcela"), record);
    SQL_ReciboParcela->sql() = {kReceipt};
    dsReciboParcela = new dv::DataSource(SQL_ReciboParcela, QStringLiteral("dsReciboParcela"), record);
    // What is left of the installment can be paid by Pix from the receipt itself.
    addPixFields(SQL_ReciboParcela, QStringLiteral("parcela_valor_restante"), QStringLiteral("parcela_id"));
    dv::reportConnections().add(QStringLiteral("Rv_Recibo"), SQL_ReciboParcela, record);

    SQL_Carne = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Carne"), record);
    SQL_Carne->sql() = {kBooklet};
    SQL_Carne->addField(FieldDef::column(QStringLiteral("parcela_total")).withType(dv::FieldType::Integer));
    addPixFields(SQL_Carne, QStringLiteral("parcela_valor_restante"), QStringLiteral("parcela_id"));
    dv::reportConnections().add(QStringLiteral("Rv_Carne"), SQL_Carne, record);

    m_parcelas->OnNewRecord = [this](Dataset& d) { SQL_ParcelaNewRecord(d); };
    m_parcelas->AfterPost = [this](Dataset& d) {
        d.refresh();
        reloadTotals();
    };
    m_parcelas->AfterDelete = [this](Dataset&) { reloadTotals(); };
    for (const char* column : {"parcela_valor", "parcela_juros", "parcela_desconto"})
        m_parcelas->fieldByName(QLatin1String(column))->OnChange = [this](dv::Field&) {
            parcelaValorChange();
        };
    m_parcelas->fieldByName(QStringLiteral("parcela_valor_pago"))->OnChange = [this](dv::Field& f) {
        parcelaValorPagoChange(f);
    };

    connect(btnGerarParcelas, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnGerarParcelasClick(); }); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn5Click(); }); });
    connect(EditJuros, &QLineEdit::editingFinished, this, [this] { EditJurosExit(); });
    connect(btnCarne, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnCarneClick(); }); });
    m_page->installEventFilter(this);
    showTotals();
}

void ConsultaParcelas::open() {
    for (Dataset* d : {SQL_ValorParcelas, SQL_ReciboParcela, SQL_Carne}) {
        if (d->isActive()) d->close();
    }
    SQL_ValorParcelas->setMasterSource(m_consulta);
    SQL_ValorParcelas->open();
    SQL_ReciboParcela->setMasterSource(wwDBGridParcela->dataSource());
    SQL_ReciboParcela->open();
    SQL_Carne->setMasterSource(m_consulta);
    SQL_Carne->open();
    showTotals();
}

bool ConsultaParcelas::eventFilter(QObject* watched, QEvent* event) {
    // Reset when the tab is first shown, not on every activation: a message box
    // would otherwise wipe what the user typed.
    if (watched == m_page && event->type() == QEvent::Show && !m_boxesReset) {
        m_boxesReset = true;
        resetGenerationBoxes();
    }
    return QObject::eventFilter(watched, event);
}

void ConsultaParcelas::resetGenerationBoxes() {
    wwDataPrimeira->setDate(dv::services().clock().today());
    EditNumParcelas->setText(QStringLiteral("1"));
}

QVariant ConsultaParcelas::consultationValue(const char* column) const {
    Dataset* c = m_consulta->dataset();
    if (!c || !c->isActive() || c->isEmpty()) return QVariant();
    return c->fieldByName(QLatin1String(column))->asVariant();
}

// ---- one installment ----

void ConsultaParcelas::SQL_ParcelaNewRecord(Dataset& d) {
    // The highest number plus one: a count would repeat numbers after deletions.
    int highest = 0;
    const dv::Field* number = d.fieldByName(QStringLiteral("parcela_numero"));
    for (int row = 0; row < d.recordCount(); ++row)
        if (!d.isNull(row, number)) highest = qMax(highest, d.value(row, number).toInt());
    d.fieldByName(QStringLiteral("parcela_data"))->setAsDate(dv::services().clock().today());
    d.fieldByName(QStringLiteral("parcela_numero"))->setAsInteger(highest + 1);
    d.fieldByName(QStringLiteral("parcela_quitada"))->setAsString(QStringLiteral("N"));
    d.fieldByName(QStringLiteral("paciente_id"))->setAsVariant(consultationValue("paciente_id"));
}

void ConsultaParcelas::parcelaValorChange() {
    auto f = [this](const char* c) { return m_parcelas->fieldByName(QLatin1String(c)); };
    f("parcela_valor_liquido")
        ->setAsCurrency(valueOf(f("parcela_valor")) + valueOf(f("parcela_juros")) -
                        valueOf(f("parcela_desconto")));
}

void ConsultaParcelas::parcelaValorPagoChange(dv::Field& paid) {
    const bool settled =
        !paid.isNull() &&
        paid.asCurrency() == valueOf(m_parcelas->fieldByName(QStringLiteral("parcela_valor_liquido")));
    // A payment without its date would never be counted among the received ones.
    dv::Field* date = m_parcelas->fieldByName(QStringLiteral("paracela_data_pagamento"));
    if (!paid.isNull() && paid.asCurrency() > Currency() && date->isNull())
        date->setAsDate(dv::services().clock().today());
    dv::services().dialogs().messageBox(
        settled ? dv::text("Parcela quitada!")
                : dv::text("Verifique se o valor pago é igual ao valor liquido a pagar!"));
    m_parcelas->fieldByName(QStringLiteral("parcela_quitada"))
        ->setAsString(settled ? QStringLiteral("S") : QStringLiteral("N"));
}

void ConsultaParcelas::EditJurosExit() {
    const auto rate = dv::parseInterestRate(EditJuros->text());
    if (!EditJuros->text().trimmed().isEmpty() && rate) EditJuros->setText(rate->toString(2));
}

// ---- totals ----

void ConsultaParcelas::reloadTotals() {
    if (!SQL_ValorParcelas->masterSource()) return;
    SQL_ValorParcelas->close();
    SQL_ValorParcelas->open();
    showTotals();
    if (SQL_Carne->masterSource()) {
        SQL_Carne->close();
        SQL_Carne->open();
    }
}

void ConsultaParcelas::showTotals() {
    const bool has = SQL_ValorParcelas->isActive() && !SQL_ValorParcelas->isEmpty();
    auto text = [&](const char* column) {
        return (has ? valueOf(SQL_ValorParcelas->fieldByName(QLatin1String(column))) : Currency())
            .toString(2);
    };
    edtTotalParcelas->setText(text("valor"));
    edtTotalLiquido->setText(text("valor_liquido"));
    edtTotalPago->setText(text("valor_pago"));
    edtTotalRestante->setText(text("valor_restante"));
}

// ---- generating and removing ----

void ConsultaParcelas::btnGerarParcelasClick() {
    auto& dialogs = dv::services().dialogs();
    const auto count = dv::parseInstallmentCount(EditNumParcelas->text());
    if (!count) {
        dialogs.information(dv::text("Número de parcelas vazio ou inválido!"));
        EditNumParcelas->setFocus();
        return;
    }
    const auto rate = dv::parseInterestRate(EditJuros->text());
    if (!rate || *rate < Currency()) {
        dialogs.information(dv::text("Júros Mês(%) inválido!"));
        EditJuros->setFocus();
        return;
    }
    const QDate firstDue = wwDataPrimeira->date();
    if (!firstDue.isValid()) {
        dialogs.warning(dv::toolkitText(dv::ToolkitText::CalendarInvalidDate));
        wwDataPrimeira->setFocus();
        return;
    }
    const QVariant key = consultationValue("consulta_id");
    if (key.isNull()) return;
    m_parcelas->checkBrowseMode();
    if (!m_parcelas->isEmpty()) {
        dialogs.information(dv::text("Remova todas as parcelas antes de gerar!"));
        return;
    }
    const QVariant total = consultationValue("consulta_valor");
    const Currency value = total.isNull() ? Currency() : total.value<Currency>();
    const auto plan = dv::planInstallments(value, *count, *rate, firstDue);
    const QDateTime today(dv::services().clock().today(), QTime(0, 0));
    const QVariant patient = consultationValue("paciente_id");
    {
        // All or nothing: a failure half-way leaves the consultation without installments.
        dv::Connection& db = *dm().ADOConexao();
        dv::Transaction transaction(db);
        int number = 0;
        for (const dv::PlannedInstallment& p : plan) {
            db.execute(kInsert,
                       {{QStringLiteral("consulta_id"), dv::ParamType::Integer, key},
                        {QStringLiteral("paciente_id"), dv::ParamType::Integer, patient},
                        {QStringLiteral("parcela_numero"), dv::ParamType::Integer, ++number},
                        {QStringLiteral("parcela_data"), dv::ParamType::DateTime, today},
                        {QStringLiteral("parcela_vencimento"), dv::ParamType::DateTime,
                         dv::wallClock(p.due, QTime(0, 0))},
                        {QStringLiteral("parcela_valor"), dv::ParamType::Currency, money(p.value)},
                        {QStringLiteral("parcela_valor_liquido"), dv::ParamType::Currency, money(p.value)}});
        }
        transaction.commit();
    }
    m_parcelas->refresh();
    m_parcelas->first();
    reloadTotals();
}

void ConsultaParcelas::BitBtn5Click() {
    if (!dv::services().dialogs().confirmation(dv::text("Deseja excluir todas as parcelas?"))) return;
    const QVariant key = consultationValue("consulta_id");
    if (key.isNull()) return;
    if (m_parcelas->isEditing()) m_parcelas->cancel();
    {
        dv::Connection& db = *dm().ADOConexao();
        dv::Transaction transaction(db);
        db.execute(kDeleteAll, {{QStringLiteral("consulta_id"), dv::ParamType::Integer, key}});
        transaction.commit();
    }
    m_parcelas->refresh();
    reloadTotals();
}

// ---- booklet ----

void ConsultaParcelas::btnCarneClick() {
    m_parcelas->checkBrowseMode();
    reloadTotals();
    if (!SQL_Carne->isActive() || SQL_Carne->isEmpty()) {
        dv::services().dialogs().information(dv::text("Não há parcelas em aberto para o carnê."));
        return;
    }
    dv::WaitCursor cursor;
    dv::ReportProject project;
    project.open();
    project.execute(QStringLiteral("Relat_Carne"));
}
