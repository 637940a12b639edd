#include "U_frmAgenda_Manut.h"
#include "AgendaSlots.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmAgenda_Manut.h"
#include <QLineEdit>
#include <QTabWidget>

using dv::FieldDef;

TfrmAgenda_Manut::TfrmAgenda_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmAgenda_Manut"), QStringLiteral("Novo Agendamento")) {
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Cadastro  "));
    Ui::frmAgenda_Manut form;
    form.setupUi(TabSheet1);
    wwDBLookupCombo1 = form.wwDBLookupCombo1;
    edtDentista = form.edtDentista;
    for (QWidget* fixed :
         {static_cast<QWidget*>(form.DBDateCadastro), static_cast<QWidget*>(form.DBDateConsulta),
          static_cast<QWidget*>(form.DBEditHora), static_cast<QWidget*>(edtDentista)})
        fixed->setEnabled(false);
    wwDBLookupCombo1->setLookup(
        dm().dsPaciente, QStringLiteral("paciente_id"),
        {QStringLiteral("paciente_nome"), QStringLiteral("paciente_rg"), QStringLiteral("paciente_fone")},
        {QStringLiteral("Nome"), QStringLiteral("RG"), QStringLiteral("Fone")});
    wwDBLookupCombo1->setDisplayWidths({34, 12, 14});
    wwDBLookupCombo1->setCharCase(dv::CharCase::Upper);

    dv::setComponentTag(dsUpdate, 1); // the form edits its own row, not a list's
    dsUpdate->setDataset(SQL_Update);
    SQL_Update->sql() = {QStringLiteral("select * from agenda where agenda_id =:agenda_id")};
    SQL_Update->setParam(QStringLiteral("agenda_id"), dv::ParamType::Integer, QVariant());
    const QString date = QStringLiteral("dd/mm/yyyy");
    for (const FieldDef& def : {
             FieldDef::column("agenda_id", "Id"),
             FieldDef::column("paciente_id", "Paciente").asRequired(),
             FieldDef::column("agenda_data_cadastro", "Data Cadastro").asRequired().withFormat(date),
             FieldDef::column("agenda_data_consulta", "Data Consulta").asRequired().withFormat(date),
             FieldDef::column("hora_id", "Horário").asRequired(),
             FieldDef::column("agenda_observacao", "Observação"),
             FieldDef::column("dentista_id", "Dentista"),
             FieldDef::column("agenda_falta_atraso", "Falta / Atraso"),
             FieldDef::column("agenda_motivo_falta_atraso", "Motivo Falta / Atraso"),
         })
        SQL_Update->addField(def.withTag(1));
    SQL_Update->OnNewRecord = [this](dv::Dataset&) { SQL_UpdateNewRecord(); };
    resize(560, 520);
}

void TfrmAgenda_Manut::applyArguments(const dv::ScreenArgs& args) {
    m_args = args;
}

void TfrmAgenda_Manut::FormShow() {
    SQL_Update->close();
    SQL_Update->setParam(QStringLiteral("agenda_id"), dv::ParamType::Integer,
                         m_args.value(QStringLiteral("agenda_id")));
    SQL_Update->open();
    if (m_args.contains(QStringLiteral("agenda_id"))) {
        if (SQL_Update->isEmpty()) {
            // Deleted at another workstation since the agenda was read.
            dv::services().dialogs().information(
                dv::text("Este agendamento não existe mais: foi excluído em outra estação. "
                         "A agenda será atualizada."));
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        } else {
            SQL_Update->edit();
        }
    } else {
        SQL_Update->append();
    }
    TfrmCadastro::FormShow();
    edtDentista->setText(m_args.value(QStringLiteral("dentista_nome")).toString());
    wwDBLookupCombo1->setFocus();
}

void TfrmAgenda_Manut::SQL_UpdateNewRecord() {
    SQL_Update->fieldByName(QStringLiteral("agenda_data_cadastro"))
        ->setAsDate(dv::services().clock().today());
    SQL_Update->fieldByName(QStringLiteral("dentista_id"))
        ->setAsVariant(m_args.value(QStringLiteral("dentista_id")));
    SQL_Update->fieldByName(QStringLiteral("hora_id"))->setAsVariant(m_args.value(QStringLiteral("hora_id")));
    // Booked for a patient chosen before the agenda was opened.
    if (m_args.contains(QStringLiteral("paciente_id")))
        SQL_Update->fieldByName(QStringLiteral("paciente_id"))
            ->setAsVariant(m_args.value(QStringLiteral("paciente_id")));
    // A day, never a moment: the free slots and the period compare whole days.
    SQL_Update->fieldByName(QStringLiteral("agenda_data_consulta"))
        ->setAsDate(m_args.value(QStringLiteral("agenda_data_consulta")).toDate());
}

void TfrmAgenda_Manut::BitBtn1Click() {
    if (!SQL_Update->isEditing()) return;
    wwDBLookupCombo1->updateRecord();
    const bool booking = SQL_Update->state() == dv::DatasetState::Insert;
    const QDate day = SQL_Update->fieldByName(QStringLiteral("agenda_data_consulta"))->asDate();
    const QString hour = SQL_Update->fieldByName(QStringLiteral("hora_id"))->asString();
    const qint64 dentist = SQL_Update->fieldByName(QStringLiteral("dentista_id"))->asLargeInt();
    dv::Field* key = SQL_Update->fieldByName(QStringLiteral("agenda_id"));
    const qint64 id = key->isNull() ? -1 : key->asLargeInt();
    // The agenda's list may be stale and another workstation may have booked the
    // same slot meanwhile: check and write together.
    {
        dv::Transaction transaction(*dm().ADOConexao());
        dv::agenda::checkSlotFree(*dm().ADOConexao(), dentist, day, hour, id, booking);
        try {
            SQL_Update->post();
        } catch (const dv::DatabaseError& e) {
            if (!e.message().contains(QStringLiteral("Key violation"))) throw;
            dv::services().dialogs().warning(dv::agenda::slotTakenMessage(hour, day));
            throw dv::Abort();
        }
        transaction.commit();
    }
    SQL_Update->close();
    close();
}

void TfrmAgenda_Manut::BitBtn2Click() {
    if (SQL_Update->isEditing()) SQL_Update->cancel();
    SQL_Update->close();
    close();
}
