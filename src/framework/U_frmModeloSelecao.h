#pragma once
#include <QDate>
#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace dv {
class DataSource;
class Dataset;
class DBDateEdit;
} // namespace dv

// The base of the small dialogs that ask for a period before printing: "Data
// Inicial" and "Data Final" start on the first and last day of the current month.
// A subclass gives SQL_Selecao's SQL and extends BitBtn4Click: reopen SQL_Selecao
// with the two dates (as US date text) and then call the base, which prints through
// the report picker and closes the dialog.
//
// FormCreate runs from this constructor, so it is always the base's: a subclass that
// wants more at creation does it in its own constructor. FormClose runs whenever the
// dialog ends (Imprimir, Fechar, Esc or the close box).
class TfrmModeloSelecao : public QDialog {
    Q_OBJECT
public:
    TfrmModeloSelecao(QWidget* parent, const QString& formName, const QString& caption);
    ~TfrmModeloSelecao() override;

    QGroupBox* GroupBox1; // "Selecione as opções "
    QLabel* Label1;       // "Data Inicial"
    dv::DBDateEdit* wwDataI;
    QLabel* Label2; // "Data Final"
    dv::DBDateEdit* wwDataF;
    QPushButton* btnAjuda;
    QPushButton* BitBtn4; // Imprimir
    QPushButton* BitBtn2; // &Fechar
    dv::Dataset* SQL_Selecao;
    dv::DataSource* dsSelecao;

    // The dates in the boxes; invalid when a box is empty or holds no date.
    QDate startDate() const;
    QDate endDate() const;
    // For a subclass's Imprimir, before it selects: false, after the warning "Data
    // inválida." with the box focused, when a box is empty or holds no date.
    bool checkPeriod();

    virtual void FormCreate();
    virtual void BitBtn4Click();
    virtual void BitBtn2Click();
    // No help file is registered: opens the application's help page.
    virtual void btnAjudaClick();
    virtual void FormClose();

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};
