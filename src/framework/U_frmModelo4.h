#pragma once
#include "ScreenContext.h"
#include <QWidget>
#include <memory>

#include <exception>

class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace dv {
class DataSource;
class Dataset;
class DBGrid;
class FilterDialog;
class IncrementalSearch;
} // namespace dv

// The base of every list (browse) screen: one query shown read-only in a grid, with
// new / change / delete / locate / filter / print / export / refresh / close, an
// incremental search on the sorted column, title-click sorting, the group's
// permission flags and a column layout kept per user.
//
// A list screen gives its query, fields, caption and options, and nothing else; the
// opener creates it (registered as a ScreenKind::List factory) and shows it:
//
//   TfrmPaciente::TfrmPaciente(QWidget* parent)
//       : TfrmModelo4(parent, QStringLiteral("frmPaciente"), QStringLiteral("Pacientes")) {
//       SQL_Consulta->sql() = {QStringLiteral("select * from paciente")};
//       SQL_Consulta->addField(dv::FieldDef::column("paciente_nome", "Nome")); // columns, in order;
//       ...                                   // the first declared field is the opening sort
//       SQL_Consulta->OnNewRecord = [](dv::Dataset& d) { ... };      // defaults of new rows
//       wwDBGrid1->setCheckBoxField("paciente_ativo");               // look of the grid
//       auto* item = PopupOpcoes->addAction("Aniversariantes");       // extra options: btnOpcoes
//       connect(item, &QAction::triggered, this, [this] { ... });     // shows only when any
//   }
//
// The query is opened when the screen is first shown (never in the constructor), after
// the subclass's constructor has declared everything. Handlers a screen extends are
// virtual: override, do the screen's own work and call the base (before or after) —
// every button, menu item and key that names the handler reaches the override:
//
//   void TfrmGrupo::btnExcluirClick() {
//       if (isAdministratorGroup()) { dv::services().dialogs().warning(...); return; }
//       TfrmModelo4::btnExcluirClick();
//   }
//
// The maintenance screen of a list is the form name followed by "_Manut"; New and
// Change put SQL_Consulta into insert / edit, make it the context's edited record and
// open that screen through the opener; a row the maintenance screen neither posted nor
// cancelled is cancelled when it returns. The user list overrides layoutInIniFile().
// Toolkit types are only declared here: include "toolkit/DBGrid.h" and the others you
// use. The data module must exist; outside the main window (tests) the screen is a
// window of its own and frees itself when closed (create it with new).
class TfrmModelo4 : public QWidget, public dv::HostedScreen {
    Q_OBJECT
public:
    TfrmModelo4(QWidget* parent, const QString& formName, const QString& caption);
    ~TfrmModelo4() override;

    // The screen's form name (its objectName), e.g. "frmPaciente".
    QString formName() const { return objectName(); }

    // ---- the system's components, by their names ----
    dv::Dataset* SQL_Consulta;
    dv::DataSource* dsConsulta;
    dv::DBGrid* wwDBGrid1;
    dv::IncrementalSearch* edpesq;
    QToolButton* tbtPesquisar;
    QToolButton* btnOpcoes;
    QMenu* PopupOpcoes;
    QStatusBar* StatusBar1;
    dv::FilterDialog* wwFilterDialog1; // filter
    dv::FilterDialog* wwFilterDialog2; // locate

    QToolBar* ToolBar1;
    QToolButton *btnNovo, *btnEditar, *btnExcluir, *btnLocalizar, *btnFiltrar, *btnImprimir, *btnHtml,
        *btnRefresh, *btnSair;

    QMenu* PopupExport;
    QAction *MenuItem1, *Doc1, *Csv1, *Txt1, *MenuItem2, *Xml1, *Xlsx1;
    QMenu* PopupGride;
    QAction *Novo1, *Alterar1, *Excluir1, *Filtrar1, *Imprimir1, *Html1, *Excel1, *Fechar1;

    // Status bar panels: 0 the count's label, 1 the count, 2 "Filtrado" while the list is
    // filtered (empty otherwise), then the screen's own panels in the order added.
    QLabel* statusPanel(int index) const;
    // A panel of the screen's own at the right of the base's, `width` pixels wide at
    // least (0: it takes the room left); a screen adds as many as it needs, in its
    // constructor, and sets their texts itself. The name is the label's objectName
    // (so a language file can give its text) and the panel is statusPanel(3), (4), ...:
    //
    //   QLabel* total = addStatusPanel(QStringLiteral("pnlTotal"), 120);
    //   total->setText(QStringLiteral("Total: ") + ...);
    QLabel* addStatusPanel(const QString& name, int width);

    // ---- handlers a screen may extend (call the base) ----
    virtual void FormShow();
    virtual void FormActivate();
    virtual void FormClose();
    virtual void btnNovoClick();
    virtual void btnEditarClick();
    virtual void btnExcluirClick();
    virtual void btnImprimirClick();
    virtual void btnRefreshClick();
    virtual void btnFiltrarClick();
    virtual void btnLocalizarClick();

    // An argument named like a parameter of SQL_Consulta sets it (and re-reads an
    // open list); a screen with other arguments overrides and calls the base.
    void applyArguments(const dv::ScreenArgs& args) override;
    void activatedInHost() override;

    // ---- the rest of the base's handlers ----
    void btnSairClick();
    void btnHtmlClick();  // fixed RelatGrid.html
    void btnExcelClick(); // fixed RelatGrid.xls
    void MenuItem1Click();
    void Doc1Click();
    void Csv1Click();
    void Txt1Click();
    void MenuItem2Click();
    void Xml1Click();
    void Xlsx1Click();
    void tbtPesquisarClick();
    void wwDBGrid1TitleButtonClick(const QString& fieldName);

    // A strip under the toolbar for the screen's own boxes (the consultations' patient
    // chooser), the whole width of the screen; shown once asked for.
    QHBoxLayout* toolStrip();
    // A pane of the screen's own between the grid and the status bar (the details of
    // the current row), the whole width of the screen; the grid keeps the rest.
    void addBelowGrid(QWidget* pane);

    // The sort the list opens with: its first declared field ascending unless the screen
    // names another (the consultations open newest first).
    void setOpeningSort(const QString& fieldName, bool ascending);

    // Sort state: the sorted field's name (empty before any sort), its index among the
    // query's fields and the direction.
    QString sortedField() const;
    int sortedFieldIndex() const;
    bool sortAscending() const;

    // Panel 1 shows two blanks and the count of the rows the list shows (the filtered
    // count while filtered), panel 2 whether it is filtered. The base calls it after
    // every change of the list's rows (open, refresh, post, delete, filter, locate).
    void showRecordCount();
    // Filtered by the filter or locate dialog, or by the dataset's own filter.
    bool isListFiltered() const;
    // The grid's column layout in the settings store (the show and close steps).
    void loadColumnLayout();
    void saveColumnLayout();
    // The file a named export writes: "QbExport_" + trimmed caption + extension, in
    // exportFolder().
    QString exportFileName(const QString& extension) const;
    // Where the named exports go: the process's current folder, or the user's documents
    // folder when the current one cannot be written (absolute, with a trailing "/").
    static QString exportFolder();

protected:
    // The user list keeps its column layout in the ini file beside the executable;
    // every other list in the per-user store.
    virtual bool layoutInIniFile() const { return false; }
    // Shows an error in the screen's "Classe de Exception: ..." format.
    void showException(const std::exception& error) const;
    // The same for the exception being handled in a catch block.
    void showCurrentException() const;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class ExportKind { HtmlTable, Csv, Xlsx };
    void buildToolbar();
    void buildMenus();
    void buildStatusBar();
    void connectHandlers();
    void applyPermissions();
    void updateOptionsButton();
    void sortBy(const QString& fieldName, bool ascending);
    void editCurrent(bool append);
    void escapeClose();
    void editIfEnabled();
    // The named-file check: false (after the warning and the shell) when a file of the
    // name is there and cannot be removed.
    bool clearExportFile(const QString& fileName) const;
    void exportNamed(const QString& extension, ExportKind kind);
    void exportFixed(const QString& fileName);
    // "Arquivo gravado em <path>" through the dialog service.
    void tellWritten(const QString& path) const;

    struct Private;
    std::unique_ptr<Private> d;
};
