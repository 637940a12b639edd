#include "MenuTree.h"
#include "AccessIcons.h"
#include "core/db/Dataset.h"
#include "core/db/Field.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace dv {
namespace {
// What a node stands for: a group (its menu_id) or an entry (menu_id and sub_menu_id).
constexpr int kMenuId = Qt::UserRole;
constexpr int kSubMenuId = Qt::UserRole + 1;
} // namespace

QString MenuTree::text(const Dataset* d, const char* field) {
    if (!d->isActive() || d->isEmpty()) return QString();
    return d->fieldByName(QLatin1String(field))->asString();
}

void MenuTree::fill(QTreeWidget* tree) const {
    tree->clear();
    const QIcon group = accessIcon(AccessIcon::MenuGroup);
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
