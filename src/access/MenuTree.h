#pragma once
#include <QString>

class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace dv {
class Dataset;

// The system menu as a tree: groups (SQL_Menu) with their entries (SQL_SubMenu, a
// detail of the group). Shared by the menu window and the menu maintenance's preview.
class MenuTree {
public:
    MenuTree(Dataset* menu, Dataset* subMenu) : m_menu(menu), m_subMenu(subMenu) {}

    // Fills the tree from the two queries; the group query is left on its first row.
    void fill(QTreeWidget* tree) const;
    // Puts the queries on the node's rows (the group's, and the entry's when it is
    // one) and shows its path ("group >> entry") and help text.
    void select(QTreeWidgetItem* node, QLabel* path, QPlainTextEdit* help) const;
    // A column of the current row of a query; empty when it has no row.
    static QString text(const Dataset* d, const char* field);

private:
    Dataset* m_menu;
    Dataset* m_subMenu;
};
} // namespace dv
