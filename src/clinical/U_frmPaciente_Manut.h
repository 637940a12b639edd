#pragma once
#include "framework/U_frmCadastro.h"

class QAbstractButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class PacienteManutConsent;

namespace dv {
class DBDateEdit;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupCombo;
} // namespace dv

// The patient record: the list's current patient with the anamnesis answers, the
// photos, and, read only, what is still to be done and still to be paid.
class TfrmPaciente_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmPaciente_Manut(QWidget* parent = nullptr);
    ~TfrmPaciente_Manut() override;

    // ---- datasets ----
    dv::Dataset *SQL_Anamnese, *SQL_AnamnesePaciente, *SQL_ServicoFazer, *SQL_Parcelas, *SQL_Foto;
    dv::DataSource *dsAnamnese, *dsAnamnesePaciente, *dsServicoFazer, *dsParcelas, *dsFoto;

    // ---- the pages, declared in the forms PacienteManut*.ui; here the widgets that
    // the screen's code and its tests work on ----
    dv::DBEdit *DBEditNome, *DBEditRg, *DBEditCpf, *DBEditProfissao, *DBEditNumero, *DBEditCep;
    dv::DBLookupCombo *DBLookupUF, *DBLookupConvenio;
    dv::DBEdit* DBEditFone;
    dv::DBDateEdit* DBDateCadastro;
    dv::DBEdit* DBEditEmail;
    dv::DBImage* Image1;
    QPushButton* Button4;                        // "Foto"
    QWidget *TabSheet2, *TabSheet3;              // answers, photos
    QPushButton* Button1;                        // "Refazer anamnese"
    QPushButton* btnGerar;                       // hidden: generates the answers
    dv::DBGrid* wwDBGrid2;                       // answers
    dv::DBGrid* wwDBGrid4;                       // photos
    QPushButton *Button2, *Button3, *btnVerFoto; // Inserir / Remove / Ver Foto
    QGroupBox* GroupBox2;                        // "Foto" around the large picture
    dv::DBImage* Image2;
    QCheckBox *CheckBox2, *CheckBox1, *CheckBox3; // Proporcional, Centralizado, Ajustar
    dv::DBGrid* wwDBGrid3;                        // open treatments
    dv::DBGrid* wwDBGrid5;                        // open installments

    PacienteManutConsent* consentPage; // consent boxes and history (TabSheet6)

    // ---- bottom bar ----
    QPushButton* BitBtn3; // "Consultas"
    QPushButton* btnExportarDados; // "Exportar dados do paciente"
    QLabel* lbParcelas;   // "Existem parcelas em aberto"

    // True once the first activation has opened the record's queries.
    bool isReady() const { return m_ready; }

    // ---- handlers ----
    void FormShow() override;
    void FormActivate() override;
    void BitBtn1Click() override;
    void btnGerarClick();
    void Button1Click();
    void Button4Click();
    void Button2Click();
    void btnVerFotoClick();
    void Button3Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void BitBtn3Click();
    // Everything stored about the saved patient into a folder the user picks.
    void btnExportarDadosClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A click runs the handler as the base's buttons do: errors go to the translator.
    void guard(QAbstractButton* button, void (TfrmPaciente_Manut::*handler)());
    void createDatasets();
    void createPages();
    void buildBottomBar();
    void showAnamnesisTab(bool shown);
    bool m_activated = false;
    bool m_ready = false;
};
