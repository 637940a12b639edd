#pragma once
#include "GridModel.h"
#include <QFrame>

namespace dv {

class DataSource;
class DBGrid;

// The drop-down grid of a lookup combo box: the lookup dataset's rows with the chosen
// columns, following (and moving) its current row. Keys other than moving, Enter, Tab
// and Escape go on to the box the user is typing in; Tab and Shift+Tab close the grid,
// give tabbed() and then reach the box, which moves the focus on.
class LookupPopup : public QFrame {
    Q_OBJECT
public:
    explicit LookupPopup(QWidget* owner);

    DBGrid* grid() const { return m_grid; }
    void setSource(DataSource* source, const QList<GridColumn>& columns);
    void popup(QWidget* below);

signals:
    void chosen();    // Enter or a click on a row
    void cancelled(); // Escape
    void tabbed();    // Tab or Shift+Tab, before the key goes on to the box

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_owner;
    DBGrid* m_grid;
};

} // namespace dv
