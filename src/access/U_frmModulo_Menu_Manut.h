#pragma once
#include "framework/U_frmCadastro.h"

class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace dv {
class DBGrid;
} // namespace dv

// The rows of the system menu (menu_sistema) in a grid that writes each row as the
// user leaves it, and a preview of the tree as the system menu window builds it.
// "Salvar" only reads the preview again. A developer screen: it keeps its built-in
// texts, and the preview opens nothing.
class TfrmModulo_Menu_Manut : public TfrmCadastro {
    Q_OBJECT
public:
    explicit TfrmModulo_Menu_Manut(QWidget* parent = nullptr);
    ~TfrmModulo_Menu_Manut() override;

    QWidget* TabSheet2; // "Manutenção do Menu"
    QTreeWidget* TreeView1;
    QPlainTextEdit* Memo1;
    QLabel* lbForm;
    dv::DBGrid* wwDBGrid1;    // over dsUpdate: SQL_Update holds the menu rows
    dv::Dataset* SQL_Menu;    // the preview's groups
    dv::Dataset* SQL_SubMenu; // the entries of the current group
    dv::DataSource* dsMenu;

    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void BitBtn1Click() override;
    void dsUpdateDataChange() override;
    void TreeView1Change(QTreeWidgetItem* node);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readTree();
};
