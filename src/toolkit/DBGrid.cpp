#include "DBGrid.h"
#include "Colors.h"
#include "FrozenColumns.h"
#include "GridDelegate.h"
#include "LookupTitles.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScrollBar>

namespace dv {

namespace {
QFont gridFont() {
    // Verdana where it is installed; its metric twin elsewhere.
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("Verdana"),
                                   {QStringLiteral("DejaVu Sans"), QStringLiteral("Bitstream Vera Sans")});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont f(QStringLiteral("Verdana"));
    f.setPointSize(8);
    return f;
}

constexpr int cellPadding = 8; // pixels around a column's characters

// A header whose thickness is fixed (the titles' height, the row marker's width)
// answers its size hint without measuring its sections: Qt measures up to two
// hundred of them, through the style sheet, at every reset of a long list.
class FixedHeader : public QHeaderView {
public:
    using QHeaderView::QHeaderView;
    QSize sizeHint() const override {
        if (orientation() == Qt::Horizontal && minimumHeight() == maximumHeight())
            return QSize(length(), minimumHeight());
        if (orientation() == Qt::Vertical && minimumWidth() == maximumWidth())
            return QSize(minimumWidth(), length());
        return QHeaderView::sizeHint();
    }
};
} // namespace

DBGrid::DBGrid(QWidget* parent)
    : QTableView(parent), m_delegate(new GridDelegate(this)),
      m_titleColor(colorFromNumber(colors::gridTitle)),
      m_alternateColor(colorFromNumber(colors::gridAlternateRow)) {
    setHorizontalHeader(new FixedHeader(Qt::Horizontal, this));
    setVerticalHeader(new FixedHeader(Qt::Vertical, this));
    setFont(gridFont());
    horizontalHeader()->setFont(gridFont());
    setItemDelegate(m_delegate);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* titles = horizontalHeader();
    titles->setSectionsClickable(true);
    titles->setSectionsMovable(true);
    titles->setHighlightSections(false);
    titles->setStretchLastSection(false);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setDefaultAlignment(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap));
    titles->setMinimumSectionSize(16);
    connect(titles, &QHeaderView::sectionClicked, this, &DBGrid::titleClicked);
    connect(titles, &QHeaderView::sectionMoved, this, &DBGrid::sectionMoved);
    connect(titles, &QHeaderView::sectionResized, this, &DBGrid::sectionResized);

    QHeaderView* marker = verticalHeader();
    marker->setSectionResizeMode(QHeaderView::Fixed);
    marker->setSectionsClickable(false);
    marker->setHighlightSections(false);
    marker->setFixedWidth(14);

    applyLook();
    applyEditTriggers();
}

DBGrid::~DBGrid() = default;

void DBGrid::setDataSource(DataSource* source) {
    if (m_source == source && m_model) return;
    m_source = source;
    GridModel* old = m_model;
    m_model = new GridModel(source, this);
    m_model->setTitleFont(horizontalHeader()->font());
    m_model->setReadOnly(m_readOnly);
    setModel(m_model);
    delete old;
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::modelReset);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DBGrid::syncCurrent);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DBGrid::syncCurrent);
    if (source) {
        connect(source, &DataSource::dataChanged, this, [this](Field* f) {
            if (!f) syncCurrent();
        });
        connect(source, &DataSource::stateChanged, this, &DBGrid::syncCurrent);
    }
    modelReset();
}

DataSource* DBGrid::dataSource() const {
    return m_source;
}

Dataset* DBGrid::dataset() const {
    return m_source ? m_source->dataset() : nullptr;
}

// ---- columns ----

int DBGrid::charWidth() const {
    // A character of width is a digit's width, as the system's grids count it.
    return qMax(1, fontMetrics().horizontalAdvance(QLatin1Char('0')));
}

QList<GridColumn> DBGrid::columns() const {
    QList<GridColumn> list;
    if (!m_model) return list;
    QHeaderView* h = horizontalHeader();
    for (int v = 0; v < m_model->columnCount(); ++v) {
        const int c = h->logicalIndex(v);
        GridColumn col = m_model->columnAt(c);
        col.title = m_model->titleAt(c);
        col.width = qMax(1, qRound(double(columnWidth(c) - cellPadding) / charWidth()));
        list << col;
    }
    return list;
}

void DBGrid::setColumns(const QList<GridColumn>& columns) {
    if (!m_model) return;
    m_model->setColumns(columns);
}

QList<GridColumn> DBGrid::defaultColumns() const {
    return m_model ? m_model->defaultColumns() : QList<GridColumn>();
}

QStringList DBGrid::shownFields() const {
    QStringList list;
    for (const GridColumn& c : columns())
        list << c.fieldName;
    return list;
}

bool DBGrid::isFieldShown(const QString& fieldName) const {
    return m_model && m_model->columnOf(fieldName) >= 0;
}

void DBGrid::setFieldShown(const QString& fieldName, bool shown) {
    if (!m_model || isFieldShown(fieldName) == shown) return;
    QList<GridColumn> list = m_model->columns();
    if (shown) {
        bool listed = false;
        for (const GridColumn& c : std::as_const(list))
            listed = listed || c.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0;
        if (!listed) list.append({fieldName, QString(), 0});
    } else {
        list.removeIf(
            [&](const GridColumn& c) { return c.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0; });
    }
    if (list.isEmpty()) list.append({QStringLiteral(" "), QString(), 0}); // none shown, not "all"
    m_model->setColumns(list);
}

QString DBGrid::fieldTitle(const QString& fieldName) const {
    return m_model ? m_model->titleAt(m_model->columnOf(fieldName)) : QString();
}

void DBGrid::setFieldTitle(const QString& fieldName, const QString& title) {
    if (m_model) m_model->setTitle(fieldName, title);
}

int DBGrid::fieldWidth(const QString& fieldName) const {
    const int c = m_model ? m_model->columnOf(fieldName) : -1;
    return c < 0 ? 0 : qMax(1, qRound(double(columnWidth(c) - cellPadding) / charWidth()));
}

void DBGrid::setFieldWidth(const QString& fieldName, int chars) {
    if (!m_model) return;
    m_model->setWidth(fieldName, chars);
    applyWidths();
}

Field* DBGrid::fieldAt(int column) const {
    return m_model ? m_model->fieldAt(column) : nullptr;
}

void DBGrid::applyWidths() {
    if (!m_model) return;
    m_applyingWidths = true;
    const QFontMetrics titles(horizontalHeader()->font());
    for (int c = 0; c < m_model->columnCount(); ++c) {
        int px = m_model->widthAt(c) * charWidth() + cellPadding;
        // A column of the field's own width is at least as wide as its title (and sort arrow).
        if (m_model->columnAt(c).width == 0)
            px = qMax(px, titles.horizontalAdvance(m_model->titleAt(c)) + cellPadding + 18);
        setColumnWidth(c, px);
    }
    m_applyingWidths = false;
    if (m_frozen) m_frozen->refresh();
}

void DBGrid::sectionResized(int logical, int, int newSize) {
    if (m_applyingWidths || !m_model) return;
    if (Field* f = m_model->fieldAt(logical))
        m_model->setWidth(f->fieldName(), qMax(1, qRound(double(newSize - cellPadding) / charWidth())));
}

void DBGrid::sectionMoved(int, int oldVisual, int newVisual) {
    // The model takes the new order, so that columns() and exports read it plainly.
    QHeaderView* h = horizontalHeader();
    h->blockSignals(true);
    h->moveSection(newVisual, oldVisual);
    h->blockSignals(false);
    if (m_model && oldVisual >= m_fixedCount && newVisual >= m_fixedCount) {
        QList<GridColumn> list = columns();
        list.move(oldVisual, newVisual);
        m_model->setColumns(list);
    }
}

void DBGrid::modelReset() {
    applyWidths();
    if (m_frozen) m_frozen->refresh();
    syncCurrent();
}

// ---- current row ----

void DBGrid::syncCurrent() {
    Dataset* ds = dataset();
    if (!m_model || !ds || m_syncing) return;
    const int row = ds->isActive() && !ds->controlsDisabled() ? ds->currentRow() : -1;
    m_model->setCurrentRow(row);
    if (row < 0 || row >= m_model->rowCount()) return;
    const QModelIndex now = currentIndex();
    if (now.isValid() && now.row() == row) return;
    m_syncing = true;
    const int column = now.isValid() ? now.column() : qMax(0, horizontalHeader()->logicalIndex(0));
    setCurrentIndex(m_model->index(row, column));
    m_syncing = false;
}

void DBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    Dataset* ds = dataset();
    if (m_syncing || !ds || !ds->isActive() || !current.isValid()) return;
    if (current.row() == ds->currentRow()) return;
    m_syncing = true;
    try {
        ds->moveTo(current.row());
    } catch (...) {
        // The dataset stayed where it was (a pending row could not be posted).
        m_syncing = false;
        syncCurrent();
        throw;
    }
    m_syncing = false;
    if (m_model) m_model->setCurrentRow(ds->currentRow());
}

// ---- look ----

void DBGrid::applyLook() {
    const QFontMetrics fm(font());
    const int row = qMax(qRound(fm.height() * m_rowPercent / 100.0), m_pictureHeight + 2);
    verticalHeader()->setMinimumSectionSize(qMin(row, 12));
    verticalHeader()->setDefaultSectionSize(row);
    const QFontMetrics tm(horizontalHeader()->font());
    horizontalHeader()->setFixedHeight(tm.lineSpacing() * m_titleLines + 8);

    const QString title = m_titleColor.name();
    const QString line = QColor(0xC9, 0xC0, 0xB7).name();
    // A style sheet set again, even unchanged, polishes the grid and its headers anew.
    const auto restyle = [](QWidget* w, const QString& sheet) {
        if (w->styleSheet() != sheet) w->setStyleSheet(sheet);
    };
    restyle(this, QStringLiteral("QTableView { gridline-color: #DCD6D0; alternate-background-color: %1; }")
                      .arg(m_alternateColor.name()));
    const QString sections =
        QStringLiteral("QHeaderView::section { background-color: %1; color: #2A2521; padding: 2px 4px;"
                       " border: none; border-right: 1px solid %2; border-bottom: 1px solid %2; }"
                       "QHeaderView::section:pressed { background-color: %3; }")
            .arg(title, line, m_titleColor.darker(110).name());
    restyle(horizontalHeader(), sections);
    restyle(verticalHeader(), sections);
    QPalette p = palette();
    p.setColor(QPalette::AlternateBase, m_alternateColor);
    setPalette(p);
    if (m_frozen) m_frozen->refresh();
}

void DBGrid::setTitleColor(const QColor& color) {
    if (!color.isValid()) return;
    m_titleColor = color;
    applyLook();
}

void DBGrid::setAlternateRowColor(const QColor& color) {
    if (!color.isValid()) return;
    m_alternateColor = color;
    applyLook();
}

void DBGrid::setTitleLines(int lines) {
    m_titleLines = qBound(1, lines, 4);
    applyLook();
}

void DBGrid::setRowHeightPercent(int percent) {
    m_rowPercent = qBound(80, percent, 400);
    applyLook();
}

void DBGrid::setFixedColumns(int count) {
    m_fixedCount = qMax(0, count);
    if (!m_frozen && m_fixedCount > 0) m_frozen = new FrozenColumns(this, m_fixedCount);
    if (m_frozen) m_frozen->setCount(m_fixedCount);
}

void DBGrid::setCheckBoxField(const QString& fieldName, bool on) {
    if (m_model) m_model->setCheckBoxField(fieldName, on);
}

void DBGrid::setPictureField(const QString& fieldName, QSize size) {
    if (!m_model) return;
    m_model->setPictureField(fieldName, size);
    m_pictureHeight = qMax(m_pictureHeight, size.height());
    applyLook();
}

void DBGrid::setColumnLookup(const QString& fieldName, DataSource* lookup, const QString& keyField,
                             const QStringList& displayFields, const QList<int>& widths,
                             const QStringList& titles) {
    const QString key = fieldName.toLower();
    m_lookups.insert(key, {lookup, keyField, displayFields, widths, titles, QString(), QSize()});
    // Titles given in code are the screen's texts: the language file may replace them.
    if (!titles.isEmpty())
        LookupTitles::declare(this, fieldName, titles, [this, key](const QStringList& translated) {
            if (auto it = m_lookups.find(key); it != m_lookups.end()) it->titles = translated;
        });
}

void DBGrid::setColumnPicker(const QString& fieldName, DataSource* lookup, const QString& keyField,
                             const QString& pictureField, QSize size, const QStringList& displayFields) {
    m_lookups.insert(fieldName.toLower(), {lookup, keyField, displayFields, {}, {}, pictureField, size});
    m_pictureHeight = qMax(m_pictureHeight, size.height());
    applyLook();
}

void DBGrid::clearColumnLookup(const QString& fieldName) {
    m_lookups.remove(fieldName.toLower());
}

const ColumnLookup* DBGrid::columnLookup(const QString& fieldName) const {
    auto it = m_lookups.constFind(fieldName.toLower());
    return it != m_lookups.constEnd() && it->source ? &*it : nullptr;
}

void DBGrid::setSortIndicator(const QString& fieldName, bool ascending) {
    if (m_model) m_model->setSortIndicator(fieldName, ascending);
}

void DBGrid::clearSortIndicator() {
    if (m_model) m_model->clearSortIndicator();
}

void DBGrid::setCellColors(CellColorHandler handler) {
    if (m_model) m_model->setCellColors(std::move(handler));
    viewport()->update();
}

void DBGrid::refreshTitles() {
    if (m_model) m_model->refreshTitles();
}

void DBGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        horizontalHeader()->setFont(font());
        if (m_model) m_model->setTitleFont(font());
        applyLook();
        applyWidths();
    }
}

// The selected row is drawn quieter while the keyboard is elsewhere: both views of
// the grid are drawn again when it comes or goes.
void DBGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    redrawViews();
}

void DBGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    redrawViews();
}

void DBGrid::redrawViews() {
    viewport()->update();
    if (m_frozen) m_frozen->view()->viewport()->update();
}

// ---- behaviour ----

void DBGrid::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (m_model) m_model->setReadOnly(readOnly);
    applyEditTriggers();
}

void DBGrid::setRowSelect(bool on) {
    m_rowSelect = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (m_frozen) m_frozen->refresh();
}

void DBGrid::applyEditTriggers() {
    setEditTriggers(m_readOnly ? QAbstractItemView::NoEditTriggers
                               : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                     QAbstractItemView::AnyKeyPressed);
    if (m_frozen) m_frozen->refresh();
}

bool DBGrid::commitOpenCell() {
    if (state() != EditingState) return false;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) return false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool DBGrid::editable() const {
    Dataset* ds = dataset();
    return !m_readOnly && ds && ds->isActive() && !ds->isReadOnly();
}

void DBGrid::titleClicked(int section) {
    if (Field* f = fieldAt(section)) emit titleButtonClicked(f->fieldName());
}

void DBGrid::appendRow() {
    Dataset* ds = dataset();
    if (ds->state() == DatasetState::Insert && !ds->isModified()) return;
    ds->append();
}

void DBGrid::deleteRow() {
    Dataset* ds = dataset();
    if (ds->isEmpty()) return;
    if (m_confirmDelete && !services().dialogs().confirmation(toolkitText(ToolkitText::DeleteRecordQuestion)))
        return;
    if (ds->state() == DatasetState::Insert)
        ds->cancel();
    else
        ds->deleteRecord();
}

bool DBGrid::clearLookupCell() {
    Field* f = fieldAt(currentIndex().column());
    Dataset* ds = dataset();
    if (!f || !f->isLookup() || !ds || ds->isEmpty()) return false;
    Field* key = ds->findField(f->keyFields().section(QLatin1Char(';'), 0, 0).trimmed());
    if (!key || key->isReadOnly()) return false;
    if (!ds->isEditing()) ds->edit();
    key->clear();
    return true;
}

void DBGrid::moveToNextColumn() {
    if (!m_model || m_model->columnCount() == 0) return;
    const QModelIndex now = currentIndex();
    QHeaderView* h = horizontalHeader();
    int visual = now.isValid() ? h->visualIndex(now.column()) + 1 : 0;
    int row = now.isValid() ? now.row() : 0;
    if (visual >= m_model->columnCount()) {
        visual = 0;
        if (row + 1 < m_model->rowCount())
            ++row;
        else if (editable() && m_allowInsert) {
            appendRow();
            row = dataset()->currentRow();
        }
    }
    setCurrentIndex(m_model->index(row, h->logicalIndex(visual)));
}

void DBGrid::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Tab switches the pages the grid sits on, not its cells.
    if (GridDelegate::isPageSwitchKey(event)) {
        event->ignore();
        return;
    }
    if (state() == QAbstractItemView::EditingState) {
        QTableView::keyPressEvent(event);
        return;
    }
    Dataset* ds = dataset();
    const int key = event->key();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_enterToNext) {
            moveToNextColumn();
            event->accept();
            return;
        }
        if (isSignalConnected(QMetaMethod::fromSignal(&DBGrid::returnPressed))) {
            emit returnPressed();
            event->accept();
            return;
        }
    } else if (key == Qt::Key_Escape) {
        if (editable() && ds->isEditing()) {
            ds->cancel();
            event->accept();
            return;
        }
        if (isSignalConnected(QMetaMethod::fromSignal(&DBGrid::escapePressed))) {
            emit escapePressed();
            event->accept();
            return;
        }
    } else if (key == Qt::Key_Insert && !ctrl) {
        if (editable() && m_allowInsert) appendRow();
        event->accept();
        return;
    } else if (key == Qt::Key_Delete && ctrl) {
        if (editable() && m_allowDelete) deleteRow();
        event->accept();
        return;
    } else if (key == Qt::Key_Delete) {
        if (editable() && clearLookupCell()) {
            event->accept();
            return;
        }
    } else if (key == Qt::Key_Down && editable() && m_allowInsert && ds->recordCount() > 0 &&
               ds->currentRow() == ds->recordCount() - 1) {
        appendRow();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// Tab walks the cells only where they can be typed into; a grid that only shows rows
// lets Tab and Shift+Tab go on to the screen's other controls, as a keyboard user expects.
bool DBGrid::focusNextPrevChild(bool next) {
    if (!editable()) return QWidget::focusNextPrevChild(next);
    return QTableView::focusNextPrevChild(next);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    QTableView::mouseDoubleClickEvent(event);
    if (at.isValid() && m_readOnly) emit rowDoubleClicked();
}

// ---- fixed columns ----

void DBGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    if (m_frozen) m_frozen->updateGeometry();
}

void DBGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (m_frozen) m_frozen->updateGeometry();
}

QModelIndex DBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = QTableView::moveCursor(action, modifiers);
    if (m_frozen && m_frozen->count() > 0 && action == MoveLeft && current.column() >= m_fixedCount) {
        const int x = visualRect(current).topLeft().x();
        const int fixed = m_frozen->width();
        if (x < fixed) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + x - fixed);
    }
    return current;
}

void DBGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!m_frozen || index.column() >= m_fixedCount) {
        QTableView::scrollTo(index, hint);
        return;
    }
    // A fixed column needs only the vertical move.
    if (!index.isValid()) return;
    const QRect r = visualRect(index);
    if (r.top() < 0 || r.bottom() > viewport()->height())
        QTableView::scrollTo(
            model()->index(index.row(), horizontalHeader()->logicalIndexAt(m_frozen->width() + 1)), hint);
}

} // namespace dv
