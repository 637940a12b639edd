#include "U_frmAgenda_Paciente.h"
#include "AgendaGrid.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/WallClock.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmAgenda_Paciente.h"
#include <QPushButton>

TfrmAgenda_Paciente::TfrmAgenda_Paciente(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAgenda_Paciente"));
    setWindowTitle(QStringLiteral("Agenda por paciente"));
    Ui::frmAgenda_Paciente ui;
    ui.setupUi(this);
    edtDataInicial = ui.edtDataInicial;
    btnAtualizar = ui.btnAtualizar;
    BitBtn1 = ui.BitBtn1;
    BitBtn2 = ui.BitBtn2;
    DBLC_Paciente = ui.DBLC_Paciente;
    wwDBGrid1 = ui.wwDBGrid1;
    btnAtualizar->setIcon(dv::agenda::refreshIcon());

    SQL_Agenda = dv::agenda::makeAppointments(
        this, QStringLiteral("agenda.agenda_data_consulta >= :datai and agenda.paciente_id = :paciente_id"),
        true);
    SQL_Agenda->setParam(QStringLiteral("datai"), dv::ParamType::DateTime, QVariant());
    SQL_Agenda->setParam(QStringLiteral("paciente_id"), dv::ParamType::Integer, QVariant());
    dsAgenda = new dv::DataSource(SQL_Agenda, QStringLiteral("dsAgenda"), this);
    dv::agenda::showAppointments(wwDBGrid1, dsAgenda);
    DBLC_Paciente->setLookup(dm().dsPaciente, QStringLiteral("paciente_id"),
                             {QStringLiteral("paciente_nome"), QStringLiteral("paciente_fone"),
                              QStringLiteral("paciente_profissao"), QStringLiteral("paciente_rg"),
                              QStringLiteral("paciente_id")},
                             {QStringLiteral("Nome"), QStringLiteral("Fone"), QStringLiteral("Profissão"),
                              QStringLiteral("RG"), QStringLiteral("id")});
    DBLC_Paciente->setDisplayWidths({34, 14, 16, 12, 6});

    auto guard = [this](auto* sender, auto signal, void (TfrmAgenda_Paciente::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
    };
    guard(btnAtualizar, &QPushButton::clicked, &TfrmAgenda_Paciente::btnAtualizarClick);
    guard(DBLC_Paciente, &dv::DBLookupCombo::changed, &TfrmAgenda_Paciente::DBLC_PacienteChange);
    guard(BitBtn2, &QPushButton::clicked, &TfrmAgenda_Paciente::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::close);

    dv::guarded([this] {
        edtDataInicial->setDate(dv::services().clock().today());
        dv::Dataset* patients = dm().SQL_Paciente;
        if (!patients->isActive()) patients->open();
        patients->first();
        DBLC_Paciente->setKeyValue(patients->isEmpty()
                                       ? QVariant()
                                       : patients->fieldByName(QStringLiteral("paciente_id"))->asVariant());
        btnAtualizarClick();
    });
    resize(1100, 600);
}

void TfrmAgenda_Paciente::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    wwDBGrid1->refreshTitles();
}

void TfrmAgenda_Paciente::btnAtualizarClick() {
    const QDate first = edtDataInicial->date();
    dv::ControlsDisabled off(SQL_Agenda);
    SQL_Agenda->close();
    SQL_Agenda->setParam(QStringLiteral("datai"), dv::ParamType::DateTime,
                         first.isValid() ? QVariant(dv::wallClock(first, QTime(0, 0))) : QVariant());
    SQL_Agenda->setParam(QStringLiteral("paciente_id"), dv::ParamType::Integer, DBLC_Paciente->keyValue());
    SQL_Agenda->open();
}

void TfrmAgenda_Paciente::DBLC_PacienteChange() {
    btnAtualizarClick();
}

void TfrmAgenda_Paciente::BitBtn2Click() {
    dv::agenda::exportAppointments(*SQL_Agenda, *wwDBGrid1,
                                   dv::text("Agenda do Paciente: %1").arg(DBLC_Paciente->text()));
}
