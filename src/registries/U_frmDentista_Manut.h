#pragma once
#include "framework/U_frmCadastro.h"

namespace dv {
class DBEdit;
class DBGrid;
class DBLookupCombo;
class DBNavigator;
class DBRadioGroup;
} // namespace dv

// One dentist on "Dados ", and on "Horário de Trabalho" the bookable hours of each
// weekday, one row per slot. The hours belong to the dentist's key, so their page
// appears once the dentist has been saved.
class TfrmDentista_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmDentista_Manut(QWidget* parent = nullptr);
    ~TfrmDentista_Manut() override;

    QWidget* TabSheet2;                                       // "Horário de Trabalho"
    dv::DBEdit* DBEdit2;                                      // Nome
    dv::DBLookupCombo *DBLookupComboBox1, *DBLookupComboBox2; // UF, Empresa
    dv::DBRadioGroup* rgDia;
    dv::DBGrid* wwDBGrid1;
    dv::DBNavigator* DBNavigator1;
    dv::Dataset* SQL_Horario;
    dv::DataSource* dsHorario;

    // The weekday number (1 Monday .. 7 Sunday) of the selector.
    int selectedDay() const;

    void FormShow() override;
    void BitBtn1Click() override;
    void rgDiaClick();
    void SQL_HorarioNewRecord();
    void SQL_HorarioBeforePost();

private:
    bool dentistSaved() const;
    void showHoursPage();
    void openHours();
    int m_day = 1; // the weekday the hours dataset was opened for
    bool m_linked = false;
};
