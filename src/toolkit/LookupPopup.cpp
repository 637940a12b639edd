#include "LookupPopup.h"
#include "DBGrid.h"
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace dv {

LookupPopup::LookupPopup(QWidget* owner)
    : QFrame(owner, Qt::Popup), m_owner(owner), m_grid(new DBGrid(this)) {
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_grid);
    m_grid->setReadOnly(true);
    m_grid->setRowSelect(true);
    m_grid->setTitleLines(1);
    m_grid->horizontalHeader()->setSectionsMovable(false);
    m_grid->setFocusPolicy(Qt::StrongFocus);
    m_grid->installEventFilter(this);
    connect(m_grid, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            hide();
            emit chosen();
        }
    });
}

void LookupPopup::setSource(DataSource* source, const QList<GridColumn>& columns) {
    if (m_grid->dataSource() != source) m_grid->setDataSource(source);
    m_grid->setColumns(columns);
}

void LookupPopup::popup(QWidget* below) {
    int width = m_grid->verticalHeader()->width() + m_grid->verticalScrollBar()->sizeHint().width() + 4;
    for (int c = 0; c < m_grid->model()->columnCount(); ++c)
        width += m_grid->columnWidth(c);
    width = qMax(width, below->width());
    const int rows = qBound(3, m_grid->model()->rowCount(), 12);
    const int height =
        m_grid->horizontalHeader()->height() + rows * m_grid->verticalHeader()->defaultSectionSize() + 6;
    resize(width, height);
    QPoint pos = below->mapToGlobal(QPoint(0, below->height()));
    if (QScreen* screen = below->screen()) {
        const QRect area = screen->availableGeometry();
        if (pos.y() + height > area.bottom()) pos.setY(below->mapToGlobal(QPoint(0, 0)).y() - height);
        if (pos.x() + width > area.right()) pos.setX(qMax(area.left(), area.right() - width));
    }
    move(pos);
    show();
    m_grid->setFocus();
    if (m_grid->currentIndex().isValid())
        m_grid->scrollTo(m_grid->currentIndex(), QAbstractItemView::PositionAtCenter);
}

bool LookupPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_grid || event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
    auto* ke = static_cast<QKeyEvent*>(event);
    switch (ke->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return false; // the grid moves the lookup dataset
    case Qt::Key_Return:
    case Qt::Key_Enter:
        hide();
        emit chosen();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        hide();
        emit tabbed();
        // The box gets the focus back and the key, so Tab goes on from it.
        QPointer<QWidget> owner = m_owner;
        if (owner && !owner->hasFocus()) owner->setFocus(Qt::PopupFocusReason);
        if (owner) {
            QKeyEvent tab(QEvent::KeyPress, ke->key(), ke->modifiers(), ke->text());
            QApplication::sendEvent(owner, &tab);
        }
        return true;
    }
    case Qt::Key_Escape:
        hide();
        emit cancelled();
        return true;
    default:
        // Typing goes on in the box.
        QApplication::sendEvent(m_owner, event);
        return true;
    }
}

} // namespace dv
