#pragma once
#include "core/db/Currency.h"
#include "framework/U_frmCadastro.h"
#include <QHash>
#include <QImage>
#include <optional>

class OdontogramaWidget;
class ConsultaParcelas;
class ConsultaDocumentos;
class DocumentPrint;
class QLabel;
class QPushButton;

namespace dv {
class CollapsiblePanel;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupCombo;
class DBNavigator;
class Field;
} // namespace dv

// The consultation record: a treatment plan and budget of the patient the consultation
// list stands on. Its items (services on teeth) make its total; it keeps the patient's
// installments and the consultation's documents. A new consultation shows only its
// data until it is saved.
class TfrmConsulta_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmConsulta_Manut(QWidget* parent = nullptr);
    ~TfrmConsulta_Manut() override;

    // ---- datasets ----
    dv::Dataset *SQL_ItemConsulta, *SQL_Valor, *SQL_Doc, *SQL_Parcela;
    dv::DataSource *dsItemConsulta, *dsValor, *dsDoc, *dsParcela;

    // ---- side bar ----
    dv::CollapsiblePanel *pnlPaciente, *pnlFinanceiro;
    dv::DBImage* imgPaciente;
    QLabel *lbNomePaciente, *lbIdade;
    dv::DBEdit* DBEditValorTotal; // "Valor total da consulta"

    // ---- pages ----
    dv::DBLookupCombo *DBLookupPaciente, *DBLookupDentista, *DBLookupFormaPagto;
    QWidget *TabSheet2, *TabSheet3, *TabSheet4; // odontogram, installments, documents
    QWidget* pnlOdontograma;                    // the chart's place
    QPushButton* btnOdontograma;                // prints the chart
    QPushButton *btnExibeImg, *btnRemoveImg;    // pressed by the chart's steps
    QPushButton* btnServico;                    // opens the service selection
    OdontogramaWidget* odontograma;
    dv::DBNavigator* DBNavigatorItem;
    dv::DBGrid* wwDBGridItem;
    dv::DBGrid* wwDBGridParcela;
    ConsultaParcelas* Parcelas; // the installments tab
    dv::DBGrid* wwDBGridDoc;
    dv::DBNavigator* DBNavigatorDoc;
    QPushButton* btnReceita; // "Imprimir documento"
    ConsultaDocumentos* Documentos; // new documents from the clinic's models
    DocumentPrint* DocImpressao;    // the document the report prints, one page a copy

    // The consultation's age of the patient: "N anos".
    static QString ageText(const QDate& birth, const QDate& today);

    void FormShow() override;
    void FormActivate() override;
    bool FormCloseQuery() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    void btnReceitaClick();
    // The current item's icon on the chart (drawn again, or taken away).
    void btnExibeImgClick();
    void btnRemoveImgClick();
    // The service selection for the place last clicked on the chart.
    void btnServicoClick();
    void bitBtnImprimirClick();

    // The place last clicked on the chart: tooth number, item key (0 for a free
    // place), location code.
    struct SelectedPlace {
        int tooth = 0;
        qint64 item = 0;
        QString location;
    };
    const SelectedPlace& selectedPlace() const { return m_selected; }
    void selectPlace(int tooth, qint64 item, const QString& location);

private:
    void createDatasets();
    void createSideBar();
    void createPages();
    QWidget* createItemsPage();
    QWidget* createInstallmentsPage();
    void showPatient();
    void reopenDetails();
    // The plan's price of a service for the consultation's patient, when it has one.
    std::optional<dv::Currency> planPrice(const QVariant& service) const;
    void servicoChanged(dv::Field& service);
    // Inside the item's own write: the consultation's total follows its items.
    void writeTotal();
    void showTabs(bool all);
    QVariant consultationKey() const;
    // An icon's picture, decoded once per icon; null when the icon has none.
    QImage iconPicture(qint64 icon);
    bool m_activated = false;
    SelectedPlace m_selected;
    QHash<qint64, QImage> m_icons;
};
