#include "U_frmRetorno.h"
#include "AgendaGrid.h"
#include "DocumentModel.h"
#include "MessageTemplate.h"
#include "PatientMessages.h"
#include "ReturnList.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmRetorno.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

using dv::FieldDef;

TfrmRetorno::TfrmRetorno(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmRetorno"));
    setWindowTitle(QStringLiteral("Retorno de Pacientes"));
    Ui::frmRetorno ui;
    ui.setupUi(this);
    spnMeses = ui.spnMeses;
    btnAtualizar = ui.btnAtualizar;
    btnAgendar = ui.btnAgendar;
    btnWhatsApp = ui.btnWhatsApp;
    btnContato = ui.btnContato;
    btnSalvarModelo = ui.btnSalvarModelo;
    btnFechar = ui.btnFechar;
    lblTotal = ui.lblTotal;
    lblAgendado = ui.lblAgendado;
    gridPacientes = ui.gridPacientes;
    memModelo = ui.memModelo;
    btnAtualizar->setIcon(dv::agenda::refreshIcon());

    SQL_Retorno = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Retorno"), this);
    SQL_Retorno->sql() = {dv::returns::dueSql()};
    const QString date = QStringLiteral("dd/mm/yyyy");
    for (const FieldDef& def : {
             FieldDef::column("paciente_nome", "Paciente", 30),
             FieldDef::column("consulta_data", "Última Consulta", 11).withFormat(date),
             FieldDef::column("dentista_nome", "Último Dentista", 24),
             FieldDef::column("paciente_fone", "Fone", 15),
             FieldDef::column("paciente_celular", "Celular", 15),
             FieldDef::calculated("whatsapp", "WhatsApp", 16),
             FieldDef::column("tentativa_data", "Último Contato", 16)
                 .withFormat(QStringLiteral("dd/mm/yyyy hh:nn")),
             FieldDef::column("tentativa_obs", "Observação do Contato", 24),
             FieldDef::hidden("paciente_id"),
             FieldDef::hidden("dentista_id"),
         })
        SQL_Retorno->addField(def);
    SQL_Retorno->setSort(dv::returns::dueOrder());
    SQL_Retorno->OnCalcFields = [](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("whatsapp"))
            ->setAsString(
                dv::messages::whatsAppColumn(d.fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
                                             d.fieldByName(QStringLiteral("paciente_celular"))->asString()));
    };
    dsRetorno = new dv::DataSource(SQL_Retorno, QStringLiteral("dsRetorno"), this);
    gridPacientes->setDataSource(dsRetorno);
    gridPacientes->setReadOnly(true);
    gridPacientes->setRowSelect(true);
    dv::messages::markFlaggedMobiles(gridPacientes, SQL_Retorno);

    auto guard = [this](QPushButton* button, void (TfrmRetorno::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
    };
    guard(btnAtualizar, &TfrmRetorno::btnAtualizarClick);
    guard(btnAgendar, &TfrmRetorno::btnAgendarClick);
    connect(gridPacientes, &dv::DBGrid::returnPressed, btnAgendar, &QPushButton::click);
    connect(gridPacientes, &dv::DBGrid::rowDoubleClicked, btnAgendar, &QPushButton::click);
    guard(btnWhatsApp, &TfrmRetorno::btnWhatsAppClick);
    guard(btnContato, &TfrmRetorno::btnContatoClick);
    m_template =
        new dv::messages::MessageTemplate(QStringLiteral("retorno"), memModelo, btnSalvarModelo, this);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    resize(1180, 680);
}

void TfrmRetorno::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    gridPacientes->refreshTitles();
    dv::guarded([this] {
        m_template->load();
        btnAtualizarClick();
    });
    spnMeses->setFocus();
}

void TfrmRetorno::btnAtualizarClick() {
    const QDate today = dv::services().clock().today();
    const QVariant keep =
        hasPatient() ? SQL_Retorno->fieldByName(QStringLiteral("paciente_id"))->asVariant() : QVariant();
    dv::ControlsDisabled off(SQL_Retorno);
    SQL_Retorno->close();
    SQL_Retorno->setParam(QStringLiteral("limite"), dv::ParamType::DateTime,
                          QDateTime(today.addMonths(-spnMeses->value()), QTime(0, 0)));
    SQL_Retorno->setParam(QStringLiteral("hoje"), dv::ParamType::DateTime, QDateTime(today, QTime(0, 0)));
    SQL_Retorno->open();
    if (!keep.isNull()) SQL_Retorno->locate(QStringLiteral("paciente_id"), keep);
    lblTotal->setText(QString::number(SQL_Retorno->recordCount()));
}

void TfrmRetorno::done(int result) {
    if (m_template->mayClose()) QDialog::done(result);
}

bool TfrmRetorno::hasPatient() const {
    return SQL_Retorno->isActive() && !SQL_Retorno->isEmpty();
}

QString TfrmRetorno::currentMessage() const {
    const QHash<QString, QString> values{
        {QStringLiteral("nome"),
         SQL_Retorno->fieldByName(QStringLiteral("paciente_nome"))->asString().trimmed()},
        {QStringLiteral("dentista"),
         SQL_Retorno->fieldByName(QStringLiteral("dentista_nome"))->asString().trimmed()},
        {QStringLiteral("data"), SQL_Retorno->fieldByName(QStringLiteral("consulta_data"))
                                     ->asDate()
                                     .toString(QStringLiteral("dd/MM/yyyy"))},
        {QStringLiteral("clinica"), dv::messages::clinicName()},
    };
    return fillDocumentModel(memModelo->toPlainText(), values).trimmed();
}

void TfrmRetorno::btnAgendarClick() {
    if (!hasPatient()) {
        dv::services().dialogs().information(dv::text("Selecione o paciente!"));
        return;
    }
    const QVariant patient = SQL_Retorno->fieldByName(QStringLiteral("paciente_id"))->asVariant();
    const QString name = SQL_Retorno->fieldByName(QStringLiteral("paciente_nome"))->asString().trimmed();
    const int row = SQL_Retorno->recNo();
    dv::screenContext().openScreen(QStringLiteral("frmAgenda_Consulta"),
                                   {{QStringLiteral("paciente_id"), patient},
                                    {QStringLiteral("dentista_id"),
                                     SQL_Retorno->fieldByName(QStringLiteral("dentista_id"))->asVariant()}});
    auto next = dm().ADOConexao()->query(
        QStringLiteral(
            "select agenda.agenda_data_consulta, agenda.hora_id, dentista.dentista_nome from agenda "
            "left join dentista on dentista.dentista_id = agenda.dentista_id where "
            "agenda.paciente_id = :paciente_id and agenda.agenda_data_consulta >= :hoje "
            "order by agenda.agenda_data_consulta, agenda.hora_id"),
        {dv::Param{QStringLiteral("paciente_id"), dv::ParamType::Integer, patient},
         dv::Param{QStringLiteral("hoje"), dv::ParamType::DateTime,
                   QDateTime(dv::services().clock().today(), QTime(0, 0))}});
    if (!next->next()) return; // nothing booked: the patient stays on the list
    lblAgendado->setText(dv::text("Agendado: %1 em %2 às %3 com %4")
                             .arg(name, next->dateTime(0).date().toString(QStringLiteral("dd/MM/yyyy")),
                                  QString::fromUtf8(next->utf8(1)).trimmed(),
                                  QString::fromUtf8(next->utf8(2)).trimmed()));
    btnAtualizarClick();
    // The patient is gone from the list: the next one takes the row.
    if (SQL_Retorno->recordCount() > 0) SQL_Retorno->setRecNo(qMin(row, SQL_Retorno->recordCount()));
}

void TfrmRetorno::btnWhatsAppClick() {
    if (!hasPatient()) {
        dv::services().dialogs().information(dv::text("Selecione o paciente!"));
        return;
    }
    dv::messages::openWhatsApp(
        SQL_Retorno->fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
        SQL_Retorno->fieldByName(QStringLiteral("paciente_nome"))->asString().trimmed(),
        SQL_Retorno->fieldByName(QStringLiteral("paciente_celular"))->asString(), currentMessage());
}

void TfrmRetorno::btnContatoClick() {
    if (!hasPatient()) {
        dv::services().dialogs().information(dv::text("Selecione o paciente!"));
        return;
    }
    const std::optional<QString> remark = dv::services().dialogs().inputBox(
        dv::text("Contato com o paciente"),
        dv::text("Observação do contato (por exemplo: não atendeu, vai ligar depois):"), QString());
    if (!remark) return; // cancelled: nothing recorded
    dm().ADOConexao()->execute(
        QStringLiteral("insert into retorno_tentativa (paciente_id, tentativa_data, tentativa_usuario, "
                       "tentativa_obs) values (:paciente_id, :quando, :usuario, :obs)"),
        {dv::Param{QStringLiteral("paciente_id"), dv::ParamType::Integer,
                   SQL_Retorno->fieldByName(QStringLiteral("paciente_id"))->asVariant()},
         dv::Param{QStringLiteral("quando"), dv::ParamType::DateTime, dv::services().clock().now()},
         dv::Param{QStringLiteral("usuario"), dv::ParamType::Text, dv::session().userLogin().left(30)},
         dv::Param{QStringLiteral("obs"), dv::ParamType::Text, remark->trimmed().left(100)}});
    btnAtualizarClick();
}
