#pragma once
#include "framework/ScreenContext.h"
#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace dv {
class DataSource;
class Dataset;
class DBGrid;
} // namespace dv

// The administrator's list of patients past the clinic's retention period, and the
// anonymisation of the chosen ones after a confirmation.
class TfrmAnonimizacao : public QDialog, public dv::HostedScreen {
    Q_OBJECT
public:
    explicit TfrmAnonimizacao(QWidget* parent = nullptr);

    QSpinBox* spnAnos;
    QPushButton *btnSalvarPrazo, *btnAtualizar, *btnAnonimizar, *btnFechar;
    QLabel* lblTotal;
    dv::DBGrid* gridPacientes;
    dv::Dataset* SQL_Anonimizacao;
    dv::DataSource* dsAnonimizacao;

    void btnSalvarPrazoClick();
    void btnAtualizarClick();
    void btnAnonimizarClick();
    void applyArguments(const dv::ScreenArgs&) override {}

    // The patients chosen in the grid (the current one when none is selected).
    QList<qint64> chosenPatients() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_shown = false;
};
