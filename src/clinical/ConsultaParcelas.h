#pragma once
#include <QObject>

class QLineEdit;
class QPushButton;
class QWidget;

namespace dv {
class Dataset;
class DataSource;
class DBDateEdit;
class DBGrid;
class DBNavigator;
class Field;
} // namespace dv

// The installments tab of the consultation record: the current installment's fields,
// generation from the consultation's total, payments and the paid-off flag, removal,
// the totals bar and the receipt query of the current installment. The record owns the
// installments query (SQL_Parcela, a detail of its consultation) and hands it here.
class ConsultaParcelas : public QObject {
    Q_OBJECT
public:
    // Builds the tab's page over `parcelas`; `consulta` is the record's data source.
    ConsultaParcelas(dv::Dataset* parcelas, dv::DataSource* parcelasSource, dv::DataSource* consulta,
                     QWidget* record);

    QWidget* page() const { return m_page; }

    dv::Dataset* SQL_ValorParcelas;
    dv::DataSource* dsValorParcelas;
    dv::Dataset* SQL_ReciboParcela;
    dv::DataSource* dsReciboParcela;
    dv::Dataset* SQL_Carne; // the open installments, one booklet slip each

    dv::DBGrid* wwDBGridParcela;
    dv::DBNavigator* DBNavigatorParcela;
    dv::DBDateEdit* wwDataPrimeira; // "Vencimento da Primeira"
    QLineEdit* EditNumParcelas;
    QLineEdit* EditJuros;
    QPushButton* btnGerarParcelas;
    QPushButton* BitBtn5; // "Excluir": every installment
    QPushButton* btnCarne; // prints the booklet of the open installments
    QLineEdit *edtTotalParcelas, *edtTotalLiquido, *edtTotalPago, *edtTotalRestante;

    // Opens the totals and the receipt with the record's details.
    void open();

    void btnGerarParcelasClick();
    void BitBtn5Click();
    void EditJurosExit();
    void btnCarneClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SQL_ParcelaNewRecord(dv::Dataset& d);
    void parcelaValorChange();
    void parcelaValorPagoChange(dv::Field& paid);
    void reloadTotals();
    void showTotals();
    void resetGenerationBoxes();
    QVariant consultationValue(const char* column) const;

    dv::Dataset* m_parcelas;
    dv::DataSource* m_consulta;
    QWidget* m_page;
    bool m_boxesReset = false;
};
