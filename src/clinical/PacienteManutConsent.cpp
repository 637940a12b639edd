#include "PacienteManutConsent.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/FieldDef.h"
#include "toolkit/DBGrid.h"
#include <QCheckBox>
#include <QLabel>

using dv::Dataset;
using dv::FieldDef;
namespace consent = dv::consent;

namespace {
QVariant patientKey(const Dataset* patient) {
    if (!patient || !patient->isActive() || (patient->isEmpty() && !patient->isEditing())) return QVariant();
    return patient->fieldByName(QStringLiteral("paciente_id"))->asVariant();
}
} // namespace

PacienteManutConsent::PacienteManutConsent(const Boxes& boxes, dv::DataSource* master, QObject* owner)
    : QObject(owner), m_boxes(boxes) {
    setObjectName(QStringLiteral("PacienteManutConsent"));
    SQL_Consentimento = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Consentimento"), owner);
    SQL_Consentimento->sql() = {
        QStringLiteral("select * from paciente_consentimento where paciente_id = :paciente_id order by "
                       "consentimento_id desc")};
    SQL_Consentimento->addField(
        FieldDef::column("consentimento_data", "Data", 16).withFormat(QStringLiteral("dd/mm/yyyy hh:nn")));
    SQL_Consentimento->addField(FieldDef::column("consentimento_tipo", "Consentimento", 14));
    SQL_Consentimento->addField(FieldDef::column("consentimento_concedido", "Concedido", 9));
    SQL_Consentimento->addField(FieldDef::column("consentimento_usuario", "Usuário", 14));
    SQL_Consentimento->addField(FieldDef::hidden("consentimento_id"));
    SQL_Consentimento->addField(FieldDef::hidden("paciente_id"));
    dsConsentimento = new dv::DataSource(SQL_Consentimento, QStringLiteral("dsConsentimento"), owner);
    SQL_Consentimento->setMasterSource(master);
    m_boxes.history->setDataSource(dsConsentimento);
    m_boxes.history->setReadOnly(true);
    m_boxes.history->setCheckBoxField(QStringLiteral("consentimento_concedido"));
    for (consent::Kind kind : consent::kKinds)
        connect(box(kind), &QCheckBox::stateChanged, this, [this, kind](int state) {
            if (state != Qt::PartiallyChecked) toggled(kind, state == Qt::Checked);
        });
}

PacienteManutConsent::~PacienteManutConsent() {
    detach();
}

QCheckBox* PacienteManutConsent::box(consent::Kind kind) const {
    return kind == consent::Kind::Treatment ? m_boxes.treatment
           : kind == consent::Kind::Photos  ? m_boxes.photos
                                            : m_boxes.whatsApp;
}

QLabel* PacienteManutConsent::stateLabel(consent::Kind kind) const {
    return kind == consent::Kind::Treatment ? m_boxes.treatmentState
           : kind == consent::Kind::Photos  ? m_boxes.photosState
                                            : m_boxes.whatsAppState;
}

void PacienteManutConsent::attach(Dataset* patient) {
    if (patient == m_patient) return;
    detach();
    m_patient = patient;
    if (!patient) return;
    // The patient's dataset is shared with the list: its own handler keeps running.
    m_previousOnWrite = patient->OnWrite;
    patient->OnWrite = [this](Dataset& d) {
        if (m_previousOnWrite) m_previousOnWrite(d);
        writePending(d);
    };
}

void PacienteManutConsent::detach() {
    if (!m_patient) return;
    m_patient->OnWrite = m_previousOnWrite;
    m_previousOnWrite = nullptr;
    m_patient = nullptr;
}

void PacienteManutConsent::reload() {
    m_pending.clear();
    m_stored.clear();
    const QVariant key = patientKey(m_patient);
    m_loading = true;
    for (consent::Kind kind : consent::kKinds) {
        const consent::State state =
            key.isNull() ? consent::State{} : consent::current(*dm().ADOConexao(), key.toLongLong(), kind);
        m_stored.insert(kind, state);
        // Half ticked: never asked; the first click answers yes, the next no.
        const bool asked = state.answer != consent::State::NotAsked;
        box(kind)->setTristate(!asked);
        box(kind)->setCheckState(!asked                                    ? Qt::PartiallyChecked
                                 : state.answer == consent::State::Granted ? Qt::Checked
                                                                           : Qt::Unchecked);
        stateLabel(kind)->setText(consent::describe(state));
    }
    m_loading = false;
    if (SQL_Consentimento->isActive()) SQL_Consentimento->refresh();
}

void PacienteManutConsent::toggled(consent::Kind kind, bool checked) {
    if (m_loading) return;
    box(kind)->setTristate(false);
    const consent::State& stored = m_stored[kind];
    if (stored.answer != consent::State::NotAsked && checked == (stored.answer == consent::State::Granted)) {
        m_pending.remove(kind);
        stateLabel(kind)->setText(consent::describe(m_stored.value(kind)));
        return;
    }
    m_pending.insert(kind, checked);
    stateLabel(kind)->setText(
        checked ? consent::message("sSeraConcedido", QStringLiteral("Será concedido ao salvar"))
                : consent::message("sSeraRetirado", QStringLiteral("Será retirado ao salvar")));
    if (m_patient && m_patient->isActive()) {
        if (!m_patient->isEditing()) m_patient->edit();
        m_patient->markModified();
    }
}

void PacienteManutConsent::writePending(Dataset& patient) {
    const QVariant key = patient.fieldByName(QStringLiteral("paciente_id"))->asVariant();
    if (key.isNull()) return;
    auto& db = *dm().ADOConexao();
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        // A second post of the same row writes nothing twice.
        const consent::State now = consent::current(db, key.toLongLong(), it.key());
        if ((now.answer == consent::State::Granted) == it.value() && now.answer != consent::State::NotAsked)
            continue;
        consent::record(db, key.toLongLong(), it.key(), it.value());
    }
}
