#pragma once
#include <QDialog>
#include <memory>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace dv {
class Dataset;
class ReportProject;
} // namespace dv

// The report picker: the reports of the project registered (table Relatorio) for the
// screen that asked to print, the description of the selected one, and "&Imprimir"
// to run it. Every screen prints through showReportPicker().
//
// Creating it reads relatorio/Dentrivale.rav and keeps, in alphabetical order, the
// reports with a Relatorio row for the current screen name (session().screenName()).
// A project that cannot be read is reported at once and leaves the list empty
// (projectOpen() false); a report that fails to run is reported and the picker stays
// open. It frees itself when closed.
class TfrmRelatorio : public QDialog {
    Q_OBJECT
public:
    explicit TfrmRelatorio(QWidget* parent = nullptr);
    ~TfrmRelatorio() override;

    QLabel* Label1; // "Relatórios disponíveis"
    QListWidget* ReportLB;
    QLabel* Label2; // "Descrição do Relatório selecionado"
    QPlainTextEdit* DescMemo;
    QPushButton* BitBtn1; // &Imprimir
    QPushButton* BitBtn2; // &Fechar
    dv::Dataset* SQL_Relatorio;

    // False when the report project could not be read (its message was shown).
    bool projectOpen() const;
    dv::ReportProject& project() { return *m_project; }

    void ReportLBClick();
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    std::unique_ptr<dv::ReportProject> m_project;
    bool m_shown = false;
};

namespace dv {
// Sets the current screen name to formName and shows the picker modally over parent;
// it is gone when this returns. When the report project cannot be read, only its
// message is shown.
void showReportPicker(const QString& formName, QWidget* parent);
} // namespace dv
