#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class ConsultaDocumentos;
class DocumentPrint;

namespace dv {
class DataSource;
class Dataset;
class DBGrid;
class DBNavigator;
} // namespace dv

// The documents of one patient, outside any consultation: certificates, attendance
// declarations and prescriptions from the clinic's models, signed by the chosen
// dentist (the logged user's own when there is one), and every document the patient
// was given, consultations' included, to print again as it was.
class TfrmPaciente_Documentos : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmPaciente_Documentos(QWidget* parent = nullptr);

    QLabel* lblPaciente;
    QComboBox* cbDentista;
    QWidget* TabSheet4; // the documents page, as in the consultation
    dv::DBGrid* wwDBGridDoc;
    dv::DBNavigator* DBNavigatorDoc;
    QPushButton *btnReceita, *btnFechar, *btnAjuda;
    dv::Dataset* SQL_Doc;
    dv::DataSource* dsDoc;
    ConsultaDocumentos* Documentos;
    DocumentPrint* DocImpressao;

    // "paciente_id": the patient whose documents are shown.
    void applyArguments(const dv::ScreenArgs& args) override;
    void btnReceitaClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void loadDentists();
    // Saves or drops a document being written; false keeps the screen open.
    bool settlePending();
    qint64 m_patient = 0;
    bool m_shown = false;
};
