#pragma once
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QRadioButton;
class QSpinBox;

namespace dv {

// The report engine's output dialog: where the report goes (printer, preview or
// PDF file), copies, collation, two-sided printing and the printer's own setup.
// Works on the printer it is given; the choices are written into it on OK.
class ReportSetupDialog : public QDialog {
    Q_OBJECT
public:
    enum Destination { Printer, Preview, PdfFile };

    ReportSetupDialog(QPrinter& printer, const QString& reportName, QWidget* parent = nullptr);

    Destination destination() const;
    void setDestination(Destination d);
    QString fileName() const;
    void setFileName(const QString& fileName);

    QRadioButton *rbImpressora, *rbVisualizar, *rbArquivo;
    QLabel* lbImpressora;
    QSpinBox* edCopias;
    QCheckBox* cbIntercalar;
    QComboBox* cbFrenteVerso;
    QLineEdit* edArquivo;

    void accept() override;

private:
    void chooseFile();
    void printerSetup();
    void showPrinter();
    void updateEnabled();

    QPrinter& m_printer;
    QString m_reportName;
    QButtonGroup* m_destination;
    QList<QWidget*> m_printerOnly;
    QList<QWidget*> m_fileOnly;
};

} // namespace dv
