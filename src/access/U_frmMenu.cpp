#include "U_frmMenu.h"
#include "access/MenuTree.h"
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

using dv::MenuTree;
QString text(dv::Dataset* d, const char* field) { return MenuTree::text(d, field); }

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
    MenuTree(SQL_Menu, SQL_SubMenu).fill(TreeView1);
}

void TfrmMenu::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_centred && m_main) {
        // Centred on the main window the first time it is shown.
        centreOnMainWindow(this);
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
    MenuTree(SQL_Menu, SQL_SubMenu).select(node, lbForm, Memo1);
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
