#pragma once
#include "framework/ScreenContext.h"
#include <QDate>
#include <QDialog>

class QLabel;
class QPushButton;

namespace dv {
class DataSource;
class Dataset;
class DBDateEdit;
class DBGrid;
class DBLookupCombo;
class MonthCalendar;
} // namespace dv

// The agenda of one dentist: the free slots of a day, the appointments of a period,
// and booking, changing, deleting and exporting them. The dentist is the current
// row of the shared active-dentist list.
//
// Opened with "paciente_id" (and, optionally, the "dentista_id" to start on), it
// books for that patient: "Novo" fills the patient in, and the screen closes once
// the appointment is stored (bookedAppointment() then names it).
class TfrmAgenda_Consulta : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmAgenda_Consulta(QWidget* parent = nullptr);
    ~TfrmAgenda_Consulta() override;

    dv::DBLookupCombo* DBLC_Dentista;
    dv::DBDateEdit *edtDataInicial, *edtDataFinal;
    QPushButton *SpeedButton2, *BitBtn1, *BitBtn2; // Atualizar, Fechar, Excel
    dv::MonthCalendar* wwData;
    dv::DBGrid *wwDBGrid2, *wwDBGrid1;                     // free slots, appointments
    QPushButton *SpeedButton1, *btnAlterar, *SpeedButton3; // Novo, Alterar, Excluir
    QLabel* lblTotal;
    QLabel *lblAgendando, *lblAgendandoPaciente; // the patient being booked for
    dv::Dataset *SQL_Agenda, *SQL_Horario;
    dv::DataSource *dsAgenda, *dsHorario;

    // The day the free-slot list was built for (invalid before the first refresh).
    QDate slotDay() const { return m_slotDay; }

    void FormShow();
    void DBLC_DentistaChange();
    void wwDataClick();
    void SpeedButton2Click();
    void btnAtualizarClick();
    void dsAgendaDataChange();
    void SpeedButton1Click();
    void btnAlterarClick();
    void SpeedButton3Click();
    void BitBtn2Click();
    void applyArguments(const dv::ScreenArgs& args) override;

    // The patient being booked for (null in the plain agenda).
    QVariant bookingPatient() const { return m_bookPatient; }
    // The appointment stored for that patient (null until one is).
    QVariant bookedAppointment() const { return m_booked; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QVariant dentistId() const;
    void openAppointment(const dv::ScreenArgs& args);
    QVariant appointmentOf(const QVariant& patient, const QString& hour) const;
    bool m_shown = false;
    QDate m_slotDay;
    QVariant m_bookPatient, m_bookDentist, m_booked;
};
