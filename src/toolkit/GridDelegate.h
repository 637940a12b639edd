#pragma once
#include <QFont>
#include <QStyledItemDelegate>
#include <array>

namespace dv {

class Field;
class GridModel;
struct ColumnLookup;

// How a DBGrid draws and edits its cells: check boxes centred in flag columns
// (a click or Space flips them), pictures centred, a picker's pictures drawn with
// their transparency, the declared drop-down grid (GridLookupEditor) where the grid
// has one for the column, else a drop-down over the lookup dataset for lookup
// columns (storing the chosen key and moving the lookup dataset to it), a date box
// for dates and a line edit, with the field's edit mask, for the rest.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // Ctrl+Tab and Ctrl+Shift+Tab in an open cell travel on to the pages around the grid.
    static bool isPageSwitchKey(const QEvent* event);

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    static const GridModel* gridModel(const QModelIndex& index);
    static bool isCheck(const QModelIndex& index);
    static Field* keyTarget(const QModelIndex& index);
    static QString maskOf(const QModelIndex& index);
    const ColumnLookup* columnLookup(const QModelIndex& index) const;
    void paintPicture(QPainter* painter, QStyleOptionViewItem& opt, QStyle* style, const ColumnLookup& lookup,
                      const QModelIndex& index) const;
    void paintText(QPainter* painter, QStyleOptionViewItem& opt, QStyle* style) const;
    void paintFocusFrame(QPainter* painter, const QStyleOptionViewItem& opt, QStyle* style) const;
    bool surelyFits(const QString& text, const QStyleOptionViewItem& opt, int width) const;

    // Advances of the Latin-1 characters in the last font painted (0: not measured yet).
    mutable QFont m_advancesFont;
    mutable std::array<float, 256> m_advances{};
};

} // namespace dv
