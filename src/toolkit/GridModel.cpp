#include "GridModel.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetModel.h"
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dv {

namespace {

QIcon arrowIcon(bool up) {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x42, 0x3B));
    QPainterPath path;
    if (up) {
        path.moveTo(1, 9);
        path.lineTo(6, 3);
        path.lineTo(11, 9);
    } else {
        path.moveTo(1, 3);
        path.lineTo(6, 9);
        path.lineTo(11, 3);
    }
    path.closeSubpath();
    p.drawPath(path);
    return QIcon(pm);
}

QIcon rowMarker() {
    QPixmap pm(8, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4A, 0x42, 0x3B));
    QPainterPath path;
    path.moveTo(1, 1);
    path.lineTo(7, 5);
    path.lineTo(1, 9);
    path.closeSubpath();
    p.drawPath(path);
    return QIcon(pm);
}

QVariant decodePicture(const QByteArray& bytes, QSize size) {
    QImage image;
    if (!image.loadFromData(bytes)) return QVariant();
    if (image.width() > size.width() || image.height() > size.height())
        image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

} // namespace

GridModel::GridModel(DataSource* source, QObject* parent)
    : QAbstractTableModel(parent), m_source(new DatasetModel(source, this)), m_ascending(arrowIcon(true)),
      m_descending(arrowIcon(false)), m_marker(rowMarker()) {
    connect(m_source, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        m_resetting = true;
        beginResetModel();
    });
    connect(m_source, &QAbstractItemModel::modelReset, this, &GridModel::sourceReset);
    connect(m_source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(m_source, &QAbstractItemModel::rowsInserted, this, [this] { endInsertRows(); });
    connect(m_source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                if (m_currentRow >= first) m_currentRow = -1;
                beginRemoveRows(QModelIndex(), first, last);
            });
    connect(m_source, &QAbstractItemModel::rowsRemoved, this, [this] { endRemoveRows(); });
    connect(m_source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& tl, const QModelIndex& br) {
                if (m_resetting || m_shown.isEmpty() || !tl.isValid()) return;
                emit dataChanged(index(tl.row(), 0), index(br.row(), columnCount() - 1));
            });
    connect(m_source, &QAbstractItemModel::headerDataChanged, this, [this](Qt::Orientation o, int, int) {
        if (o == Qt::Horizontal && !m_shown.isEmpty()) emit headerDataChanged(o, 0, columnCount() - 1);
    });
    remap();
}

GridModel::~GridModel() = default;

DataSource* GridModel::dataSource() const {
    return m_source->dataSource();
}

Dataset* GridModel::dataset() const {
    return m_source->dataset();
}

QList<GridColumn> GridModel::defaultColumns() const {
    QList<GridColumn> list;
    if (Dataset* ds = dataset())
        for (Field* f : ds->fields())
            if (f->isVisible()) list.append({f->fieldName(), QString(), 0});
    return list;
}

void GridModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    m_custom = !columns.isEmpty();
    m_columns = columns;
    remap();
    endResetModel();
}

void GridModel::remap() {
    if (!m_custom) {
        // Every visible field; titles and widths already given are kept.
        QList<GridColumn> fresh = defaultColumns();
        for (GridColumn& c : fresh)
            for (const GridColumn& old : std::as_const(m_columns))
                if (old.fieldName.compare(c.fieldName, Qt::CaseInsensitive) == 0) c = old;
        m_columns = fresh;
    }
    m_shown.clear();
    m_mapping.clear();
    Dataset* ds = dataset();
    for (int i = 0; i < m_columns.size(); ++i) {
        Field* f = ds ? ds->findField(m_columns[i].fieldName) : nullptr;
        const int source = f ? m_source->columnOf(f) : -1;
        if (source < 0 || m_mapping.contains(source)) continue;
        m_shown << i;
        m_mapping << source;
    }
}

void GridModel::sourceReset() {
    remap();
    m_currentRow = -1;
    m_resetting = false;
    endResetModel();
    applyCellKinds();
}

void GridModel::applyCellKinds() {
    Dataset* ds = dataset();
    if (!ds) return;
    const QStringList pending = m_pendingKinds;
    for (const QString& name : pending) {
        Field* f = ds->findField(name);
        if (!f) continue;
        m_pendingKinds.removeAll(name);
        if (m_checkFields.contains(name.toLower())) m_source->setCheckColumn(f, true);
        if (m_pictureFields.contains(name.toLower()))
            m_source->setPictureColumn(f, decodePicture, m_pictureFields.value(name.toLower()));
    }
}

Field* GridModel::fieldAt(int column) const {
    if (column < 0 || column >= m_mapping.size()) return nullptr;
    return m_source->fieldAt(m_mapping[column]);
}

GridColumn GridModel::columnAt(int column) const {
    if (column < 0 || column >= m_shown.size()) return GridColumn();
    GridColumn c = m_columns[m_shown[column]];
    if (Field* f = fieldAt(column)) c.fieldName = f->fieldName();
    return c;
}

int GridModel::columnOf(const QString& fieldName) const {
    for (int i = 0; i < m_shown.size(); ++i)
        if (m_columns[m_shown[i]].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString GridModel::titleAt(int column) const {
    if (column < 0 || column >= m_shown.size()) return QString();
    const GridColumn& c = m_columns[m_shown[column]];
    if (!c.title.isEmpty()) return c.title;
    Field* f = fieldAt(column);
    return f ? f->displayLabel() : c.fieldName;
}

int GridModel::widthAt(int column) const {
    if (column < 0 || column >= m_shown.size()) return 0;
    const GridColumn& c = m_columns[m_shown[column]];
    if (c.width > 0) return c.width;
    Field* f = fieldAt(column);
    return f ? f->displayWidth() : 10;
}

void GridModel::setTitle(const QString& fieldName, const QString& title) {
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].fieldName.compare(fieldName, Qt::CaseInsensitive) != 0) continue;
        m_columns[i].title = title;
        const int shown = columnOf(fieldName);
        if (shown >= 0) emit headerDataChanged(Qt::Horizontal, shown, shown);
    }
}

void GridModel::setWidth(const QString& fieldName, int chars) {
    for (GridColumn& c : m_columns)
        if (c.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) c.width = qMax(0, chars);
}

bool GridModel::moveColumnTo(int from, int to) {
    if (from < 0 || from >= m_shown.size() || to < 0 || to >= m_shown.size() || from == to) return false;
    beginMoveColumns(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    // The chosen list follows the shown order; columns not shown keep their places.
    QList<GridColumn> order;
    for (int i : std::as_const(m_shown))
        order << m_columns[i];
    order.move(from, to);
    QList<GridColumn> columns = m_columns;
    for (int k = 0; k < m_shown.size(); ++k)
        columns[m_shown[k]] = order[k];
    m_columns = columns;
    m_custom = true;
    m_mapping.move(from, to);
    endMoveColumns();
    return true;
}

void GridModel::setCheckBoxField(const QString& fieldName, bool on) {
    const QString key = fieldName.toLower();
    m_checkFields.removeAll(key);
    if (on) m_checkFields << key;
    Field* f = dataset() ? dataset()->findField(fieldName) : nullptr;
    if (f)
        m_source->setCheckColumn(f, on);
    else if (on && !m_pendingKinds.contains(key))
        m_pendingKinds << key;
}

bool GridModel::isCheckBoxField(const QString& fieldName) const {
    return m_checkFields.contains(fieldName.toLower());
}

void GridModel::setPictureField(const QString& fieldName, QSize size) {
    const QString key = fieldName.toLower();
    m_pictureFields.insert(key, size);
    Field* f = dataset() ? dataset()->findField(fieldName) : nullptr;
    if (f)
        m_source->setPictureColumn(f, decodePicture, size);
    else if (!m_pendingKinds.contains(key))
        m_pendingKinds << key;
}

bool GridModel::isPictureField(const QString& fieldName) const {
    return m_pictureFields.contains(fieldName.toLower());
}

void GridModel::setSortIndicator(const QString& fieldName, bool ascending) {
    const int before = columnOf(m_sortField);
    m_sortField = fieldName;
    m_sortAscending = ascending;
    const int after = columnOf(fieldName);
    if (before >= 0) emit headerDataChanged(Qt::Horizontal, before, before);
    if (after >= 0) emit headerDataChanged(Qt::Horizontal, after, after);
}

void GridModel::clearSortIndicator() {
    setSortIndicator(QString(), true);
}

void GridModel::setTitleFont(const QFont& font) {
    m_titleFont = font;
    if (!m_shown.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void GridModel::setReadOnly(bool readOnly) {
    if (m_readOnly == readOnly) return;
    m_readOnly = readOnly;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void GridModel::setCurrentRow(int row) {
    if (row == m_currentRow) return;
    const int before = m_currentRow;
    m_currentRow = row >= 0 && row < rowCount() ? row : -1;
    if (before >= 0 && before < rowCount()) emit headerDataChanged(Qt::Vertical, before, before);
    if (m_currentRow >= 0) emit headerDataChanged(Qt::Vertical, m_currentRow, m_currentRow);
}

void GridModel::refreshTitles() {
    if (!m_shown.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QModelIndex GridModel::sourceIndex(const QModelIndex& index) const {
    if (!index.isValid() || index.column() >= m_mapping.size()) return QModelIndex();
    return m_source->index(index.row(), m_mapping[index.column()]);
}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_source->rowCount();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_mapping.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    const QModelIndex s = sourceIndex(index);
    if (!s.isValid()) return QVariant();
    switch (role) {
    case Qt::BackgroundRole:
    case Qt::ForegroundRole: {
        if (!m_cellColors) return QVariant();
        CellColors colors;
        m_cellColors(index.row(), fieldAt(index.column()), colors);
        const QBrush& b = role == Qt::BackgroundRole ? colors.background : colors.foreground;
        return b.style() == Qt::NoBrush ? QVariant() : QVariant(b);
    }
    case Qt::DisplayRole: {
        // A cell shows the first line of a long text.
        QString text = m_source->data(s, role).toString();
        const qsizetype br = text.indexOf(QLatin1Char('\n'));
        if (br >= 0) text = text.left(br).trimmed() + QStringLiteral(" …");
        return text;
    }
    case Qt::ToolTipRole: {
        Field* f = fieldAt(index.column());
        if (!f || f->dataType() != FieldType::Memo) return QVariant();
        const QString text = m_source->data(s, Qt::DisplayRole).toString();
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    default:
        return m_source->data(s, role);
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (role == Qt::DecorationRole && section == m_currentRow) return m_marker;
        return QVariant();
    }
    if (section < 0 || section >= m_shown.size()) return QVariant();
    const bool sorted = !m_sortField.isEmpty() &&
                        m_columns[m_shown[section]].fieldName.compare(m_sortField, Qt::CaseInsensitive) == 0;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return titleAt(section);
    case Qt::FontRole: {
        if (!sorted) return QVariant();
        QFont f = m_titleFont;
        f.setUnderline(true);
        return f;
    }
    case Qt::DecorationRole:
        if (!sorted) return QVariant();
        return m_sortAscending ? m_ascending : m_descending;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter) | int(Qt::TextWordWrap);
    default:
        return QVariant();
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    const QModelIndex s = sourceIndex(index);
    if (!s.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = m_source->flags(s);
    if (m_readOnly) f &= ~(Qt::ItemIsEditable | Qt::ItemIsUserCheckable);
    // Lookup columns are edited through their key field.
    Field* field = fieldAt(index.column());
    Dataset* ds = dataset();
    if (!m_readOnly && field && field->isLookup() && ds && !ds->isReadOnly() && field->lookupDataset())
        f |= Qt::ItemIsEditable;
    return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (m_readOnly) return false;
    const QModelIndex s = sourceIndex(index);
    if (!s.isValid()) return false;
    return m_source->setData(s, value, role);
}

} // namespace dv
