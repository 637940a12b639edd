#pragma once
#include "framework/U_frmModelo4.h"

class QAction;
class QLabel;

namespace dv {
class DBLookupCombo;
}

// The consultations (treatment plans and budgets) of one patient, chosen in the
// toolbar's patient box; newest first, with the approval filters under the options
// button. It keeps the shared patients on the chosen patient: the consultation
// record reads the patient from there.
class TfrmConsulta : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmConsulta(QWidget* parent = nullptr);
    ~TfrmConsulta() override;

    QLabel* lbPaciente;               // "Paciente:"
    dv::DBLookupCombo* DBLC_Paciente; // the patient chooser
    QAction* VisualizarAprovadas1;    // "Visualizar consultas aprovadas"
    QAction* VisualizarNaoAprovadas1; // "Visualizar consultas não aprovadas"
    QAction* VisualizarTodas1;        // "Visualizar todas"

    void FormActivate() override;
    void btnNovoClick() override;
    void btnEditarClick() override;
    void btnRefreshClick() override;
    // "paciente_id" chooses the patient (the patient list and record open it so).
    void applyArguments(const dv::ScreenArgs& args) override;

    // The chooser's drop-down closed on a patient: list that patient's consultations.
    void DBLC_PacienteCloseUp();
    void VisualizarAprovadas1Click();
    void VisualizarNaoAprovadas1Click();
    void VisualizarTodas1Click();

private:
    void declareFields();
    // Puts the shared patients on the chooser's patient (left alone when none is chosen).
    void followChosenPatient();
    bool patientChosen() const;
    void filterApproval(const QString& value);
};
