#include "MenuTree.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/Field.h"
#include "toolkit/ThemeIcons.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeWidget>

namespace dv {
namespace {
// What a node stands for: a group (its menu_id) or an entry (menu_id and sub_menu_id).
constexpr int kMenuId = Qt::UserRole;
constexpr int kSubMenuId = Qt::UserRole + 1;
} // namespace

MenuTreeWidgets MenuTree::makeWidgets(QWidget* parent) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QStringLiteral("TreeView1"));
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setItemsExpandable(true);
    tree->setExpandsOnDoubleClick(false);
    tree->setIconSize(QSize(20, 20));
    tree->setIndentation(18);
    tree->setUniformRowHeights(true);
    // The selection shows only while the tree has the focus.
    tree->setStyleSheet(
        QStringLiteral("QTreeWidget { font-size: 10pt; }"
                       "QTreeWidget::item { padding: 3px 2px; }"
                       "QTreeWidget::item:selected:!active, QTreeWidget::item:selected:!focus "
                       "{ background: transparent; color: palette(text); }"));

    auto* help = new QPlainTextEdit(parent);
    help->setObjectName(QStringLiteral("Memo1"));
    help->setReadOnly(true);
    help->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    help->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FFFDF7; font-size: 10pt; }"));

    auto* split = new QSplitter(Qt::Horizontal, parent);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->addWidget(tree);
    split->addWidget(help);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);

    auto* path = new QLabel(parent);
    path->setObjectName(QStringLiteral("lbForm"));
    path->setMinimumHeight(26);
    path->setStyleSheet(
        QStringLiteral("QLabel { background: white; border: 1px solid #C9C0B7; padding: 3px 8px; "
                       "color: #5A4333; font-weight: bold; }"));
    return {tree, help, path, split};
}

MenuTreeQueries MenuTree::makeQueries(QObject* owner) {
    auto* menu = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Menu"), owner);
    menu->sql() = QStringList{QStringLiteral("select * from menu_sistema"),
                              QStringLiteral("where sub_menu_id = 0 and menu_ativo = 'S'"),
                              QStringLiteral("order by menu_id,menu_nome")};
    auto* dsMenu = new DataSource(menu, QStringLiteral("dsMenu"), owner);
    auto* subMenu = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_SubMenu"), owner);
    subMenu->sql() =
        QStringList{QStringLiteral("select * from menu_sistema"), QStringLiteral("where sub_menu_id <> 0"),
                    QStringLiteral("AND menu_id = :menu_id"), QStringLiteral("and menu_ativo = 'S'"),
                    QStringLiteral("order by menu_id,menu_nome")};
    subMenu->setParam(QStringLiteral("menu_id"), ParamType::Integer, QVariant());
    subMenu->setMasterSource(dsMenu);
    return {menu, subMenu, dsMenu};
}

QString MenuTree::text(const Dataset* d, const char* field) {
    if (!d->isActive() || d->isEmpty()) return QString();
    return d->fieldByName(QLatin1String(field))->asString();
}

void MenuTree::fill(QTreeWidget* tree) const {
    tree->clear();
    const QIcon group = themeIconOrBadge("folder", QColor(0x3D, 0x9B, 0xE0), "");
    for (m_menu->first(); !m_menu->eof(); m_menu->next()) {
        auto* g = new QTreeWidgetItem(tree, QStringList{text(m_menu, "menu_nome")});
        g->setIcon(0, group);
        g->setData(0, kMenuId, m_menu->fieldByName(QStringLiteral("menu_id"))->asInteger());
        if (!m_subMenu->isActive()) continue;
        for (m_subMenu->first(); !m_subMenu->eof(); m_subMenu->next()) {
            auto* e = new QTreeWidgetItem(g, QStringList{text(m_subMenu, "menu_nome")});
            e->setData(0, kMenuId, g->data(0, kMenuId));
            e->setData(0, kSubMenuId, m_subMenu->fieldByName(QStringLiteral("sub_menu_id"))->asInteger());
        }
    }
    m_menu->first();
}

void MenuTree::select(QTreeWidgetItem* node, QLabel* path, QPlainTextEdit* help) const {
    help->clear();
    if (!node) return;
    // The queries follow the tree: the group's row, and under it the entry's row (or
    // the group's first entry when a group is chosen).
    m_menu->locate(QStringLiteral("menu_id"), node->data(0, kMenuId));
    const QString group = text(m_menu, "menu_nome").trimmed();
    if (node->parent()) {
        m_subMenu->locate(QStringLiteral("sub_menu_id"), node->data(0, kSubMenuId));
        path->setText(group + QStringLiteral(" >> ") + text(m_subMenu, "menu_nome").trimmed());
        help->setPlainText(text(m_subMenu, "menu_ajuda"));
    } else {
        path->setText(group);
        help->setPlainText(text(m_menu, "menu_ajuda"));
    }
}
} // namespace dv
