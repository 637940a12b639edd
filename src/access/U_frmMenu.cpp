#include "U_frmMenu.h"
#include "AccessIcons.h"
#include "ScreenOpener.h"
#include "U_frmPrincipal.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// What a node stands for: a group (its menu_id) or an entry (menu_id and sub_menu_id).
constexpr int kMenuId = Qt::UserRole;
constexpr int kSubMenuId = Qt::UserRole + 1;

QString text(dv::Dataset* d, const char* field) {
    if (!d->isActive() || d->isEmpty()) return QString();
    return d->fieldByName(QLatin1String(field))->asString();
}

} // namespace

TfrmMenu::TfrmMenu(TfrmPrincipal* mainWindow)
    : QWidget(mainWindow,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_main(mainWindow) {
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral("Menu de Acesso ao Sistema"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumWidth(270);
    resize(680, 440);

    TreeView1 = new QTreeWidget(this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(true);
    TreeView1->setItemsExpandable(true);
    TreeView1->setExpandsOnDoubleClick(false);
    TreeView1->setIconSize(QSize(20, 20));
    TreeView1->setIndentation(18);
    TreeView1->setUniformRowHeights(true);
    // The selection shows only while the tree has the focus.
    TreeView1->setStyleSheet(
        QStringLiteral("QTreeWidget { font-size: 10pt; }"
                       "QTreeWidget::item { padding: 3px 2px; }"
                       "QTreeWidget::item:selected:!active, QTreeWidget::item:selected:!focus "
                       "{ background: transparent; color: palette(text); }"));
    TreeView1->installEventFilter(this);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FFFDF7; font-size: 10pt; }"));

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->addWidget(TreeView1);
    split->addWidget(Memo1);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);

    lbForm = new QLabel(this);
    lbForm->setObjectName(QStringLiteral("lbForm"));
    lbForm->setMinimumHeight(26);
    lbForm->setStyleSheet(
        QStringLiteral("QLabel { background: white; border: 1px solid #C9C0B7; padding: 3px 8px; "
                       "color: #5A4333; font-weight: bold; }"));

    Label1 = new QLabel(QStringLiteral("Duplo clique para abrir os formulários"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: #6E6259;"));
    btnFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    btnFechar->setIcon(dv::accessIcon(dv::AccessIcon::CloseAll));
    btnFechar->setMinimumWidth(96);
    connect(btnFechar, &QPushButton::clicked, this, &QWidget::close);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addStretch();
    bottom->addWidget(btnFechar);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(8);
    root->addWidget(split, 1);
    root->addWidget(lbForm);
    root->addLayout(bottom);

    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { TreeView1Change(node); });
    connect(TreeView1, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* node) { TreeView1DblClick(node); });

    // Creation: the two queries, read once for the life of the window.
    SQL_Menu = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Menu"), this);
    SQL_Menu->sql() = QStringList{QStringLiteral("select * from menu_sistema"),
                                  QStringLiteral("where sub_menu_id = 0 and menu_ativo = 'S'"),
                                  QStringLiteral("order by menu_id,menu_nome")};
    dsMenu = new dv::DataSource(SQL_Menu, QStringLiteral("dsMenu"), this);
    SQL_SubMenu = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_SubMenu"), this);
    SQL_SubMenu->sql() =
        QStringList{QStringLiteral("select * from menu_sistema"), QStringLiteral("where sub_menu_id <> 0"),
                    QStringLiteral("AND menu_id = :menu_id"), QStringLiteral("and menu_ativo = 'S'"),
                    QStringLiteral("order by menu_id,menu_nome")};
    SQL_SubMenu->setParam(QStringLiteral("menu_id"), dv::ParamType::Integer, QVariant());
    SQL_SubMenu->setMasterSource(dsMenu);
    SQL_Menu->open();
    SQL_SubMenu->open();
    readTree();
}

void TfrmMenu::readTree() {
    TreeView1->clear();
    const QIcon group = dv::accessIcon(dv::AccessIcon::MenuGroup);
    for (SQL_Menu->first(); !SQL_Menu->eof(); SQL_Menu->next()) {
        auto* g = new QTreeWidgetItem(TreeView1, QStringList{text(SQL_Menu, "menu_nome")});
        g->setIcon(0, group);
        g->setData(0, kMenuId, SQL_Menu->fieldByName(QStringLiteral("menu_id"))->asInteger());
        if (!SQL_SubMenu->isActive()) continue;
        for (SQL_SubMenu->first(); !SQL_SubMenu->eof(); SQL_SubMenu->next()) {
            auto* e = new QTreeWidgetItem(g, QStringList{text(SQL_SubMenu, "menu_nome")});
            e->setData(0, kMenuId, g->data(0, kMenuId));
            e->setData(0, kSubMenuId, SQL_SubMenu->fieldByName(QStringLiteral("sub_menu_id"))->asInteger());
        }
    }
    SQL_Menu->first();
}

void TfrmMenu::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_centred && m_main) {
        // Centred on the main window the first time it is shown.
        QRect r = frameGeometry();
        r.moveCenter(m_main->frameGeometry().center());
        move(r.topLeft());
        m_centred = true;
    }
    TreeView1->setFocus();
}

bool TfrmMenu::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        TreeView1->doItemsLayout();
        TreeView1->viewport()->update();
    }
    return QWidget::event(e);
}

bool TfrmMenu::eventFilter(QObject* watched, QEvent* e) {
    if (watched == TreeView1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            TreeView1Enter();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TfrmMenu::TreeView1Change(QTreeWidgetItem* node) {
    Memo1->clear();
    if (!node) return;
    // The queries follow the tree: the group's row, and under it the entry's row (or
    // the group's first entry when a group is chosen).
    SQL_Menu->locate(QStringLiteral("menu_id"), node->data(0, kMenuId));
    const QString group = text(SQL_Menu, "menu_nome").trimmed();
    if (node->parent()) {
        SQL_SubMenu->locate(QStringLiteral("sub_menu_id"), node->data(0, kSubMenuId));
        lbForm->setText(group + QStringLiteral(" >> ") + text(SQL_SubMenu, "menu_nome").trimmed());
        Memo1->setPlainText(text(SQL_SubMenu, "menu_ajuda"));
    } else {
        lbForm->setText(group);
        Memo1->setPlainText(text(SQL_Menu, "menu_ajuda"));
    }
}

QString TfrmMenu::entryFormName() const {
    return text(SQL_SubMenu, "form_nome").trimmed();
}

void TfrmMenu::TreeView1DblClick(QTreeWidgetItem* node) {
    if (!node) return;
    if (TreeView1->currentItem() != node) TreeView1->setCurrentItem(node);
    if (!node->parent()) {
        node->setExpanded(true);
        return;
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    try {
        dv::screenOpener().open(entryFormName());
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

void TfrmMenu::TreeView1Enter() {
    dv::screenOpener().open(entryFormName());
}
