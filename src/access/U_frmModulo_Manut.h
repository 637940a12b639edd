#pragma once
#include "framework/U_frmCadastro.h"

class QCheckBox;

namespace dv {
class DBCheckBox;
class DBEdit;
class DBGrid;
} // namespace dv

// One registered screen (Formulario) and, on its second page, the reports registered
// for it (Relatorio). A report row added there belongs to the module being edited.
class TfrmModulo_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmModulo_Manut(QWidget* parent = nullptr);

    dv::DBEdit *DBEdit1, *DBEdit2, *DBEdit3, *DBEdit4, *DBEdit5;
    dv::DBCheckBox* DBCheckBox1;
    QWidget* TabSheet2; // "Relatórios "
    dv::DBGrid* wwDBGrid1;
    dv::Dataset* SQL_Relatorio;
    dv::DataSource* dsRelatorio;

    void FormShow() override;
    void SQL_RelatorioNewRecord();

private:
    QString moduleName() const;
};
