#pragma once
#include "DBGrid.h"
#include <QLineEdit>
#include <QVariant>

class QAction;

namespace dv {

class LookupPopup;

// The cell editor of a column with a declared drop-down (DBGrid::setColumnLookup,
// setColumnPicker): the chosen row's first display field as text, the lookup rows in
// a drop-down grid of several columns (pictures for a picker). Typing drops the grid
// down on the first row beginning with the text; Enter or a click takes the row and
// gives chosen(); Tab takes it and goes on (the grid's own Tab handling commits);
// Escape in the drop-down gives the old text back.
class GridLookupEditor : public QLineEdit {
    Q_OBJECT
public:
    GridLookupEditor(const ColumnLookup& lookup, QWidget* parent);

    // The cell's key: shown, and the lookup dataset moved to its row.
    void start(const QVariant& key);
    // Something other than the cell's key was taken (or the text emptied).
    bool isChanged();
    // The key to store (null: empty the cell).
    QVariant key();

    LookupPopup* popupWindow() const { return m_popup; }
    bool isPopupVisible() const;
    void showPopup();

signals:
    // A row taken with Enter or a click: the editor is done.
    void chosen();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void typed(const QString& text);
    void take(); // the lookup's current row
    void resolveTyped();
    QString displayOf(const QVariant& key) const;
    Dataset* lookup() const;

    ColumnLookup m_lookup;
    LookupPopup* m_popup = nullptr;
    QAction* m_button;
    QVariant m_original;
    QVariant m_key;
    bool m_typed = false;
};

} // namespace dv
