#include "U_frmAgenda_Consulta.h"
#include "AgendaGrid.h"
#include "AgendaSlots.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/WallClock.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/MonthCalendar.h"
#include "ui_U_frmAgenda_Consulta.h"
#include <QLabel>
#include <QPushButton>

using dv::FieldDef;

namespace {

QString shortDate(const QDate& d) {
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

TfrmAgenda_Consulta::TfrmAgenda_Consulta(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAgenda_Consulta"));
    setWindowTitle(QStringLiteral("Agenda de Horários"));
    Ui::frmAgenda_Consulta ui;
    ui.setupUi(this);
    DBLC_Dentista = ui.DBLC_Dentista;
    edtDataInicial = ui.edtDataInicial;
    edtDataFinal = ui.edtDataFinal;
    SpeedButton2 = ui.SpeedButton2;
    BitBtn1 = ui.BitBtn1;
    BitBtn2 = ui.BitBtn2;
    wwData = ui.wwData;
    wwDBGrid2 = ui.wwDBGrid2;
    wwDBGrid1 = ui.wwDBGrid1;
    SpeedButton1 = ui.SpeedButton1;
    btnAlterar = ui.btnAlterar;
    SpeedButton3 = ui.SpeedButton3;
    lblTotal = ui.lblTotal;
    lblAgendando = ui.lblAgendando;
    lblAgendandoPaciente = ui.lblAgendandoPaciente;
    SpeedButton2->setIcon(dv::agenda::refreshIcon());

    SQL_Agenda = dv::agenda::makeAppointments(
        this,
        QStringLiteral("agenda.agenda_data_consulta >= :datai and agenda.agenda_data_consulta <= :dataf and "
                       "agenda.dentista_id = :dentista_id"),
        false);
    SQL_Agenda->setParam(QStringLiteral("datai"), dv::ParamType::DateTime, QVariant());
    SQL_Agenda->setParam(QStringLiteral("dataf"), dv::ParamType::DateTime, QVariant());
    SQL_Agenda->setParam(QStringLiteral("dentista_id"), dv::ParamType::Integer, QVariant());
    SQL_Horario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Horario"), this);
    SQL_Horario->sql() = {QStringLiteral("select * from horario")};
    SQL_Horario->addField(FieldDef::column("hora_id", "Horário", 10));
    dsAgenda = new dv::DataSource(SQL_Agenda, QStringLiteral("dsAgenda"), this);
    dsHorario = new dv::DataSource(SQL_Horario, QStringLiteral("dsHorario"), this);

    DBLC_Dentista->setLookup(
        dm().dsDentista, QStringLiteral("dentista_id"),
        {QStringLiteral("dentista_nome"), QStringLiteral("dentista_especialidade"),
         QStringLiteral("dentista_ativo")},
        {QStringLiteral("Nome"), QStringLiteral("Especialidade"), QStringLiteral("Ativo")});
    DBLC_Dentista->setDisplayWidths({30, 20, 5});
    wwDBGrid2->setDataSource(dsHorario);
    wwDBGrid2->setReadOnly(true);
    wwDBGrid2->setRowSelect(true);
    dv::agenda::showAppointments(wwDBGrid1, dsAgenda);
    // The appointment the buttons act on stands out in navy.
    wwDBGrid1->setStyleSheet(
        QStringLiteral("QTableView { selection-background-color: #000080; selection-color: #ffffff; }"));
    // Today's appointments whose hour has passed are painted red.
    wwDBGrid1->setCellColors([this](int row, const dv::Field*, dv::CellColors& colors) {
        const QDateTime now = dv::services().clock().now();
        const dv::Field* day = SQL_Agenda->findField(QStringLiteral("agenda_data_consulta"));
        const dv::Field* hour = SQL_Agenda->findField(QStringLiteral("hora_id"));
        if (!day || !hour) return;
        if (SQL_Agenda->value(row, day).toDateTime().date() != now.date()) return;
        if (SQL_Agenda->value(row, hour).toString() < now.toString(QStringLiteral("hh:mm"))) {
            colors.background = QBrush(Qt::red);
            colors.foreground = QBrush(Qt::white); // legible on the red
        }
    });

    auto guard = [this](auto* sender, auto signal, void (TfrmAgenda_Consulta::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
    };
    guard(DBLC_Dentista, &dv::DBLookupCombo::changed, &TfrmAgenda_Consulta::DBLC_DentistaChange);
    guard(wwData, &dv::MonthCalendar::rangeSelected, &TfrmAgenda_Consulta::wwDataClick);
    guard(SpeedButton2, &QPushButton::clicked, &TfrmAgenda_Consulta::SpeedButton2Click);
    guard(SpeedButton1, &QPushButton::clicked, &TfrmAgenda_Consulta::SpeedButton1Click);
    guard(btnAlterar, &QPushButton::clicked, &TfrmAgenda_Consulta::btnAlterarClick);
    guard(wwDBGrid1, &dv::DBGrid::rowDoubleClicked, &TfrmAgenda_Consulta::btnAlterarClick);
    guard(SpeedButton3, &QPushButton::clicked, &TfrmAgenda_Consulta::SpeedButton3Click);
    guard(BitBtn2, &QPushButton::clicked, &TfrmAgenda_Consulta::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(dsAgenda, &dv::DataSource::dataChanged, this, [this] { dsAgendaDataChange(); });
    resize(1280, 760);
}

// The children go after this screen: none of their signals may reach it then.
TfrmAgenda_Consulta::~TfrmAgenda_Consulta() {
    disconnect(dsAgenda, nullptr, this, nullptr);
    wwDBGrid1->setCellColors({});
}

QVariant TfrmAgenda_Consulta::dentistId() const {
    dv::Dataset* dentists = dm().SQL_Dentista;
    if (!dentists->isActive() || dentists->isEmpty()) return QVariant();
    return dentists->fieldByName(QStringLiteral("dentista_id"))->asVariant();
}

void TfrmAgenda_Consulta::applyArguments(const dv::ScreenArgs& args) {
    m_bookPatient = args.value(QStringLiteral("paciente_id"));
    m_bookDentist = args.value(QStringLiteral("dentista_id"));
    QString name;
    if (!m_bookPatient.isNull()) {
        auto c = dm().ADOConexao()->query(
            QStringLiteral("select paciente_nome from paciente where paciente_id = :paciente_id"),
            {dv::Param{QStringLiteral("paciente_id"), dv::ParamType::Integer, m_bookPatient}});
        if (c->next()) name = QString::fromUtf8(c->utf8(0)).trimmed();
    }
    lblAgendandoPaciente->setText(name);
    lblAgendando->setVisible(!m_bookPatient.isNull());
    lblAgendandoPaciente->setVisible(!m_bookPatient.isNull());
}

void TfrmAgenda_Consulta::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    wwDBGrid1->refreshTitles();
    wwDBGrid2->refreshTitles();
    dv::guarded([this] { FormShow(); });
}

void TfrmAgenda_Consulta::FormShow() {
    const QDate today = dv::services().clock().today();
    edtDataInicial->setDate(today);
    edtDataFinal->setDate(today);
    wwData->setSelection(today, today);
    dv::Dataset* dentists = dm().SQL_Dentista;
    if (!dentists->isActive()) dentists->open();
    // The dentist asked for, when still active; else the first.
    if (m_bookDentist.isNull() || !dentists->locate(QStringLiteral("dentista_id"), m_bookDentist))
        dentists->first();
    DBLC_Dentista->setKeyValue(dentistId());
    DBLC_DentistaChange();
    DBLC_Dentista->setFocus();
}

void TfrmAgenda_Consulta::DBLC_DentistaChange() {
    btnAtualizarClick();
}

void TfrmAgenda_Consulta::wwDataClick() {
    edtDataInicial->setDate(wwData->selectionStart());
    edtDataFinal->setDate(wwData->selectionEnd());
    btnAtualizarClick();
}

void TfrmAgenda_Consulta::SpeedButton2Click() {
    btnAtualizarClick();
    if (edtDataInicial->date().isValid() && edtDataFinal->date().isValid())
        wwData->setSelection(edtDataInicial->date(), edtDataFinal->date());
}

void TfrmAgenda_Consulta::btnAtualizarClick() {
    const QVariant dentist = dentistId();
    const QDate first = edtDataInicial->date();
    const QDate last = edtDataFinal->date();
    {
        dv::ControlsDisabled off(SQL_Agenda);
        SQL_Agenda->close();
        SQL_Agenda->setParam(QStringLiteral("datai"), dv::ParamType::DateTime,
                             first.isValid() ? QVariant(dv::wallClock(first, QTime(0, 0))) : QVariant());
        SQL_Agenda->setParam(QStringLiteral("dataf"), dv::ParamType::DateTime,
                             last.isValid() ? QVariant(dv::wallClock(last, QTime(0, 0))) : QVariant());
        SQL_Agenda->setParam(QStringLiteral("dentista_id"), dv::ParamType::Integer, dentist);
        SQL_Agenda->open();
    }
    dsAgendaDataChange();
    {
        dv::ControlsDisabled off(SQL_Horario);
        SQL_Horario->close();
        dv::agenda::prepareFreeSlots(*SQL_Horario, dentist.isNull() ? -1 : dentist.toLongLong(), first);
        SQL_Horario->open();
    }
    m_slotDay = first;
}

void TfrmAgenda_Consulta::dsAgendaDataChange() {
    lblTotal->setText(QString::number(SQL_Agenda->recordCount()));
}

void TfrmAgenda_Consulta::openAppointment(const dv::ScreenArgs& args) {
    setEnabled(false);
    struct Enable {
        TfrmAgenda_Consulta* s;
        ~Enable() { s->setEnabled(true); }
    } enable{this};
    dv::screenContext().openScreen(QStringLiteral("frmAgenda_Manut"), args);
    btnAtualizarClick();
}

void TfrmAgenda_Consulta::SpeedButton1Click() {
    if (!SQL_Horario->isActive() || SQL_Horario->isEmpty()) {
        dv::services().dialogs().information(
            dv::text("Não existe horário disponível para o dia selecionado! Verifique no cadastro do "
                     "dentista os horários definidos para este dentista!"));
        return;
    }
    // A typed date that was not refreshed: the free slots shown belong to another day.
    if (edtDataInicial->date() != m_slotDay ||
        dentistId() != SQL_Horario->param(QStringLiteral("dentista")).value) {
        btnAtualizarClick();
        dv::services().dialogs().information(
            dv::text("A lista de horários disponíveis foi atualizada para o dia %1. "
                     "Escolha o horário e clique em Novo novamente.")
                .arg(shortDate(m_slotDay)));
        return;
    }
    const QString hour = SQL_Horario->fieldByName(QStringLiteral("hora_id"))->asString();
    dv::ScreenArgs args{{QStringLiteral("dentista_id"), dentistId()},
                        {QStringLiteral("dentista_nome"), DBLC_Dentista->text()},
                        {QStringLiteral("agenda_data_consulta"), m_slotDay},
                        {QStringLiteral("hora_id"), hour}};
    if (!m_bookPatient.isNull()) args.insert(QStringLiteral("paciente_id"), m_bookPatient);
    openAppointment(args);
    if (m_bookPatient.isNull()) return;
    m_booked = appointmentOf(m_bookPatient, hour);
    // Booked for the patient it was opened for: back to where the booking was asked.
    if (!m_booked.isNull()) close();
}

QVariant TfrmAgenda_Consulta::appointmentOf(const QVariant& patient, const QString& hour) const {
    auto c = dm().ADOConexao()->query(
        QStringLiteral("select agenda_id from agenda where paciente_id = :paciente_id and dentista_id = "
                       ":dentista_id and agenda_data_consulta = :dia and hora_id = :hora_id"),
        {dv::Param{QStringLiteral("paciente_id"), dv::ParamType::Integer, patient},
         dv::Param{QStringLiteral("dentista_id"), dv::ParamType::Integer, dentistId()},
         dv::Param{QStringLiteral("dia"), dv::ParamType::DateTime, dv::wallClock(m_slotDay, QTime(0, 0))},
         dv::Param{QStringLiteral("hora_id"), dv::ParamType::Text, hour}});
    return c->next() ? QVariant(c->integer(0)) : QVariant();
}

void TfrmAgenda_Consulta::btnAlterarClick() {
    if (!SQL_Agenda->isActive() || SQL_Agenda->isEmpty()) {
        dv::services().dialogs().information(dv::text("Selecione o registro a ser alterado!"));
        return;
    }
    openAppointment(
        {{QStringLiteral("agenda_id"), SQL_Agenda->fieldByName(QStringLiteral("agenda_id"))->asVariant()},
         {QStringLiteral("dentista_nome"), DBLC_Dentista->text()}});
}

void TfrmAgenda_Consulta::SpeedButton3Click() {
    const bool rows = SQL_Agenda->isActive() && !SQL_Agenda->isEmpty();
    const QString hour = rows ? SQL_Agenda->fieldByName(QStringLiteral("hora_id"))->asString() : QString();
    if (!dv::services().dialogs().confirmation(
            dv::text("Deja realmente excluir o horário agendado de %1?").arg(hour)))
        return;
    if (!rows) return;
    dm().ADOConexao()->execute(
        QStringLiteral("Delete from agenda where agenda_id = :codigo"),
        {dv::Param{QStringLiteral("codigo"), dv::ParamType::Integer,
                   SQL_Agenda->fieldByName(QStringLiteral("agenda_id"))->asVariant()}});
    btnAtualizarClick();
}

void TfrmAgenda_Consulta::BitBtn2Click() {
    const QString title =
        dv::text("Agenda do período %1 à %2<br>Dentista: %3")
            .arg(shortDate(edtDataInicial->date()), shortDate(edtDataFinal->date()), DBLC_Dentista->text());
    dv::agenda::exportAppointments(*SQL_Agenda, *wwDBGrid1, title);
}

void TfrmAgenda_Consulta::done(int result) {
    // Closed by Fechar, Escape or the close box alike.
    dv::screenContext().setHeaderCaption(QString());
    QDialog::done(result);
}
