#pragma once
#include "framework/U_frmCadastro.h"

class QLabel;
class QProgressBar;

namespace dv {
class DBEdit;
class DBGrid;
} // namespace dv

// One insurance plan and its price table: one price per service, generated at
// 0,00 for every service once the plan is saved, then typed in the grid.
class TfrmConvenio_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmConvenio_Manut(QWidget* parent = nullptr);
    ~TfrmConvenio_Manut() override;

    dv::Dataset* SQL_Tabela;
    dv::DataSource* dsTabela;

    dv::DBEdit *DBEdit1, *DBEdit2; // Id, Convênio
    QPushButton* btnAtualiza;      // "Gerar Tabela de Preços"
    QPushButton* btnRemove;        // "Remover Tabela"
    QProgressBar* ProgressBar1;
    QWidget* TabSheet2;
    dv::DBGrid* wwDBGrid1;
    QLabel* lbRegistro; // "Registro(s):" and the count of prices

    void FormShow() override;
    void FormActivate() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    void dsTabelaDataChange();
    void btnAtualizaClick();
    void btnRemoveClick();

private:
    QVariant planId() const;
    void buildBottomBar();
    bool m_linked = false;
};
