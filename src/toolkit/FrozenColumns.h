#pragma once
#include <QObject>

class QTableView;

namespace dv {

class DBGrid;

// The first column(s) of a DBGrid kept in place while the grid scrolls sideways: a
// second view over the same model and selection laid on the grid's left edge.
class FrozenColumns : public QObject {
    Q_OBJECT
public:
    FrozenColumns(DBGrid* grid, int count);

    void setCount(int count);
    int count() const { return m_count; }
    // Width of the fixed columns in pixels.
    int width() const;
    QTableView* view() const { return m_view; }

    // After the grid's model, look or geometry changed.
    void refresh();
    void updateGeometry();

private:
    DBGrid* m_grid;
    QTableView* m_view;
    int m_count;
};

} // namespace dv
