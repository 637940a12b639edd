#include "U_frmAnonimizacao.h"
#include "PatientAnonymiser.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmAnonimizacao.h"
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

using dv::FieldDef;

TfrmAnonimizacao::TfrmAnonimizacao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAnonimizacao"));
    setWindowTitle(QStringLiteral("Anonimização de Pacientes"));
    Ui::frmAnonimizacao ui;
    ui.setupUi(this);
    spnAnos = ui.spnAnos;
    btnSalvarPrazo = ui.btnSalvarPrazo;
    btnAtualizar = ui.btnAtualizar;
    btnAnonimizar = ui.btnAnonimizar;
    btnFechar = ui.btnFechar;
    lblTotal = ui.lblTotal;
    gridPacientes = ui.gridPacientes;

    SQL_Anonimizacao = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Anonimizacao"), this);
    SQL_Anonimizacao->sql() = {dv::anonymisation::candidatesSql()};
    const QString date = QStringLiteral("dd/mm/yyyy");
    for (const FieldDef& def : {
             FieldDef::column("paciente_id", "Código", 8),
             FieldDef::column("paciente_nome", "Paciente", 34),
             FieldDef::column("paciente_cpf", "CPF", 15),
             FieldDef::column("paciente_data_cadastro", "Cadastro", 11).withFormat(date),
             FieldDef::column("consulta_data", "Última Consulta", 13).withFormat(date),
         })
        SQL_Anonimizacao->addField(def);
    SQL_Anonimizacao->setSort(dv::anonymisation::candidatesOrder());
    dsAnonimizacao = new dv::DataSource(SQL_Anonimizacao, QStringLiteral("dsAnonimizacao"), this);
    gridPacientes->setDataSource(dsAnonimizacao);
    gridPacientes->setReadOnly(true);
    gridPacientes->setRowSelect(true);
    gridPacientes->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto guard = [this](QPushButton* button, void (TfrmAnonimizacao::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
    };
    guard(btnSalvarPrazo, &TfrmAnonimizacao::btnSalvarPrazoClick);
    guard(btnAtualizar, &TfrmAnonimizacao::btnAtualizarClick);
    guard(btnAnonimizar, &TfrmAnonimizacao::btnAnonimizarClick);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    resize(900, 560);
}

void TfrmAnonimizacao::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    gridPacientes->refreshTitles();
    dv::guarded([this] {
        spnAnos->setValue(dv::anonymisation::retentionYears(*dm().ADOConexao()));
        btnAtualizarClick();
    });
    spnAnos->setFocus();
}

void TfrmAnonimizacao::btnSalvarPrazoClick() {
    dv::anonymisation::setRetentionYears(*dm().ADOConexao(), spnAnos->value());
    dv::services().dialogs().information(dv::text("Prazo de guarda salvo."));
    btnAtualizarClick();
}

void TfrmAnonimizacao::btnAtualizarClick() {
    const QDate today = dv::services().clock().today();
    dv::ControlsDisabled off(SQL_Anonimizacao);
    SQL_Anonimizacao->close();
    SQL_Anonimizacao->setParam(QStringLiteral("limite"), dv::ParamType::DateTime,
                               QDateTime(today.addYears(-spnAnos->value()), QTime(0, 0)));
    SQL_Anonimizacao->setParam(QStringLiteral("hoje"), dv::ParamType::DateTime,
                               QDateTime(today, QTime(0, 0)));
    SQL_Anonimizacao->open();
    lblTotal->setText(QString::number(SQL_Anonimizacao->recordCount()));
}

QList<qint64> TfrmAnonimizacao::chosenPatients() const {
    QList<qint64> chosen;
    if (!SQL_Anonimizacao->isActive() || SQL_Anonimizacao->isEmpty()) return chosen;
    const dv::Field* id = SQL_Anonimizacao->fieldByName(QStringLiteral("paciente_id"));
    if (QItemSelectionModel* selection = gridPacientes->selectionModel())
        for (const QModelIndex& index : selection->selectedRows())
            chosen << SQL_Anonimizacao->value(index.row(), id).toLongLong();
    if (chosen.isEmpty()) chosen << id->asLargeInt();
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

void TfrmAnonimizacao::btnAnonimizarClick() {
    const QList<qint64> chosen = chosenPatients();
    if (chosen.isEmpty()) {
        dv::services().dialogs().information(dv::text("Não há pacientes a anonimizar."));
        return;
    }
    if (!dv::services().dialogs().confirmation(
            dv::text("Anonimizar %1 paciente(s)? Nome, documentos, contatos, endereço, anotações e fotos "
                     "serão apagados e não poderão ser recuperados. Consultas, itens e parcelas ficam.")
                .arg(chosen.size())))
        return;
    dv::anonymisation::anonymise(*dm().ADOConexao(), chosen);
    btnAtualizarClick();
    dv::services().dialogs().information(dv::text("%1 paciente(s) anonimizado(s).").arg(chosen.size()));
}
