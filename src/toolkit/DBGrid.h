#pragma once
#include "GridModel.h"
#include <QPointer>
#include <QTableView>

namespace dv {

class DataSource;
class Dataset;
class FrozenColumns;
class GridDelegate;

// A drop-down over another dataset declared for a grid column (see
// DBGrid::setColumnLookup and setColumnPicker).
struct ColumnLookup {
    QPointer<DataSource> source; // the rows offered
    QString keyField;            // their key: what the cell stores
    QStringList displayFields;   // the drop-down's columns; the first is the editor's text
    QList<int> widths;           // of those columns, in characters (0: the field's)
    QStringList titles;          // of those columns (empty: the fields' labels)
    QString pictureField;        // a picker: the blob field drawn as the pictures
    QSize pictureSize;
};

// The data-aware grid every list and many forms show (`wwDBGrid1`): one row per
// record of the data source's dataset, following and moving its current row.
//
// Look: Verdana 8, rows 120 % of the font's height, every other row in colour
// 16514043, titles on two lines over colour 16053492 (setTitleColor, `pref_gride`),
// the sorted title underlined with an arrow (setSortIndicator), a row marker at the
// left, flags as check boxes and pictures in cells where asked, the first column(s)
// fixed while scrolling sideways (setFixedColumns).
//
// Columns are the visible fields unless setColumns() chooses; titles, widths (in
// characters) and which fields are shown can be changed and read back in display
// order, as the column-layout store needs:
//
//   grid->setDataSource(dsConsulta);
//   connect(grid, &dv::DBGrid::titleButtonClicked, this, &TfrmModelo4::wwDBGrid1TitleButtonClick);
//   QList<dv::GridColumn> layout = grid->columns();   // {field, title, width} as shown
//   grid->setColumns(stored + missing);
//
// Titles are buttons: a click gives titleButtonClicked(field name); sorting is the
// screen's. Enter and Escape are given to returnPressed()/escapePressed() when
// something listens (and left to the form otherwise); a double-click on a row of a
// read-only grid gives rowDoubleClicked(). Editable grids write through the dataset:
// typing edits the current row, Escape cancels it, Insert (and Down on the last row)
// appends when allowed, Ctrl+Delete deletes when allowed (asking "Excluir o
// registro?" unless told not to), Delete empties a lookup cell.
//
// Cell editors: a line edit with the field's edit mask (an hour "##:##;1;_" types
// as 08:30), a date box for dates, a one-column drop-down for lookup fields, and,
// where declared, a drop-down grid over another dataset. The declared drop-down
// stores the chosen row's key in the column's field (for a lookup field, in its key
// field), opens on F4, Alt+Down, a click on its button or typing (which moves to
// the first row beginning with the text), takes the row with Enter, a click or Tab
// (Tab goes on to the next cell), and leaves the lookup dataset on the chosen row,
// so a screen can read the rest of that row (a service's price) when the cell
// changes. A picker shows the pictures of a blob field, in the drop-down and in the
// column's cells, drawn with their transparency:
//
//   grid->setColumnLookup("servico_id", dsServico, "servico_id", {"servico_nome", "servico_valor"}, {30,
//   10}); grid->setColumnLookup("lk_dentista", dsDentista, "dentista_id",
//                         {"dentista_nome", "dentista_cro", "dentista_fone", "dentista_ativo"});
//   grid->setColumnPicker("simbolo_id", dsSimbolo, "simbolo_id", "simbolo_figura", QSize(24, 24),
//                         {"simbolo_nome"});
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget* parent = nullptr);
    ~DBGrid() override;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const;
    Dataset* dataset() const;
    GridModel* gridModel() const { return m_model; }

    // ---- columns and their layout ----
    // Shown columns in display order, titles as shown, widths in characters as now.
    QList<GridColumn> columns() const;
    // Chooses the columns (fields the dataset lacks are skipped; an empty list goes
    // back to every visible field). A width of 0 takes the field's display width.
    void setColumns(const QList<GridColumn>& columns);
    // The columns a grid has before any layout: every visible field.
    QList<GridColumn> defaultColumns() const;
    QStringList shownFields() const;
    bool isFieldShown(const QString& fieldName) const;
    // Hides a column, or shows it again (at the end when it was not among the chosen).
    void setFieldShown(const QString& fieldName, bool shown);
    QString fieldTitle(const QString& fieldName) const;
    void setFieldTitle(const QString& fieldName, const QString& title);
    int fieldWidth(const QString& fieldName) const; // characters; 0 when not shown
    void setFieldWidth(const QString& fieldName, int chars);
    // The field of a shown column; nullptr outside.
    Field* fieldAt(int column) const;
    // Pixels per character of width.
    int charWidth() const;

    // ---- look ----
    void setTitleColor(const QColor& color);
    QColor titleColor() const { return m_titleColor; }
    void setAlternateRowColor(const QColor& color);
    QColor alternateRowColor() const { return m_alternateColor; }
    void setTitleLines(int lines);
    int titleLines() const { return m_titleLines; }
    void setRowHeightPercent(int percent);
    int rowHeightPercent() const { return m_rowPercent; }
    void setFixedColumns(int count);
    int fixedColumns() const { return m_fixedCount; }
    void setCheckBoxField(const QString& fieldName, bool on = true);
    void setPictureField(const QString& fieldName, QSize size = QSize(48, 48));
    void setSortIndicator(const QString& fieldName, bool ascending);
    void clearSortIndicator();
    void setCellColors(CellColorHandler handler);
    // The titles read their fields' labels again (after a language file).
    void refreshTitles();

    // ---- drop-downs over other datasets in cells ----
    void setColumnLookup(const QString& fieldName, DataSource* lookup, const QString& keyField,
                         const QStringList& displayFields, const QList<int>& widths = {},
                         const QStringList& titles = {});
    void setColumnPicker(const QString& fieldName, DataSource* lookup, const QString& keyField,
                         const QString& pictureField, QSize size = QSize(32, 32),
                         const QStringList& displayFields = {});
    void clearColumnLookup(const QString& fieldName);
    // The drop-down declared for a field's column; nullptr when none.
    const ColumnLookup* columnLookup(const QString& fieldName) const;

    // ---- behaviour ----
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    bool rowSelect() const { return m_rowSelect; }
    void setRowSelect(bool on);
    bool allowInsert() const { return m_allowInsert; }
    void setAllowInsert(bool on) { m_allowInsert = on; }
    bool allowDelete() const { return m_allowDelete; }
    void setAllowDelete(bool on) { m_allowDelete = on; }
    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool on) { m_confirmDelete = on; }
    bool enterMovesToNextColumn() const { return m_enterToNext; }
    void setEnterMovesToNextColumn(bool on) { m_enterToNext = on; }
    // An open cell writes its text to the field and closes, as when it loses the focus
    // (a save key pressed inside it); false when no cell was open.
    bool commitOpenCell();

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    void titleButtonClicked(const QString& fieldName);
    void returnPressed();
    void escapePressed();
    void rowDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class FrozenColumns;
    void modelReset();
    void redrawViews();
    void syncCurrent();
    void applyWidths();
    void applyLook();
    void applyEditTriggers();
    void titleClicked(int section);
    void sectionMoved(int logical, int oldVisual, int newVisual);
    void sectionResized(int logical, int oldSize, int newSize);
    bool editable() const;
    void appendRow();
    void deleteRow();
    bool clearLookupCell();
    void moveToNextColumn();

    QPointer<DataSource> m_source;
    QHash<QString, ColumnLookup> m_lookups; // by field name in lower case
    GridModel* m_model = nullptr;
    GridDelegate* m_delegate;
    FrozenColumns* m_frozen = nullptr;
    QColor m_titleColor;
    QColor m_alternateColor;
    int m_titleLines = 2;
    int m_rowPercent = 120;
    int m_fixedCount = 0;
    int m_pictureHeight = 0;
    bool m_readOnly = false;
    bool m_rowSelect = false;
    bool m_allowInsert = true;
    bool m_allowDelete = true;
    bool m_confirmDelete = true;
    bool m_enterToNext = false;
    bool m_syncing = false;
    bool m_applyingWidths = false;
};

} // namespace dv
