#pragma once
#include "framework/U_frmModelo4.h"

class QAction;

// The patient list: every patient in a grid, and under the options button the
// patient's consultations, this and next month's birthdays and the labels.
class TfrmPaciente : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmPaciente(QWidget* parent = nullptr);
    ~TfrmPaciente() override;

    // Patients born in month :mes (the birthday report's rows).
    dv::Dataset* SQL_Aniversario;
    dv::DataSource* dsAniversario;

    QAction* VisualizarConsultas1;     // "Visualizar Consultas do Paciente"
    QAction* AniversarianteAtual1;     // "Aniversariante do Mês (Atual)"
    QAction* AniversariantePosterior1; // "Aniversariante do Mês (Posterior)"
    QAction* MensagemAniversario1;     // opens the birthday messages
    QAction* EmitirEtiquetas1;         // "Emitir Etiquetas "

    void btnImprimirClick() override;
    void btnRefreshClick() override;

    // Opens the consultation list on the current patient.
    void VisualizarConsultas1Click();
    void AniversarianteAtual1Click();
    void AniversariantePosterior1Click();
    void MensagemAniversario1Click();
    void EmitirEtiquetas1Click();

    // Reopens the birthday query for a month (1-12).
    void prepareBirthdays(int month);

private:
    void declareFields();
    void printBirthdays(int month);
};
