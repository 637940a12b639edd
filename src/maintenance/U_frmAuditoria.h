#pragma once
#include "framework/U_frmModelo4.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace dv {
class DBDateEdit;
} // namespace dv

// The audit trail, read-only: who inserted, changed or deleted which row and when,
// filtered by period, user, table and patient; the current row's changed columns old
// beside new; and the check that the sealed chain is whole.
class TfrmAuditoria : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmAuditoria(QWidget* parent = nullptr);

    QLabel *lbDataI, *lbDataF, *lbUsuario, *lbTabela, *lbPaciente;
    dv::DBDateEdit *wwDataI, *wwDataF;
    QComboBox *cbUsuario, *cbTabela; // the first item (empty) is every one
    QLineEdit* edPaciente;           // a patient's id, or part of the name
    QPushButton *btnAplicar, *btnVerificar;
    QTableWidget* gridAlteracoes; // column, before, after

    void FormShow() override;
    // The trail is the triggers' alone.
    void btnNovoClick() override {}
    void btnEditarClick() override {}
    void btnExcluirClick() override {}

    // Re-reads the list with the filters in the boxes.
    void btnAplicarClick();
    // Walks the chain and says whether it is whole or which row breaks it.
    void btnVerificarClick();
    // Shows the current row's changed columns.
    void showChanges();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFilters();
    void fillChoices();
};
