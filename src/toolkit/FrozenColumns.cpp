#include "FrozenColumns.h"
#include "DBGrid.h"
#include <QHeaderView>
#include <QScrollBar>

namespace dv {

FrozenColumns::FrozenColumns(DBGrid* grid, int count)
    : QObject(grid), m_grid(grid), m_view(new QTableView(grid)), m_count(count) {
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->verticalHeader()->hide();
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setVerticalScrollMode(grid->verticalScrollMode());
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setHighlightSections(false);

    connect(m_view->verticalScrollBar(), &QAbstractSlider::valueChanged, grid->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(grid->verticalScrollBar(), &QAbstractSlider::valueChanged, m_view->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionClicked, grid, &DBGrid::titleClicked);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int size) {
                if (logical < m_count) m_grid->setColumnWidth(logical, size);
            });
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (logical < m_count && m_view->columnWidth(logical) != size) m_view->setColumnWidth(logical, size);
        updateGeometry();
    });
    connect(m_view, &QAbstractItemView::doubleClicked, grid, [this](const QModelIndex& index) {
        if (index.isValid() && m_grid->isReadOnly()) emit m_grid->rowDoubleClicked();
    });
    refresh();
}

void FrozenColumns::setCount(int count) {
    m_count = count;
    refresh();
}

int FrozenColumns::width() const {
    int w = 0;
    for (int c = 0; c < m_count && m_grid->model() && c < m_grid->model()->columnCount(); ++c)
        w += m_grid->columnWidth(c);
    return w;
}

void FrozenColumns::refresh() {
    if (m_view->model() != m_grid->model()) {
        m_view->setModel(m_grid->model());
        m_view->setSelectionModel(m_grid->selectionModel());
    }
    m_view->setItemDelegate(m_grid->itemDelegate());
    m_view->setFont(m_grid->font());
    m_view->horizontalHeader()->setFont(m_grid->horizontalHeader()->font());
    m_view->setStyleSheet(m_grid->styleSheet());
    m_view->horizontalHeader()->setStyleSheet(m_grid->horizontalHeader()->styleSheet());
    m_view->setPalette(m_grid->palette());
    m_view->setAlternatingRowColors(m_grid->alternatingRowColors());
    m_view->setSelectionBehavior(m_grid->selectionBehavior());
    m_view->setSelectionMode(m_grid->selectionMode());
    m_view->setEditTriggers(m_grid->editTriggers());
    m_view->setShowGrid(m_grid->showGrid());
    m_view->verticalHeader()->setDefaultSectionSize(m_grid->verticalHeader()->defaultSectionSize());
    m_view->verticalHeader()->setMinimumSectionSize(m_grid->verticalHeader()->minimumSectionSize());
    m_view->horizontalHeader()->setDefaultAlignment(m_grid->horizontalHeader()->defaultAlignment());
    m_view->horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
    const int columns = m_grid->model() ? m_grid->model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c) {
        m_view->setColumnHidden(c, c >= m_count);
        if (c < m_count) m_view->setColumnWidth(c, m_grid->columnWidth(c));
    }
    m_view->setVisible(m_count > 0 && columns > m_count);
    m_view->verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value());
    updateGeometry();
}

void FrozenColumns::updateGeometry() {
    const int f = m_grid->frameWidth();
    m_view->horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
    m_view->setGeometry(m_grid->verticalHeader()->width() + f, f, width(),
                        m_grid->viewport()->height() + m_grid->horizontalHeader()->height());
}

} // namespace dv
