#pragma once
#include "PatientConsent.h"
#include <QMap>
#include <QObject>

class QCheckBox;
class QLabel;
class QWidget;

namespace dv {
class DataSource;
class Dataset;
class DBGrid;
} // namespace dv

// The patient record's consent page: a box per kind with the latest answer beside it
// and the history below. A changed box changes the record: it is written with the
// patient's row, in the same transaction, as a new dated row.
class PacienteManutConsent : public QObject {
    Q_OBJECT
public:
    struct Boxes {
        QCheckBox *treatment, *photos, *whatsApp;
        QLabel *treatmentState, *photosState, *whatsAppState;
        dv::DBGrid* history;
    };
    // The history follows the master (the record being edited).
    PacienteManutConsent(const Boxes& boxes, dv::DataSource* master, QObject* owner);
    ~PacienteManutConsent() override;

    dv::Dataset* SQL_Consentimento;
    dv::DataSource* dsConsentimento;

    // Writes the changed answers with every post of the patient's row from now on.
    void attach(dv::Dataset* patient);
    // Shows what is stored for the record being edited; pending changes are dropped.
    void reload();
    bool hasPending() const { return !m_pending.isEmpty(); }

private:
    QCheckBox* box(dv::consent::Kind kind) const;
    QLabel* stateLabel(dv::consent::Kind kind) const;
    void toggled(dv::consent::Kind kind, bool checked);
    void writePending(dv::Dataset& patient);
    void detach();

    Boxes m_boxes;
    dv::Dataset* m_patient = nullptr;
    std::function<void(dv::Dataset&)> m_previousOnWrite;
    QMap<dv::consent::Kind, bool> m_pending;
    QMap<dv::consent::Kind, dv::consent::State> m_stored;
    bool m_loading = false;
};
