#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QPushButton;

namespace dv {
class DataSource;
class Dataset;
class DBDateEdit;
class DBGrid;
class DBLookupCombo;
} // namespace dv

// The appointments of one patient from a day onward, with every dentist's name;
// read only, with export. The patient is the current row of the shared patients.
class TfrmAgenda_Paciente : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmAgenda_Paciente(QWidget* parent = nullptr);

    dv::DBDateEdit* edtDataInicial;
    QPushButton *btnAtualizar, *BitBtn1, *BitBtn2; // Atualizar, Fechar, Excel
    dv::DBLookupCombo* DBLC_Paciente;
    dv::DBGrid* wwDBGrid1;
    dv::Dataset* SQL_Agenda;
    dv::DataSource* dsAgenda;

    void btnAtualizarClick();
    void DBLC_PacienteChange();
    void BitBtn2Click();
    void applyArguments(const dv::ScreenArgs&) override {}

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};
