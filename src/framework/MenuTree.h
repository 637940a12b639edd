#pragma once
#include <QString>

class QLabel;
class QObject;
class QPlainTextEdit;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace dv {
class DataSource;
class Dataset;

// The tree's parts as the menu window shows them: the tree and the help box side by
// side in a splitter, and the path label to go under them.
struct MenuTreeWidgets {
    QTreeWidget* tree;
    QPlainTextEdit* help;
    QLabel* path;
    QSplitter* splitter;
};

// The two queries of the tree: the active groups, and the active entries of the
// current group (a detail of it through dsMenu).
struct MenuTreeQueries {
    Dataset* menu;
    Dataset* subMenu;
    DataSource* dsMenu;
};

// The system menu as a tree: groups (SQL_Menu) with their entries (SQL_SubMenu, a
// detail of the group). Shared by the menu window and the menu maintenance's preview.
class MenuTree {
public:
    MenuTree(Dataset* menu, Dataset* subMenu) : m_menu(menu), m_subMenu(subMenu) {}

    // Made for the menu window and for the menu maintenance's preview alike.
    static MenuTreeWidgets makeWidgets(QWidget* parent);
    static MenuTreeQueries makeQueries(QObject* owner);

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
