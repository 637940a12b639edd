#include "U_frmModelo4.h"
#include "HelpPages.h"
#include "ListIcons.h"
#include "ListLayoutStore.h"
#include "ScreenContext.h"
#include "U_frmRelatorio.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/WritablePlaces.h"
#include "core/db/DbErrors.h"
#include "toolkit/Colors.h"
#include "toolkit/CsvExporter.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/FilterDialog.h"
#include "toolkit/HtmlTableExporter.h"
#include "toolkit/IncrementalSearch.h"
#include "toolkit/XlsxExporter.h"
#include "toolkit/XmlDataPacketExporter.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using dv::Dataset;
using dv::Field;

namespace {

bool sortable(const Field* f) {
    return f && !f->isBlob() && !f->isLookup() && !f->isCalculated();
}

dv::ParamType paramTypeOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return dv::ParamType::Integer;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return dv::ParamType::DateTime;
    default:
        return dv::ParamType::String;
    }
}

QString absolute(const QString& fileName) {
    return QFileInfo(fileName).absoluteFilePath();
}

bool english() {
    return dv::session().language() == QLatin1String("en");
}

} // namespace

struct TfrmModelo4::Private {
    QList<QLabel*> panels;
    QWidget* searchBar = nullptr;
    bool hosted = false; // inside the main window's area
    bool shown = false;
    bool activated = false;
    bool closed = false;
    // Sort state
    int sortIndex = 0;
    QString sortField;
    bool ascending = true;
    QWidget* stripRow = nullptr; // under the toolbar, shown once a screen uses it
    QHBoxLayout* strip = nullptr;
    QString openingField; // empty: the first declared field
    bool openingAscending = true;
};

TfrmModelo4::TfrmModelo4(QWidget* parent, const QString& formName, const QString& caption)
    : QWidget(parent), d(std::make_unique<Private>()) {
    setObjectName(formName);
    setWindowTitle(caption);

    SQL_Consulta = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Consulta"), this);
    dsConsulta = new dv::DataSource(SQL_Consulta, QStringLiteral("dsConsulta"), this);

    buildToolbar();
    buildMenus();

    wwDBGrid1 = new dv::DBGrid(this);
    wwDBGrid1->setObjectName(QStringLiteral("wwDBGrid1"));
    wwDBGrid1->setDataSource(dsConsulta);
    wwDBGrid1->setReadOnly(true);
    wwDBGrid1->setRowSelect(true);
    wwDBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);

    wwFilterDialog1 = new dv::FilterDialog(dv::FilterDialog::Kind::Filter, this);
    wwFilterDialog1->setObjectName(QStringLiteral("wwFilterDialog1"));
    wwFilterDialog1->setDataSource(dsConsulta);
    wwFilterDialog2 = new dv::FilterDialog(dv::FilterDialog::Kind::Locate, this);
    wwFilterDialog2->setObjectName(QStringLiteral("wwFilterDialog2"));
    wwFilterDialog2->setDataSource(dsConsulta);

    buildStatusBar();

    auto* top = new QWidget(this);
    top->setAutoFillBackground(true);
    top->setStyleSheet(QStringLiteral(
        "QWidget#ListTopBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FBF9F6, "
        "stop:1 #ECE6DE); border-bottom: 1px solid #C9BFB2; }"
        "QToolBar { background: transparent; border: none; spacing: 2px; }"));
    top->setObjectName(QStringLiteral("ListTopBar"));
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(4, 2, 8, 2);
    row->setSpacing(6);
    row->addWidget(ToolBar1);
    row->addStretch(1);
    row->addWidget(d->searchBar, 0, Qt::AlignVCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    d->stripRow = new QWidget(this);
    d->stripRow->setObjectName(QStringLiteral("ListStrip"));
    d->stripRow->setStyleSheet(
        QStringLiteral("QWidget#ListStrip { background: #F4F0EA; border-bottom: 1px solid #D8CFC3; }"));
    d->strip = new QHBoxLayout(d->stripRow);
    d->strip->setContentsMargins(10, 4, 10, 4);
    d->strip->setSpacing(6);
    d->stripRow->hide();
    layout->addWidget(d->stripRow);
    layout->addWidget(wwDBGrid1, 1);
    layout->addWidget(StatusBar1);

    connectHandlers();
    setFocusProxy(edpesq);
    resize(900, 560);
}

TfrmModelo4::~TfrmModelo4() {
    // The query goes with the children, after the panels the count is shown in.
    disconnect(dsConsulta, nullptr, this, nullptr);
}

// ---- construction ----

void TfrmModelo4::buildToolbar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);

    auto button = [this](const char* name, const QString& caption, const QString& hint, dv::ListIcon icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setIcon(dv::listIcon(icon));
        b->setIconSize(QSize(24, 24));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setAutoRaise(true);
        b->setMinimumWidth(62);
        b->setFocusPolicy(Qt::NoFocus);
        ToolBar1->addWidget(b);
        return b;
    };
    btnNovo = button("btnNovo", QStringLiteral("&Novo"), dv::text("Novo registro"), dv::ListIcon::New);
    btnEditar =
        button("btnEditar", QStringLiteral("&Alterar"), QStringLiteral("Alterar"), dv::ListIcon::Change);
    btnExcluir =
        button("btnExcluir", QStringLiteral("E&xcluir"), QStringLiteral("Excluir"), dv::ListIcon::Delete);
    ToolBar1->addSeparator();
    btnLocalizar = button("btnLocalizar", QStringLiteral("Localizar"), QStringLiteral("Localizar"),
                          dv::ListIcon::Locate);
    btnFiltrar = button("btnFiltrar", QStringLiteral("Fi&ltrar"),
                        dv::text("Executa filtro sobre os registros da gride!"), dv::ListIcon::Filter);
    ToolBar1->addSeparator();
    btnImprimir =
        button("btnImprimir", QStringLiteral("&Imprimir"), QStringLiteral("Imprimir"), dv::ListIcon::Print);
    btnHtml = button("btnHtml", QStringLiteral("Exportar"), QStringLiteral("Exportar"), dv::ListIcon::Export);
    btnHtml->setPopupMode(QToolButton::MenuButtonPopup);
    btnHtml->setMinimumWidth(86);
    btnRefresh =
        button("btnRefresh", QStringLiteral("Atualizar"), QStringLiteral("Atualizar"), dv::ListIcon::Refresh);
    ToolBar1->addSeparator();
    btnSair = button("btnSair", QStringLiteral("&Fechar"), QStringLiteral("Fechar"), dv::ListIcon::Close);

    // The search box and the options, at the right of the same strip.
    d->searchBar = new QWidget(this);
    auto* row = new QHBoxLayout(d->searchBar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    tbtPesquisar = new QToolButton(this);
    tbtPesquisar->setObjectName(QStringLiteral("tbtPesquisar"));
    tbtPesquisar->setText(QStringLiteral("Pesquisar:"));
    tbtPesquisar->setIcon(dv::listIcon(dv::ListIcon::Search));
    tbtPesquisar->setIconSize(QSize(16, 16));
    tbtPesquisar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbtPesquisar->setAutoRaise(true);
    tbtPesquisar->setFocusPolicy(Qt::NoFocus);
    row->addWidget(tbtPesquisar);

    edpesq = new dv::IncrementalSearch(this);
    edpesq->setObjectName(QStringLiteral("edpesq"));
    edpesq->setToolTip(dv::text("Pesquisa campos da gride!"));
    edpesq->setDataSource(dsConsulta);
    edpesq->setMinimumWidth(200);
    edpesq->setStyleSheet(QStringLiteral("QLineEdit { padding: 3px 4px; border: 1px solid #B8AC9E; "
                                         "border-radius: 3px; background: white; }"
                                         "QLineEdit:focus { border-color: #6A8FBF; }"));
    row->addWidget(edpesq);

    PopupOpcoes = new QMenu(this);
    PopupOpcoes->setObjectName(QStringLiteral("PopupOpcoes"));
    btnOpcoes = new QToolButton(this);
    btnOpcoes->setObjectName(QStringLiteral("btnOpcoes"));
    btnOpcoes->setText(dv::text("Opções"));
    btnOpcoes->setToolTip(dv::text("Escolha uma opção!"));
    btnOpcoes->setIcon(dv::listIcon(dv::ListIcon::Options));
    btnOpcoes->setIconSize(QSize(16, 16));
    btnOpcoes->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    btnOpcoes->setPopupMode(QToolButton::InstantPopup);
    btnOpcoes->setMenu(PopupOpcoes);
    btnOpcoes->setAutoRaise(true);
    btnOpcoes->setFocusPolicy(Qt::NoFocus);
    row->addWidget(btnOpcoes);
}

void TfrmModelo4::buildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, dv::ListIcon icon) {
        auto* a = new QAction(dv::listIcon(icon), caption, menu);
        a->setObjectName(QLatin1String(name));
        menu->addAction(a);
        return a;
    };
    PopupExport = new QMenu(this);
    PopupExport->setObjectName(QStringLiteral("PopupExport"));
    MenuItem1 = item(PopupExport, "MenuItem1", QStringLiteral("Excel"), dv::ListIcon::Spreadsheet);
    Doc1 = item(PopupExport, "Doc1", QStringLiteral("Doc"), dv::ListIcon::Document);
    Csv1 = item(PopupExport, "Csv1", QStringLiteral("Csv"), dv::ListIcon::Csv);
    Txt1 = item(PopupExport, "Txt1", QStringLiteral("Txt"), dv::ListIcon::Text);
    MenuItem2 = item(PopupExport, "MenuItem2", QStringLiteral("Html"), dv::ListIcon::Html);
    PopupExport->addSeparator();
    Xml1 = item(PopupExport, "Xml1", QStringLiteral("Xml"), dv::ListIcon::Xml);
    Xlsx1 = item(PopupExport, "Xlsx1", QStringLiteral("Xlsx"), dv::ListIcon::Xlsx);
    btnHtml->setMenu(PopupExport);

    PopupGride = new QMenu(this);
    PopupGride->setObjectName(QStringLiteral("PopupGride"));
    Novo1 = item(PopupGride, "Novo1", QStringLiteral("Novo"), dv::ListIcon::New);
    Alterar1 = item(PopupGride, "Alterar1", QStringLiteral("Alterar"), dv::ListIcon::Change);
    Excluir1 = item(PopupGride, "Excluir1", QStringLiteral("Excluir"), dv::ListIcon::Delete);
    PopupGride->addSeparator();
    Filtrar1 = item(PopupGride, "Filtrar1", QStringLiteral("Filtrar"), dv::ListIcon::Filter);
    PopupGride->addSeparator();
    Imprimir1 = item(PopupGride, "Imprimir1", QStringLiteral("Imprimir"), dv::ListIcon::Print);
    Html1 = item(PopupGride, "Html1", QStringLiteral("Html"), dv::ListIcon::Html);
    Excel1 = item(PopupGride, "Excel1", QStringLiteral("Excel"), dv::ListIcon::Spreadsheet);
    Fechar1 = item(PopupGride, "Fechar1", QStringLiteral("Fechar"), dv::ListIcon::Close);
}

void TfrmModelo4::buildStatusBar() {
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = {90, 110, 0};
    for (int w : widths) {
        auto* panel = new QLabel(StatusBar1);
        panel->setContentsMargins(4, 0, 4, 0);
        if (w) panel->setMinimumWidth(w);
        StatusBar1->addWidget(panel, w ? 0 : 1);
        d->panels << panel;
    }
    d->panels[0]->setText(QStringLiteral("Registro(s):"));
}

void TfrmModelo4::connectHandlers() {
    auto on = [this](QToolButton* b, void (TfrmModelo4::*handler)()) {
        connect(b, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    auto onItem = [this](QAction* a, void (TfrmModelo4::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    // Through member pointers, so that a screen's override is what every component calls.
    on(btnNovo, &TfrmModelo4::btnNovoClick);
    on(btnEditar, &TfrmModelo4::btnEditarClick);
    on(btnExcluir, &TfrmModelo4::btnExcluirClick);
    on(btnLocalizar, &TfrmModelo4::btnLocalizarClick);
    on(btnFiltrar, &TfrmModelo4::btnFiltrarClick);
    on(btnImprimir, &TfrmModelo4::btnImprimirClick);
    on(btnHtml, &TfrmModelo4::btnHtmlClick);
    on(btnRefresh, &TfrmModelo4::btnRefreshClick);
    on(btnSair, &TfrmModelo4::btnSairClick);
    on(tbtPesquisar, &TfrmModelo4::tbtPesquisarClick);

    onItem(MenuItem1, &TfrmModelo4::MenuItem1Click);
    onItem(Doc1, &TfrmModelo4::Doc1Click);
    onItem(Csv1, &TfrmModelo4::Csv1Click);
    onItem(Txt1, &TfrmModelo4::Txt1Click);
    onItem(MenuItem2, &TfrmModelo4::MenuItem2Click);
    onItem(Xml1, &TfrmModelo4::Xml1Click);
    onItem(Xlsx1, &TfrmModelo4::Xlsx1Click);

    onItem(Novo1, &TfrmModelo4::btnNovoClick);
    onItem(Alterar1, &TfrmModelo4::btnEditarClick);
    onItem(Excluir1, &TfrmModelo4::btnExcluirClick);
    onItem(Filtrar1, &TfrmModelo4::btnFiltrarClick);
    onItem(Imprimir1, &TfrmModelo4::btnImprimirClick);
    onItem(Html1, &TfrmModelo4::btnHtmlClick);
    onItem(Excel1, &TfrmModelo4::btnExcelClick);
    onItem(Fechar1, &TfrmModelo4::btnSairClick);

    connect(wwDBGrid1, &dv::DBGrid::titleButtonClicked, this, &TfrmModelo4::wwDBGrid1TitleButtonClick);
    connect(wwDBGrid1, &dv::DBGrid::returnPressed, this, &TfrmModelo4::editIfEnabled);
    connect(wwDBGrid1, &dv::DBGrid::rowDoubleClicked, this, &TfrmModelo4::editIfEnabled);
    connect(wwDBGrid1, &dv::DBGrid::escapePressed, this, &TfrmModelo4::escapeClose);
    connect(wwDBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupGride->popup(wwDBGrid1->viewport()->mapToGlobal(pos)); });
    connect(edpesq, &QLineEdit::returnPressed, this, &TfrmModelo4::editIfEnabled);
    connect(edpesq, &dv::IncrementalSearch::escapePressed, this, &TfrmModelo4::escapeClose);

    // The count follows every change of the rows shown, whoever makes it (the base, a
    // screen's own filter, a maintenance screen posting): one reset after a batch with
    // the controls disabled.
    connect(dsConsulta, &dv::DataSource::datasetReset, this, &TfrmModelo4::showRecordCount);
    connect(dsConsulta, &dv::DataSource::rowInserted, this, &TfrmModelo4::showRecordCount);
    connect(dsConsulta, &dv::DataSource::rowRemoved, this, &TfrmModelo4::showRecordCount);
    connect(dsConsulta, &dv::DataSource::stateChanged, this, &TfrmModelo4::showRecordCount);
}

QLabel* TfrmModelo4::statusPanel(int index) const {
    return d->panels.value(index);
}

QLabel* TfrmModelo4::addStatusPanel(const QString& name, int width) {
    auto* panel = new QLabel(StatusBar1);
    panel->setObjectName(name);
    dv::setComponentTag(panel, 9); // shows values: no text of a language file
    panel->setContentsMargins(4, 0, 4, 0);
    if (width > 0) panel->setMinimumWidth(width);
    StatusBar1->addWidget(panel, width > 0 ? 0 : 1);
    d->panels << panel;
    return panel;
}

// ---- showing, activating, closing ----

void TfrmModelo4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (d->shown) return;
    d->shown = true;
    dv::ensureHelpTopic(this);
    d->hosted = dv::screenContext().hostsScreen(this);
    // Outside the main window the screen is its own window, and still goes when closed.
    if (!d->hosted) setAttribute(Qt::WA_DeleteOnClose);
    // A chooser a screen adds to its toolbar answers Escape as the search box does.
    for (dv::DBLookupCombo* chooser : findChildren<dv::DBLookupCombo*>())
        connect(chooser, &dv::DBLookupCombo::escapePressed, this, &TfrmModelo4::escapeClose,
                Qt::UniqueConnection);
    FormShow();
}

void TfrmModelo4::activatedInHost() {
    if (!d->shown || d->closed) return;
    // The child window takes the focus as the area first activates it; the search box
    // is where the list starts.
    if (!d->activated) edpesq->setFocus();
    d->activated = true;
    FormActivate();
}

void TfrmModelo4::applyArguments(const dv::ScreenArgs& args) {
    // An argument named like a parameter of the list query gives it its value; an open
    // list reads its rows again.
    bool changed = false;
    const QStringList params = SQL_Consulta->paramNames();
    for (auto it = args.cbegin(); it != args.cend(); ++it) {
        for (const QString& p : params) {
            if (p.compare(it.key(), Qt::CaseInsensitive) != 0) continue;
            SQL_Consulta->setParam(p, paramTypeOf(it.value()), it.value());
            changed = true;
        }
    }
    if (!changed || !SQL_Consulta->isActive()) return;
    dv::WaitCursor wait;
    {
        dv::ControlsDisabled off(SQL_Consulta);
        SQL_Consulta->close();
        SQL_Consulta->open();
    }
    showRecordCount();
    wwDBGrid1->setFocus();
}

void TfrmModelo4::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !d->hosted && d->shown && !d->closed && isActiveWindow())
        FormActivate();
}

void TfrmModelo4::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!event->isAccepted() || d->closed) return;
    d->closed = true;
    FormClose();
}

void TfrmModelo4::FormShow() {
    d->sortIndex = 0;
    d->ascending = true;
    d->sortField.clear();

    {
        dv::WaitCursor cursor;
        try {
            dv::ControlsDisabled held(SQL_Consulta);
            SQL_Consulta->open();
        } catch (...) {
            cursor.restore();
            showCurrentException();
        }
    }
    updateOptionsButton();
    applyPermissions();
    try {
        loadColumnLayout();
    } catch (...) {
        showCurrentException();
    }
    Field* first =
        d->openingField.isEmpty() ? SQL_Consulta->field(0) : SQL_Consulta->findField(d->openingField);
    if (sortable(first)) {
        dv::WaitCursor cursor;
        try {
            sortBy(first->fieldName(), d->openingField.isEmpty() || d->openingAscending);
            // The list opens on its first row, wherever the query's own order left it.
            if (SQL_Consulta->isActive()) SQL_Consulta->first();
        } catch (...) {
            cursor.restore();
            showCurrentException();
        }
    }
    edpesq->setFocus();
    showRecordCount();

    dv::applyLanguageFile(this);
    wwDBGrid1->refreshTitles();
    wwFilterDialog1->setWindowTitle(btnFiltrar->toolTip());
    wwFilterDialog2->setWindowTitle(btnLocalizar->toolTip());

    // English keeps its padded caption (a message file's value loses its trailing blanks).
    d->panels[0]->setText(english() ? QStringLiteral("Record(s):  ")
                                    : dv::sharedMessage(QStringLiteral("Lista"), QStringLiteral("sMsgRegistros"),
                                                        QStringLiteral("Registro(s):")));
    showRecordCount();
}

void TfrmModelo4::FormActivate() {
    showRecordCount();
    dv::screenContext().setHeaderCaption(windowTitle());
    Dataset* pref = dm().SQL_Preferencia;
    if (pref->isActive() && !pref->isEmpty()) {
        if (Field* f = pref->findField(QStringLiteral("pref_gride")); f && !f->isNull())
            wwDBGrid1->setTitleColor(dv::colorFromNumber(f->asLargeInt()));
    }
    updateOptionsButton();
}

void TfrmModelo4::FormClose() {
    try {
        saveColumnLayout();
    } catch (...) {
        showCurrentException();
    }
    dv::screenContext().setHeaderCaption(QString());
    // The window menu's entry goes with the child window (the opener owns it); the
    // screen is freed with its window, or by itself outside the main window.
}

void TfrmModelo4::updateOptionsButton() {
    btnOpcoes->setVisible(!PopupOpcoes->actions().isEmpty());
}

void TfrmModelo4::applyPermissions() {
    struct Rule {
        const char* flag;
        QList<QWidget*> buttons;
        QList<QAction*> items;
    };
    const Rule rules[] = {
        {"form_novo", {btnNovo}, {Novo1}},
        {"form_editar", {btnEditar}, {Alterar1}},
        {"form_excluir", {btnExcluir}, {Excluir1}},
        {"form_imprimir", {btnImprimir}, {Imprimir1}},
        {"form_html", {}, {Html1, MenuItem2, Xml1}},
        {"form_excel", {}, {Excel1, MenuItem1, Doc1, Csv1, Txt1, Xlsx1}},
        {"form_filtrar", {btnFiltrar}, {Filtrar1}},
        {"form_outros", {btnOpcoes}, {}},
    };
    Dataset* p = dv::screenContext().permissionRow();
    if (!p || !p->isActive() || p->isEmpty()) return;
    for (const Rule& rule : rules) {
        const Field* f = p->findField(QLatin1String(rule.flag));
        if (!f || f->asString().trimmed().compare(QLatin1String("N"), Qt::CaseInsensitive) != 0) continue;
        for (QWidget* b : rule.buttons)
            b->setEnabled(false);
        for (QAction* a : rule.items)
            a->setEnabled(false);
    }
}

void TfrmModelo4::showRecordCount() {
    d->panels[1]->setText(QStringLiteral("  ") + QString::number(SQL_Consulta->recordCount()));
    d->panels[2]->setText(!isListFiltered() ? QString()
                          : dv::sharedMessage(QStringLiteral("Lista"), QStringLiteral("sMsgFiltrado"),
                                              english() ? QStringLiteral("Filtered") : QStringLiteral("Filtrado")));
}

bool TfrmModelo4::isListFiltered() const {
    return SQL_Consulta->hasCriteria() || (SQL_Consulta->isFiltered() && !SQL_Consulta->filter().isEmpty());
}

// ---- column layout ----

namespace {
dv::ListLayoutStore layoutStore(const TfrmModelo4* screen, bool iniFile, const QWidget* grid) {
    return dv::ListLayoutStore(iniFile ? dv::SettingsHive::File : dv::SettingsHive::User,
                               screen->objectName() + grid->objectName());
}
} // namespace

void TfrmModelo4::loadColumnLayout() {
    dv::GridModel* model = wwDBGrid1->gridModel();
    const QList<dv::GridColumn> designed =
        model && model->hasCustomColumns() ? model->columns() : wwDBGrid1->defaultColumns();
    if (auto stored = layoutStore(this, layoutInIniFile(), wwDBGrid1).load(designed))
        wwDBGrid1->setColumns(dv::ListLayoutStore::titlesFromStore(*stored, SQL_Consulta));
}

void TfrmModelo4::saveColumnLayout() {
    layoutStore(this, layoutInIniFile(), wwDBGrid1)
        .save(dv::ListLayoutStore::titlesToStore(wwDBGrid1->columns(), SQL_Consulta));
}

// ---- errors ----

void TfrmModelo4::showException(const std::exception& error) const {
    QString className = QStringLiteral("Exception");
    QString message = QString::fromUtf8(error.what());
    if (const auto* e = dynamic_cast<const dv::Error*>(&error)) {
        className = e->className();
        message = e->message();
    }
    dv::services().dialogs().error(dv::text("Classe de Exception: %1").arg(className) + QLatin1Char('\r') +
                                   dv::text("Mensagem de Exception: %1").arg(message));
}

void TfrmModelo4::showCurrentException() const {
    try {
        throw;
    } catch (const dv::Abort&) {
        // A handler already told the user.
    } catch (const std::exception& e) {
        showException(e);
    } catch (...) {
        showException(dv::PlainError(dv::text("Erro desconhecido")));
    }
}

// ---- sorting and searching ----

QString TfrmModelo4::sortedField() const {
    if (!d->sortField.isEmpty()) return d->sortField;
    const Field* f = SQL_Consulta->field(d->sortIndex);
    return f ? f->fieldName() : QString();
}

int TfrmModelo4::sortedFieldIndex() const {
    return d->sortIndex;
}

bool TfrmModelo4::sortAscending() const {
    return d->ascending;
}

QHBoxLayout* TfrmModelo4::toolStrip() {
    d->stripRow->show();
    return d->strip;
}

void TfrmModelo4::addBelowGrid(QWidget* pane) {
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->insertWidget(column->indexOf(StatusBar1), pane);
}

void TfrmModelo4::setOpeningSort(const QString& fieldName, bool ascending) {
    d->openingField = fieldName;
    d->openingAscending = ascending;
}

void TfrmModelo4::sortBy(const QString& fieldName, bool ascending) {
    SQL_Consulta->setSort(fieldName + (ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC")));
    const Field* f = SQL_Consulta->findField(fieldName);
    d->sortIndex = f ? f->index() : 0;
    d->sortField = fieldName;
    d->ascending = ascending;
    edpesq->setSearchField(fieldName);
    wwDBGrid1->setSortIndicator(fieldName, ascending);
}

void TfrmModelo4::wwDBGrid1TitleButtonClick(const QString& fieldName) {
    Field* f = SQL_Consulta->findField(fieldName);
    if (!f) return;
    if (!sortable(f)) {
        dv::services().dialogs().warning(dv::text("O campo selecionado não pode ser ordenado! Para "
                                                  "pesquisar neste campo, clique no botão Localizar!"));
        return;
    }
    dv::WaitCursor cursor;
    const bool same = f->index() == d->sortIndex;
    sortBy(f->fieldName(), same ? !d->ascending : true);
}

void TfrmModelo4::tbtPesquisarClick() {
    edpesq->clear();
    edpesq->setFocus();
    if (SQL_Consulta->isActive()) SQL_Consulta->first();
}

void TfrmModelo4::editIfEnabled() {
    if (btnEditar->isEnabled()) btnEditar->click();
}

void TfrmModelo4::escapeClose() {
    if (SQL_Consulta->isEditing()) SQL_Consulta->cancel();
    close();
}

// ---- the toolbar's actions ----

void TfrmModelo4::editCurrent(bool append) {
    if (append)
        SQL_Consulta->append();
    else
        SQL_Consulta->edit();
    dv::screenContext().setEditedRecord(SQL_Consulta);
    QPointer<TfrmModelo4> self(this);
    // A row the maintenance screen left pending (or never got to) is given up.
    auto settle = [self] {
        if (self && self->SQL_Consulta->isEditing()) self->SQL_Consulta->cancel();
    };
    try {
        dv::screenContext().openScreen(formName() + QStringLiteral("_Manut"));
    } catch (...) {
        settle();
        throw;
    }
    settle();
    if (self) showRecordCount();
}

void TfrmModelo4::btnNovoClick() {
    editCurrent(true);
}

void TfrmModelo4::btnEditarClick() {
    editCurrent(false);
}

void TfrmModelo4::btnExcluirClick() {
    if (!dv::services().dialogs().confirmation(dv::text("Deja realmente excluir o registro selecionado?")))
        return;
    Dataset* ds = dsConsulta->dataset();
    if (!ds || !ds->isActive() || ds->recordCount() == 0) return;
    ds->deleteRecord();
    showRecordCount();
}

void TfrmModelo4::btnLocalizarClick() {
    wwFilterDialog2->execute();
    if (wwFilterDialog2->hasCriteria()) {
        // The rows the criteria leave; the list goes back to its first one.
        dv::ControlsDisabled held(SQL_Consulta);
        SQL_Consulta->first();
    }
    showRecordCount();
    wwDBGrid1->setFocus();
}

void TfrmModelo4::btnFiltrarClick() {
    if (wwFilterDialog2->hasCriteria()) {
        dv::services().dialogs().information(
            dv::text("A ferramenta de [Localizar] está em uso e seus critérios de busca serão removidos."));
        wwFilterDialog2->clearCriteria();
    }
    wwFilterDialog1->execute();
    wwDBGrid1->setFocus();
    showRecordCount();
}

void TfrmModelo4::btnImprimirClick() {
    dv::session().setScreenName(formName());
    dv::showReportPicker(formName(), this);
}

void TfrmModelo4::btnRefreshClick() {
    dv::WaitCursor cursor;
    {
        dv::ControlsDisabled held(SQL_Consulta);
        SQL_Consulta->close();
        SQL_Consulta->open();
    }
    showRecordCount();
}

void TfrmModelo4::btnSairClick() {
    close();
}

// ---- exports ----

QString TfrmModelo4::exportFolder() {
    const QString current = QDir::currentPath();
    if (dv::canWriteIn(current)) return QDir(current).absolutePath() + QLatin1Char('/');
    if (const QString documents = dv::writableDocuments(); !documents.isEmpty()) return documents;
    // Nowhere better: the writing fails and says why.
    return QDir(current).absolutePath() + QLatin1Char('/');
}

QString TfrmModelo4::exportFileName(const QString& extension) const {
    return exportFolder() + QStringLiteral("QbExport_") + windowTitle().trimmed() + extension;
}

void TfrmModelo4::tellWritten(const QString& path) const {
    dv::services().dialogs().information(
        dv::text("Arquivo gravado em %1").arg(QDir::toNativeSeparators(absolute(path))));
}

bool TfrmModelo4::clearExportFile(const QString& fileName) const {
    const QFileInfo info(fileName);
    if (!info.exists() && !info.isSymLink()) return true;
    if (QFile::remove(fileName)) return true;
    dv::services().dialogs().warning(
        dv::text("O Arquivo %1 está aberto! Feche antes de tentar exportar novamente.").arg(fileName));
    dv::services().shell().open(absolute(fileName));
    return false;
}

void TfrmModelo4::exportNamed(const QString& extension, ExportKind kind) {
    const QString fileName = exportFileName(extension);
    if (!clearExportFile(fileName)) return;
    dv::WaitCursor cursor;
    const QList<dv::GridColumn> columns = wwDBGrid1->columns();
    switch (kind) {
    case ExportKind::HtmlTable:
        dv::HtmlTableExporter::write(fileName, *SQL_Consulta, columns, windowTitle().trimmed());
        break;
    case ExportKind::Csv:
        dv::CsvExporter::write(fileName, *SQL_Consulta, columns);
        break;
    case ExportKind::Xlsx:
        dv::XlsxExporter::write(fileName, *SQL_Consulta, columns, windowTitle().trimmed());
        break;
    }
    cursor.restore();
    tellWritten(fileName);
    dv::services().shell().open(absolute(fileName));
}

void TfrmModelo4::exportFixed(const QString& fileName) {
    const QString path = dv::fixedFilePath(fileName);
    {
        dv::WaitCursor cursor;
        dv::HtmlTableExporter::write(path, *SQL_Consulta, wwDBGrid1->columns(), windowTitle().trimmed());
    }
    tellWritten(path);
    dv::services().shell().open(path);
}

void TfrmModelo4::MenuItem1Click() {
    exportNamed(QStringLiteral(".xls"), ExportKind::HtmlTable);
}

void TfrmModelo4::Doc1Click() {
    exportNamed(QStringLiteral(".doc"), ExportKind::HtmlTable);
}

void TfrmModelo4::Csv1Click() {
    exportNamed(QStringLiteral(".csv"), ExportKind::Csv);
}

void TfrmModelo4::Txt1Click() {
    exportNamed(QStringLiteral(".txt"), ExportKind::Csv);
}

void TfrmModelo4::MenuItem2Click() {
    exportNamed(QStringLiteral(".htm"), ExportKind::HtmlTable);
}

void TfrmModelo4::Xlsx1Click() {
    exportNamed(QStringLiteral(".xlsx"), ExportKind::Xlsx);
}

void TfrmModelo4::btnHtmlClick() {
    exportFixed(QStringLiteral("RelatGrid.html"));
}

void TfrmModelo4::btnExcelClick() {
    exportFixed(QStringLiteral("RelatGrid.xls"));
}

void TfrmModelo4::Xml1Click() {
    const QString fileName = exportFileName(QStringLiteral(".xml"));
    if (!clearExportFile(fileName)) return;
    dv::ScreenContext& context = dv::screenContext();
    {
        dv::WaitCursor cursor;
        const int rows = SQL_Consulta->recordCount();
        context.setProgress(0, rows);
        try {
            dv::ControlsDisabled held(SQL_Consulta);
            dv::XmlDataPacketExporter::write(fileName, *SQL_Consulta, [&context, rows](int recNo, int) {
                context.setProgress(recNo, rows);
            });
        } catch (...) {
            context.setProgress(0, 100);
            throw;
        }
    }
    // The system's own message for the XML packet, naming where it went.
    dv::services().dialogs().information(
        dv::text("O arquivo Xml %1 foi gerado com sucesso!").arg(QDir::toNativeSeparators(fileName)));
    dv::services().shell().open(absolute(fileName));
    context.setProgress(0, 100);
}
