#include "U_frmConfirmacao.h"
#include "AgendaGrid.h"
#include "DocumentModel.h"
#include "MessageTemplate.h"
#include "PatientMessages.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmConfirmacao.h"
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using dv::FieldDef;

namespace {

dv::Param param(const char* name, dv::ParamType type, const QVariant& value) {
    return dv::Param{QString::fromLatin1(name), type, value};
}

} // namespace

TfrmConfirmacao::TfrmConfirmacao(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConfirmacao"));
    setWindowTitle(QStringLiteral("Confirmação de Consultas"));
    Ui::frmConfirmacao ui;
    ui.setupUi(this);
    edtDia = ui.edtDia;
    cbDentista = ui.cbDentista;
    btnAtualizar = ui.btnAtualizar;
    btnWhatsApp = ui.btnWhatsApp;
    btnConfirmada = ui.btnConfirmada;
    btnDesmarcada = ui.btnDesmarcada;
    btnSemResposta = ui.btnSemResposta;
    btnSalvarModelo = ui.btnSalvarModelo;
    btnFechar = ui.btnFechar;
    lblTotal = ui.lblTotal;
    gridConsultas = ui.gridConsultas;
    memModelo = ui.memModelo;
    btnAtualizar->setIcon(dv::agenda::refreshIcon());

    SQL_Confirmacao = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Confirmacao"), this);
    for (const FieldDef& def : {
             FieldDef::column("hora_id", "Horário", 7),
             FieldDef::column("paciente_nome", "Paciente", 30),
             FieldDef::column("dentista_nome", "Dentista", 24),
             FieldDef::column("paciente_celular", "Celular", 15),
             FieldDef::calculated("whatsapp", "WhatsApp", 16),
             FieldDef::calculated("confirmacao", "Confirmação", 13),
             FieldDef::hidden("agenda_id"),
             FieldDef::hidden("agenda_data_consulta"),
             FieldDef::hidden("agenda_confirmacao"),
             FieldDef::hidden("paciente_id"),
         })
        SQL_Confirmacao->addField(def);
    SQL_Confirmacao->OnCalcFields = [](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("whatsapp"))
            ->setAsString(
                dv::messages::whatsAppColumn(d.fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
                                             d.fieldByName(QStringLiteral("paciente_celular"))->asString()));
        d.fieldByName(QStringLiteral("confirmacao"))
            ->setAsString(dv::agenda::confirmationText(
                d.fieldByName(QStringLiteral("agenda_confirmacao"))->asString()));
    };
    dsConfirmacao = new dv::DataSource(SQL_Confirmacao, QStringLiteral("dsConfirmacao"), this);
    gridConsultas->setDataSource(dsConfirmacao);
    gridConsultas->setReadOnly(true);
    gridConsultas->setRowSelect(true);
    dv::messages::markFlaggedMobiles(gridConsultas, SQL_Confirmacao);

    auto guard = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { dv::guarded([this, handler] { handler(this); }); });
    };
    guard(btnAtualizar, [](TfrmConfirmacao* s) { s->btnAtualizarClick(); });
    guard(btnWhatsApp, [](TfrmConfirmacao* s) { s->btnWhatsAppClick(); });
    guard(btnConfirmada, [](TfrmConfirmacao* s) { s->setConfirmation(QStringLiteral("C")); });
    guard(btnDesmarcada, [](TfrmConfirmacao* s) { s->setConfirmation(QStringLiteral("D")); });
    guard(btnSemResposta, [](TfrmConfirmacao* s) { s->setConfirmation(QStringLiteral("S")); });
    m_template =
        new dv::messages::MessageTemplate(QStringLiteral("confirmacao"), memModelo, btnSalvarModelo, this);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    connect(cbDentista, &QComboBox::activated, this,
            [this] { dv::guarded([this] { btnAtualizarClick(); }); });
    connect(edtDia, &dv::DBDateEdit::dateChanged, this, [this] {
        if (m_shown) dv::guarded([this] { btnAtualizarClick(); });
    });
    resize(1100, 680);
}

void TfrmConfirmacao::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    dv::applyLanguageFile(this);
    gridConsultas->refreshTitles();
    dv::guarded([this] { FormShow(); });
    m_shown = true;
}

void TfrmConfirmacao::FormShow() {
    loadDentists();
    edtDia->setDate(dv::services().clock().today().addDays(1));
    m_template->load();
    btnAtualizarClick();
    edtDia->setFocus();
}

void TfrmConfirmacao::loadDentists() {
    cbDentista->clear();
    cbDentista->addItem(dv::text("Todos"), QVariant());
    auto c = dm().ADOConexao()->query(QStringLiteral(
        "select dentista_id, dentista_nome from dentista where dentista_ativo = 'S' order by dentista_nome"));
    while (c->next())
        cbDentista->addItem(QString::fromUtf8(c->utf8(1)), c->integer(0));
}

void TfrmConfirmacao::btnAtualizarClick() {
    const QDate day = edtDia->date();
    const QVariant dentist = cbDentista->currentData();
    const QVariant keep = hasAppointment()
                              ? SQL_Confirmacao->fieldByName(QStringLiteral("agenda_id"))->asVariant()
                              : QVariant();
    dv::ControlsDisabled off(SQL_Confirmacao);
    SQL_Confirmacao->close();
    SQL_Confirmacao->sql() = {QStringLiteral(
        "SELECT agenda.agenda_id, agenda.hora_id, agenda.agenda_data_consulta, agenda.agenda_confirmacao, "
        "agenda.paciente_id, paciente.paciente_nome, paciente.paciente_celular, dentista.dentista_nome FROM "
        "agenda "
        "INNER JOIN paciente ON agenda.paciente_id = paciente.paciente_id "
        "LEFT JOIN dentista ON agenda.dentista_id = dentista.dentista_id "
        "where agenda.agenda_data_consulta >= :dia and agenda.agenda_data_consulta < :seguinte")};
    if (!dentist.isNull()) SQL_Confirmacao->sql() << QStringLiteral("and agenda.dentista_id = :dentista_id");
    SQL_Confirmacao->sql() << QStringLiteral("order by agenda.hora_id, dentista.dentista_nome");
    // An empty or mistyped day shows no appointments rather than every one.
    const QDate from = day.isValid() ? day : QDate(1900, 1, 1);
    SQL_Confirmacao->setParam(QStringLiteral("dia"), dv::ParamType::DateTime, QDateTime(from, QTime(0, 0)));
    SQL_Confirmacao->setParam(QStringLiteral("seguinte"), dv::ParamType::DateTime,
                              QDateTime(day.isValid() ? from.addDays(1) : from, QTime(0, 0)));
    if (!dentist.isNull())
        SQL_Confirmacao->setParam(QStringLiteral("dentista_id"), dv::ParamType::Integer, dentist);
    SQL_Confirmacao->open();
    if (!keep.isNull()) SQL_Confirmacao->locate(QStringLiteral("agenda_id"), keep);
    lblTotal->setText(QString::number(SQL_Confirmacao->recordCount()));
}

bool TfrmConfirmacao::hasAppointment() const {
    return SQL_Confirmacao->isActive() && !SQL_Confirmacao->isEmpty();
}

QString TfrmConfirmacao::currentMessage() const {
    const QDate day =
        SQL_Confirmacao->fieldByName(QStringLiteral("agenda_data_consulta"))->asDateTime().date();
    const QHash<QString, QString> values{
        {QStringLiteral("nome"),
         SQL_Confirmacao->fieldByName(QStringLiteral("paciente_nome"))->asString().trimmed()},
        {QStringLiteral("dentista"),
         SQL_Confirmacao->fieldByName(QStringLiteral("dentista_nome"))->asString().trimmed()},
        {QStringLiteral("data"), day.toString(QStringLiteral("dd/MM/yyyy"))},
        {QStringLiteral("hora"),
         SQL_Confirmacao->fieldByName(QStringLiteral("hora_id"))->asString().trimmed()},
        {QStringLiteral("clinica"), dv::messages::clinicName()},
    };
    return fillDocumentModel(memModelo->toPlainText(), values).trimmed();
}

void TfrmConfirmacao::btnWhatsAppClick() {
    if (!hasAppointment()) {
        dv::services().dialogs().information(dv::text("Selecione a consulta a confirmar!"));
        return;
    }
    dv::messages::openWhatsApp(
        SQL_Confirmacao->fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
        SQL_Confirmacao->fieldByName(QStringLiteral("paciente_nome"))->asString().trimmed(),
        SQL_Confirmacao->fieldByName(QStringLiteral("paciente_celular"))->asString(), currentMessage());
}

void TfrmConfirmacao::setConfirmation(const QString& state) {
    if (!hasAppointment()) {
        dv::services().dialogs().information(dv::text("Selecione a consulta a confirmar!"));
        return;
    }
    dm().ADOConexao()->execute(
        QStringLiteral("update agenda set agenda_confirmacao = :estado, agenda_confirmacao_data = :quando, "
                       "agenda_confirmacao_usuario = :usuario where agenda_id = :agenda_id"),
        {param("estado", dv::ParamType::Text, state),
         param("quando", dv::ParamType::DateTime, dv::services().clock().now()),
         param("usuario", dv::ParamType::Text, dv::session().userLogin().left(30)),
         param("agenda_id", dv::ParamType::Integer,
               SQL_Confirmacao->fieldByName(QStringLiteral("agenda_id"))->asVariant())});
    btnAtualizarClick();
}

void TfrmConfirmacao::done(int result) {
    if (m_template->mayClose()) QDialog::done(result);
}
