#pragma once
#include "framework/U_frmCadastro.h"

class QLabel;
class QGroupBox;

namespace dv {
class DBCheckBox;
class DBEdit;
class DBGrid;
class DBImage;
class DBLookupCombo;
class DBNavigator;
} // namespace dv

// One service: its name, branch and activity, its price under each plan and the
// icons that draw it on each place of the odontogram. The prices and icons need
// the service's number, so their pages appear once the service is saved.
class TfrmServico_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmServico_Manut(QWidget* parent = nullptr);
    ~TfrmServico_Manut() override;

    dv::Dataset *SQL_Tabela, *SQL_ServicoIcone;
    dv::DataSource *dsTabela, *dsServicoIcone;

    dv::DBEdit *DBEdit1, *DBEdit2; // id, Serviço
    dv::DBLookupCombo* DBLookupComboBox1;
    dv::DBCheckBox* DBCheckBox1;
    QWidget *TabSheet2, *TabSheet3; // prices, icons
    dv::DBGrid* wwDBGrid2;          // prices
    dv::DBGrid* wwDBGrid1;          // icons
    dv::DBNavigator* DBNavigator1;
    QGroupBox* pnPreview;
    dv::DBImage* imgIcone;
    QLabel *lbT, *lbR, *lbB, *lbL;

    void FormShow() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    // The preview shows the current icon row's picture with the faces around it.
    void showIconPreview();

    // The faces on the top, right, bottom and left of a tooth drawn for a place:
    // empty texts for a place that is no quadrant.
    static QStringList faceLabels(const QString& place);

private:
    void createDatasets();
    void createPages();
    bool m_linked = false;
};
