#include "U_frmModulo_Menu_Manut.h"
#include "FormLookupDelegate.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "framework/MenuTree.h"
#include "toolkit/Colors.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmModulo_Menu_Manut_TabSheet2.h"
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using dv::FieldDef;
using dv::MenuTree;

namespace {

void reopen(dv::Dataset* d) {
    d->checkBrowseMode(); // the row still being typed is saved too
    d->close();
    d->open();
}

} // namespace

// The children go after this screen: none of their signals may reach it then.
TfrmModulo_Menu_Manut::~TfrmModulo_Menu_Manut() {
    disconnect(TreeView1, nullptr, this, nullptr);
    // SQL_Update goes with the base's children and tells dsUpdate as it goes.
    disconnect(dsUpdate, nullptr, this, nullptr);
}

TfrmModulo_Menu_Manut::TfrmModulo_Menu_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmModulo_Menu_Manut"),
                   QStringLiteral("Manutenção do Menu do Sistema")) {
    // ---- "Menu do Sistema": the preview, built like the system menu window's tree ----
    PageControl1->setTabText(PageControl1->indexOf(TabSheet1), QStringLiteral("Menu do Sistema"));
    const dv::MenuTreeWidgets parts = MenuTree::makeWidgets(TabSheet1);
    TreeView1 = parts.tree;
    Memo1 = parts.help;
    lbForm = parts.path;
    QSplitter* split = parts.splitter;
    TreeView1->installEventFilter(this);
    auto* preview = new QVBoxLayout(TabSheet1);
    preview->setContentsMargins(8, 8, 8, 8);
    preview->addWidget(split, 1);
    preview->addWidget(lbForm);

    const dv::MenuTreeQueries queries = MenuTree::makeQueries(this);
    SQL_Menu = queries.menu;
    SQL_SubMenu = queries.subMenu;
    dsMenu = queries.dsMenu;

    // ---- "Manutenção do Menu": the rows, edited in the grid ----
    dv::setComponentTag(dsUpdate, 1); // the screen edits its own query, not a list's row
    dsUpdate->setDataset(SQL_Update);
    SQL_Update->sql() = {QStringLiteral("select * from menu_sistema order by menu_id, sub_menu_id")};
    SQL_Update->addField(FieldDef::column(QStringLiteral("menu_id"), QStringLiteral("Menu id"), 6));
    SQL_Update->addField(FieldDef::column(QStringLiteral("sub_menu_id"), QStringLiteral("Sub Menu"), 8));
    SQL_Update->addField(
        FieldDef::column(QStringLiteral("menu_nome"), QStringLiteral("Menu Nome"), 23).withSize(50));
    SQL_Update->addField(FieldDef::column(QStringLiteral("menu_ativo"), QStringLiteral("Ativo"), 4));
    SQL_Update->addField(FieldDef::column(QStringLiteral("form_nome"), QStringLiteral("Form Nome"), 28));
    SQL_Update->addField(FieldDef::column(QStringLiteral("menu_ajuda"), QStringLiteral("Menu Ajuda"), 10));

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Manutenção do Menu"));
    Ui::frmModulo_Menu_Manut_TabSheet2 rows;
    rows.setupUi(TabSheet2);
    wwDBGrid1 = rows.wwDBGrid1;
    wwDBGrid1->setItemDelegate(new dv::FormLookupDelegate(
        dsUpdate, QStringLiteral("form_nome"), dm().dsFormulario, QStringLiteral("form_nome"),
        {QStringLiteral("form_nome"), QStringLiteral("form_descricao")},
        {QStringLiteral("Formulário"), QStringLiteral("Descrição")}, {40, 50}, wwDBGrid1));
    wwDBGrid1->setDataSource(dsUpdate);
    wwDBGrid1->setCheckBoxField(QStringLiteral("menu_ativo"));
    wwDBGrid1->setTitleColor(dv::colorFromNumber(15461355));
    wwDBGrid1->setEnterMovesToNextColumn(true);
    wwDBGrid1->setAllowInsert(true);
    wwDBGrid1->setAllowDelete(true);

    connect(TreeView1, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { dv::guarded([&] { TreeView1Change(node); }); });
    resize(760, 520);
}

void TfrmModulo_Menu_Manut::FormCreate() {
    TfrmCadastro::FormCreate();
    SQL_Menu->open();
    SQL_SubMenu->open();
    SQL_Update->open();
    readTree();
    BitBtn1->setEnabled(true);
}

// Replaces the base's: no translation, no binding to a list's row, no masks, and
// "Salvar" stays whatever the permissions say.
void TfrmModulo_Menu_Manut::FormShow() {}

void TfrmModulo_Menu_Manut::FormActivate() {
    TreeView1->doItemsLayout();
    TreeView1->viewport()->update();
}

// "Salvar" only reads the preview again: the grid has written each row it left.
void TfrmModulo_Menu_Manut::BitBtn1Click() {
    reopen(SQL_Menu);
    reopen(SQL_SubMenu);
    readTree();
}

void TfrmModulo_Menu_Manut::dsUpdateDataChange() {
    BitBtn1->setEnabled(true);
}

void TfrmModulo_Menu_Manut::readTree() {
    Memo1->clear();
    lbForm->clear();
    MenuTree(SQL_Menu, SQL_SubMenu).fill(TreeView1);
}

void TfrmModulo_Menu_Manut::TreeView1Change(QTreeWidgetItem* node) {
    MenuTree(SQL_Menu, SQL_SubMenu).select(node, lbForm, Memo1);
}

// Enter in the preview opens nothing here (and is not the dialog's default button).
bool TfrmModulo_Menu_Manut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TreeView1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return TfrmCadastro::eventFilter(watched, event);
}
