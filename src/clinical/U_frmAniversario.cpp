#include "U_frmAniversario.h"
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
#include "ui_U_frmAniversario.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using dv::FieldDef;

namespace {

QString text(const dv::Dataset& d, const char* field) {
    return d.fieldByName(QString::fromLatin1(field))->asString().trimmed();
}

} // namespace

TfrmAniversario::TfrmAniversario(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAniversario"));
    setWindowTitle(QStringLiteral("Aniversariantes"));
    Ui::frmAniversario ui;
    ui.setupUi(this);
    rbDia = ui.rbDia;
    rbMes = ui.rbMes;
    edtDia = ui.edtDia;
    btnAtualizar = ui.btnAtualizar;
    btnWhatsApp = ui.btnWhatsApp;
    btnSalvarModelo = ui.btnSalvarModelo;
    btnFechar = ui.btnFechar;
    lblTotal = ui.lblTotal;
    gridPacientes = ui.gridPacientes;
    memModelo = ui.memModelo;
    btnAtualizar->setIcon(dv::agenda::refreshIcon());

    SQL_Aniversario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Aniversario"), this);
    const QString date = QStringLiteral("dd/mm/yyyy");
    for (const FieldDef& def : {
             FieldDef::column("paciente_nome", "Paciente", 30),
             FieldDef::column("paciente_data_nascimento", "Nascimento", 11).withFormat(date),
             FieldDef::calculated("idade", "Idade", 6),
             FieldDef::column("paciente_fone", "Fone", 15),
             FieldDef::column("paciente_celular", "Celular", 15),
             FieldDef::calculated("whatsapp", "WhatsApp", 16),
             FieldDef::column("mensagem_data", "Última Mensagem", 16)
                 .withFormat(QStringLiteral("dd/mm/yyyy hh:nn")),
             FieldDef::hidden("paciente_id"),
         })
        SQL_Aniversario->addField(def);
    SQL_Aniversario->OnCalcFields = [this](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("whatsapp"))
            ->setAsString(
                dv::messages::whatsAppColumn(d.fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
                                             d.fieldByName(QStringLiteral("paciente_celular"))->asString()));
        // The age the patient turns in the year shown.
        const QDate born = d.fieldByName(QStringLiteral("paciente_data_nascimento"))->asDate();
        const QDate day = edtDia->date().isValid() ? edtDia->date() : dv::services().clock().today();
        d.fieldByName(QStringLiteral("idade"))
            ->setAsString(born.isValid() && born.year() < day.year()
                              ? QString::number(day.year() - born.year())
                              : QString());
    };
    dsAniversario = new dv::DataSource(SQL_Aniversario, QStringLiteral("dsAniversario"), this);
    gridPacientes->setDataSource(dsAniversario);
    gridPacientes->setReadOnly(true);
    gridPacientes->setRowSelect(true);
    dv::messages::markFlaggedMobiles(gridPacientes, SQL_Aniversario);

    auto guard = [this](QPushButton* button, void (TfrmAniversario::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
    };
    guard(btnAtualizar, &TfrmAniversario::btnAtualizarClick);
    guard(btnWhatsApp, &TfrmAniversario::btnWhatsAppClick);
    connect(gridPacientes, &dv::DBGrid::returnPressed, btnWhatsApp, &QPushButton::click);
    connect(gridPacientes, &dv::DBGrid::rowDoubleClicked, btnWhatsApp, &QPushButton::click);
    m_template =
        new dv::messages::MessageTemplate(QStringLiteral("aniversario"), memModelo, btnSalvarModelo, this);
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    auto refresh = [this] {
        if (m_shown) dv::guarded([this] { btnAtualizarClick(); });
    };
    connect(edtDia, &dv::DBDateEdit::dateChanged, this, refresh);
    connect(rbDia, &QRadioButton::toggled, this, refresh); // its pair toggles with it
    resize(1100, 640);
}

void TfrmAniversario::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    dv::applyLanguageFile(this);
    gridPacientes->refreshTitles();
    dv::guarded([this] {
        edtDia->setDate(dv::services().clock().today());
        m_template->load();
        btnAtualizarClick();
    });
    m_shown = true;
    gridPacientes->setFocus();
}

void TfrmAniversario::btnAtualizarClick() {
    const QDate day = edtDia->date();
    const QVariant keep =
        hasPatient() ? SQL_Aniversario->fieldByName(QStringLiteral("paciente_id"))->asVariant() : QVariant();
    dv::ControlsDisabled off(SQL_Aniversario);
    SQL_Aniversario->close();
    SQL_Aniversario->sql() = {QStringLiteral(
        "select paciente.paciente_id, paciente.paciente_nome, paciente.paciente_data_nascimento, "
        "paciente.paciente_fone, paciente.paciente_celular, enviada.mensagem_data from paciente "
        "left join aniversario_mensagem enviada on enviada.mensagem_id = (select max(m.mensagem_id) from "
        "aniversario_mensagem m where m.paciente_id = paciente.paciente_id) "
        "where paciente.paciente_ativo = 'S' and month(paciente.paciente_data_nascimento) = :mes")};
    const bool oneDay = rbDia->isChecked();
    if (oneDay)
        SQL_Aniversario->sql() << QStringLiteral("and day(paciente.paciente_data_nascimento) >= :dia and "
                                                 "day(paciente.paciente_data_nascimento) <= :ate");
    SQL_Aniversario->sql() << QStringLiteral(
        "order by day(paciente.paciente_data_nascimento), paciente.paciente_nome");
    // An empty or mistyped day lists nobody rather than everybody.
    SQL_Aniversario->setParam(QStringLiteral("mes"), dv::ParamType::Integer, day.isValid() ? day.month() : 0);
    if (oneDay) {
        // Born on 29 February: greeted on the 28th when the year has no 29th.
        const bool leapDayToo = day.month() == 2 && day.day() == 28 && !QDate::isLeapYear(day.year());
        SQL_Aniversario->setParam(QStringLiteral("dia"), dv::ParamType::Integer, day.day());
        SQL_Aniversario->setParam(QStringLiteral("ate"), dv::ParamType::Integer,
                                  day.day() + (leapDayToo ? 1 : 0));
    }
    SQL_Aniversario->open();
    if (!keep.isNull()) SQL_Aniversario->locate(QStringLiteral("paciente_id"), keep);
    lblTotal->setText(QString::number(SQL_Aniversario->recordCount()));
}

void TfrmAniversario::done(int result) {
    if (m_template->mayClose()) QDialog::done(result);
}

bool TfrmAniversario::hasPatient() const {
    return SQL_Aniversario->isActive() && !SQL_Aniversario->isEmpty();
}

QString TfrmAniversario::currentMessage() const {
    const QHash<QString, QString> values{
        {QStringLiteral("nome"), text(*SQL_Aniversario, "paciente_nome")},
        {QStringLiteral("idade"), text(*SQL_Aniversario, "idade")},
        {QStringLiteral("clinica"), dv::messages::clinicName()},
    };
    return fillDocumentModel(memModelo->toPlainText(), values).trimmed();
}

bool TfrmAniversario::mayWriteAgain() const {
    const QDateTime sent = SQL_Aniversario->fieldByName(QStringLiteral("mensagem_data"))->asDateTime();
    const QDate day = edtDia->date().isValid() ? edtDia->date() : dv::services().clock().today();
    if (!sent.isValid() || sent.date().year() != day.year()) return true;
    return dv::services().dialogs().confirmation(
        dv::text("Já foi aberta uma mensagem de aniversário para %1 em %2. Deseja abrir outra?")
            .arg(text(*SQL_Aniversario, "paciente_nome"), sent.toString(QStringLiteral("dd/MM/yyyy hh:mm"))));
}

void TfrmAniversario::btnWhatsAppClick() {
    if (!hasPatient()) {
        dv::services().dialogs().information(dv::text("Selecione o paciente!"));
        return;
    }
    if (!mayWriteAgain()) return;
    if (!dv::messages::openWhatsApp(
            SQL_Aniversario->fieldByName(QStringLiteral("paciente_id"))->asLargeInt(),
            text(*SQL_Aniversario, "paciente_nome"),
            SQL_Aniversario->fieldByName(QStringLiteral("paciente_celular"))->asString(), currentMessage()))
        return;
    dm().ADOConexao()->execute(
        QStringLiteral(
            "insert into aniversario_mensagem (paciente_id, mensagem_data, mensagem_usuario) values "
            "(:paciente_id, :quando, :usuario)"),
        {dv::Param{QStringLiteral("paciente_id"), dv::ParamType::Integer,
                   SQL_Aniversario->fieldByName(QStringLiteral("paciente_id"))->asVariant()},
         dv::Param{QStringLiteral("quando"), dv::ParamType::DateTime, dv::services().clock().now()},
         dv::Param{QStringLiteral("usuario"), dv::ParamType::Text, dv::session().userLogin().left(30)}});
    btnAtualizarClick();
}
