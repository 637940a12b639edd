#pragma once
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TfrmPrincipal;

namespace dv {
class DataSource;
class Dataset;
} // namespace dv

// The system menu window: the tree of menu_sistema (groups and their entries), the
// help text of the chosen node and its path; double click or Enter opens the entry's
// screen through the opener. At most one exists; the main window holds it.
class TfrmMenu : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMenu(TfrmPrincipal* mainWindow);

    QTreeWidget* TreeView1;
    QPlainTextEdit* Memo1;
    QLabel* lbForm;
    QLabel* Label1;
    QPushButton* btnFechar;
    dv::Dataset* SQL_Menu;    // the groups
    dv::Dataset* SQL_SubMenu; // the entries of the current group
    dv::DataSource* dsMenu;

    // Handlers, public so that tests drive them as the tree does.
    void TreeView1Change(QTreeWidgetItem* node);
    void TreeView1DblClick(QTreeWidgetItem* node);
    void TreeView1Enter(); // the Enter key in the tree

protected:
    void showEvent(QShowEvent*) override;
    bool event(QEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readTree();
    QString entryFormName() const;

    TfrmPrincipal* m_main;
    bool m_centred = false;
};
