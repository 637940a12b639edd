#pragma once
#include "framework/U_frmCadastro.h"
#include <QDate>

class QLineEdit;

namespace dv {
class DBLookupCombo;
} // namespace dv

// One appointment. A new one is opened with the dentist, day and hour of a free
// slot ("dentista_id", "agenda_data_consulta", "hora_id"); a change with its
// "agenda_id". Only the patient, the observation and the miss/late flag and reason
// can be changed: day, hour and dentist are fixed when it is booked.
class TfrmAgenda_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmAgenda_Manut(QWidget* parent = nullptr);

    dv::DBLookupCombo* wwDBLookupCombo1; // Paciente
    QLineEdit* edtDentista;

    void applyArguments(const dv::ScreenArgs& args) override;
    void FormShow() override;
    void SQL_UpdateNewRecord();
    // Books or changes the appointment, inside one transaction that first checks
    // the slot is still free; closes the form once stored.
    void BitBtn1Click() override;
    void BitBtn2Click() override;

private:
    dv::ScreenArgs m_args;
};
