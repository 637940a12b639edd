#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace dv {
class Dataset;
class DataSource;
class DBGrid;
} // namespace dv

// The services that apply at a place of the odontogram and are priced in the
// patient's plan, each with its variants (one icon per face, typically), a preview
// of the icon over the tooth, and the chosen variant added as an item of the
// consultation there. Opened from an item's icon, it also deletes that item.
// Works on the record's item dataset, so the record's item rules (price, total,
// icon) run as for any other item.
class TfrmSelecaoServico : public QDialog {
    Q_OBJECT
public:
    TfrmSelecaoServico(dv::Dataset* items, int tooth, qint64 item, const QString& location,
                       QWidget* parent = nullptr);

    dv::Dataset *SQL_Servico, *SQL_Icone; // the offer and the variants of its current service
    dv::DataSource *dsServico, *dsIcone;
    QComboBox* DBLookupComboServico;
    dv::DBGrid* wwDBGrid1;
    QLabel *imgDente, *imgIcone;
    QListWidget* lbLegenda;
    QPushButton *BitBtn1, *BitBtn3, *BitBtn2; // Incluir, Excluir, Fechar

    void FormShow();
    void servicoEscolhido(int index);
    void dsIconeDataChange();
    void BitBtn1Click();
    void BitBtn3Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void createDatasets();
    void createLayout();
    void openVariants();
    dv::Dataset* m_items;
    int m_tooth;
    qint64 m_item;
    QString m_location;
    bool m_shown = false;
};
