#pragma once
#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <QIcon>
#include <QPointer>
#include <functional>

namespace dv {

class DataSource;
class Dataset;
class DatasetModel;
class Field;

// One column of a grid: a field, the title over it (empty: the field's display
// label) and its width in characters (0: the field's display width).
struct GridColumn {
    QString fieldName;
    QString title{};
    int width = 0;
    bool operator==(const GridColumn&) const = default;
};

// A cell's colours as a screen decides them while the grid draws (invalid brushes
// keep the grid's own).
struct CellColors {
    QBrush background;
    QBrush foreground;
};
// Asked for every cell drawn: row (0-based, in the grid's order) and field.
using CellColorHandler = std::function<void(int row, const Field* field, CellColors& colors)>;

// The model a DBGrid shows: the columns chosen for the grid (by default every visible
// field of the data source's dataset, in field order) over the dataset's table model.
// Titles can be set per column; the sorted column's title is underlined and carries
// an arrow (up ascending, down descending). Columns whose field is gone after a
// reopen are left out until it comes back.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(DataSource* source, QObject* parent = nullptr);
    ~GridModel() override;

    DataSource* dataSource() const;
    Dataset* dataset() const;
    DatasetModel* sourceModel() const { return m_source; }

    // The chosen columns, including any whose field the dataset lacks just now.
    const QList<GridColumn>& columns() const { return m_columns; }
    // Replaces the chosen columns (an empty list: back to every visible field).
    void setColumns(const QList<GridColumn>& columns);
    bool hasCustomColumns() const { return m_custom; }
    // Every visible field, with its label and display width.
    QList<GridColumn> defaultColumns() const;

    // Shown columns (those whose field exists).
    Field* fieldAt(int column) const;
    GridColumn columnAt(int column) const;
    int columnOf(const QString& fieldName) const; // -1 when not shown
    QString titleAt(int column) const;
    int widthAt(int column) const; // characters

    void setTitle(const QString& fieldName, const QString& title);
    void setWidth(const QString& fieldName, int chars);
    // Moves a shown column, as dragging its title does.
    bool moveColumnTo(int from, int to);

    // Check boxes ("S"/"N") and pictures in a field's cells.
    void setCheckBoxField(const QString& fieldName, bool on = true);
    bool isCheckBoxField(const QString& fieldName) const;
    void setPictureField(const QString& fieldName, QSize size = QSize(48, 48));
    bool isPictureField(const QString& fieldName) const;

    void setSortIndicator(const QString& fieldName, bool ascending);
    void clearSortIndicator();
    const QString& sortField() const { return m_sortField; }
    bool sortAscending() const { return m_sortAscending; }

    // The font the titles are drawn in (the sorted one is underlined).
    void setTitleFont(const QFont& font);

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    void setCellColors(CellColorHandler handler) { m_cellColors = std::move(handler); }

    // The row the dataset is on gets the row marker in the vertical header.
    void setCurrentRow(int row);
    // Titles read the fields' labels again (after a language file changed them).
    void refreshTitles();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void remap(); // which source column each chosen column shows
    void sourceReset();
    QModelIndex sourceIndex(const QModelIndex& index) const;
    void applyCellKinds();

    DatasetModel* m_source;
    QList<GridColumn> m_columns;
    bool m_custom = false;
    QList<int> m_shown;   // per shown column: index into m_columns
    QList<int> m_mapping; // per shown column: source column
    QStringList m_checkFields;
    QHash<QString, QSize> m_pictureFields;
    QString m_sortField;
    bool m_sortAscending = true;
    bool m_readOnly = false;
    int m_currentRow = -1;
    int m_rows = 0;
    CellColorHandler m_cellColors;
    QIcon m_ascending;
    QIcon m_descending;
    QIcon m_marker;
    QFont m_titleFont;
    QStringList m_pendingKinds; // check and picture fields not yet in the dataset
    bool m_resetting = false;
};

} // namespace dv
