#pragma once
#include "framework/U_frmModelo4.h"

class QLabel;

namespace dv {
class DBDateEdit;
} // namespace dv

// The clinic's bills falling due in a period (by default the current month), paid or
// not, with their count and total value.
class TfrmContasPagar : public TfrmModelo4 {
    Q_OBJECT
public:
    explicit TfrmContasPagar(QWidget* parent = nullptr);
    ~TfrmContasPagar() override;

    QLabel *Label1, *Label2; // "Data Início:", "Data Fim:"
    dv::DBDateEdit *wwDataI, *wwDataF;
    dv::Dataset* SQL_Valor;
    dv::DataSource* dsValor;

    void FormShow() override;
    void FormActivate() override;
    // Reloads the list and the total for the period in the boxes.
    void wwDataICloseUp();
    void dsValorDataChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setPeriod(dv::Dataset* d) const;
};
