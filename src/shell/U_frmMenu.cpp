#include "U_frmMenu.h"
#include "framework/HelpPages.h"
#include "core/Localization.h"
#include "ScreenOpener.h"
#include "ShellIcons.h"
#include "U_frmPrincipal.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "framework/MenuTree.h"
#include "framework/ScreenContext.h"
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
QString text(dv::Dataset* d, const char* field) {
    return MenuTree::text(d, field);
}

} // namespace

TfrmMenu::TfrmMenu(TfrmPrincipal* mainWindow)
    : QWidget(mainWindow,
              Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_main(mainWindow) {
    setObjectName(QStringLiteral("frmMenu"));
    dv::ensureHelpTopic(this);
    setWindowTitle(QStringLiteral("Menu de Acesso ao Sistema"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumWidth(270);
    resize(680, 440);

    const dv::MenuTreeWidgets parts = MenuTree::makeWidgets(this);
    TreeView1 = parts.tree;
    Memo1 = parts.help;
    lbForm = parts.path;
    QSplitter* split = parts.splitter;
    TreeView1->installEventFilter(this);

    Label1 = new QLabel(QStringLiteral("Duplo clique para abrir os formulários"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setStyleSheet(QStringLiteral("color: #6E6259;"));
    btnFechar = new QPushButton(QStringLiteral("&Fechar"), this);
    btnFechar->setObjectName(QStringLiteral("btnFechar"));
    btnFechar->setIcon(dv::shellIcon(dv::ShellIcon::CloseAll));
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
    const dv::MenuTreeQueries queries = MenuTree::makeQueries(this);
    SQL_Menu = queries.menu;
    SQL_SubMenu = queries.subMenu;
    dsMenu = queries.dsMenu;
    SQL_Menu->open();
    SQL_SubMenu->open();
    readTree();
    dv::applyLanguageFile(this);
}

void TfrmMenu::readTree() {
    MenuTree(SQL_Menu, SQL_SubMenu).fill(TreeView1);
}

void TfrmMenu::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_centred && m_main) {
        // Centred on the main window the first time it is shown.
        dv::centreOnMainWindow(this);
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
        dv::screenContext().openScreen(entryFormName());
    } catch (...) {
        QApplication::restoreOverrideCursor();
        throw;
    }
    QApplication::restoreOverrideCursor();
}

void TfrmMenu::TreeView1Enter() {
    dv::screenContext().openScreen(entryFormName());
}
