#include "DatasetModel.h"
#include "DataSource.h"
#include "Dataset.h"

namespace dv {

DatasetModel::DatasetModel(DataSource* source, QObject* parent)
    : QAbstractTableModel(parent), m_source(source) {
    if (source) {
        connect(source, &DataSource::datasetReset, this, &DatasetModel::onReset);
        connect(source, &DataSource::rowInserted, this, &DatasetModel::onRowInserted);
        connect(source, &DataSource::rowAboutToBeRemoved, this, &DatasetModel::onRowAboutToBeRemoved);
        connect(source, &DataSource::rowRemoved, this, &DatasetModel::onRowRemoved);
        connect(source, &DataSource::rowChanged, this, &DatasetModel::onRowChanged);
        connect(source, &DataSource::dataChanged, this, &DatasetModel::onFieldChanged);
    }
    rebuild();
}

Dataset* DatasetModel::dataset() const {
    return m_source ? m_source->dataset() : nullptr;
}

int DatasetModel::columnOf(const Field* field) const {
    return int(m_columns.indexOf(const_cast<Field*>(field)));
}

void DatasetModel::setCheckColumn(const Field* field, bool on) {
    if (!field) return;
    if (on)
        m_checkFields.insert(field->fieldName().toLower());
    else
        m_checkFields.remove(field->fieldName().toLower());
    refreshColumnKinds();
    const int c = columnOf(field);
    if (c >= 0 && m_rows > 0) emit dataChanged(index(0, c), index(m_rows - 1, c));
}

void DatasetModel::setPictureColumn(const Field* field, PictureDecoder decoder, QSize size) {
    if (!field) return;
    if (decoder)
        m_pictureFields.insert(field->fieldName().toLower(), std::move(decoder));
    else
        m_pictureFields.remove(field->fieldName().toLower());
    refreshColumnKinds();
    m_pictureSize = size;
    m_pictures.clear();
    const int c = columnOf(field);
    if (c >= 0 && m_rows > 0) emit dataChanged(index(0, c), index(m_rows - 1, c));
}

void DatasetModel::rebuild() {
    m_columns.clear();
    m_rows = 0;
    Dataset* ds = dataset();
    if (!ds) return;
    for (Field* f : ds->fields())
        if (f->isVisible()) m_columns << f;
    m_rows = ds->isActive() ? ds->recordCount() : 0;
    refreshColumnKinds();
}

void DatasetModel::refreshColumnKinds() {
    m_columnKinds.clear();
    for (const Field* f : std::as_const(m_columns)) {
        const QString name = f->fieldName().toLower();
        m_columnKinds << quint8((m_checkFields.contains(name) ? CheckColumn : 0) |
                                (m_pictureFields.contains(name) ? PictureColumn : 0));
    }
}

void DatasetModel::onReset() {
    beginResetModel();
    m_pictures.clear();
    rebuild();
    endResetModel();
}

void DatasetModel::onRowInserted(int row) {
    Dataset* ds = dataset();
    if (!ds || row < 0 || row > m_rows || ds->recordCount() != m_rows + 1) {
        onReset();
        return;
    }
    m_pictures.clear();
    beginInsertRows(QModelIndex(), row, row);
    ++m_rows;
    endInsertRows();
}

void DatasetModel::onRowAboutToBeRemoved(int row) {
    Dataset* ds = dataset();
    if (!ds || row < 0 || row >= m_rows || ds->recordCount() != m_rows) return; // a reset follows
    m_pictures.clear();
    beginRemoveRows(QModelIndex(), row, row);
    m_removing = true;
}

void DatasetModel::onRowRemoved(int) {
    if (!m_removing) {
        onReset();
        return;
    }
    m_removing = false;
    --m_rows;
    endRemoveRows();
}

void DatasetModel::onRowChanged(int row) {
    if (row < 0 || row >= m_rows || m_columns.isEmpty()) return;
    for (Field* f : std::as_const(m_columns))
        m_pictures.remove(QString::number(row) + QLatin1Char(':') + f->fieldName());
    emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void DatasetModel::onFieldChanged(Field* field) {
    // Calculated and lookup columns may follow any field: the whole row is told.
    if (Dataset* ds = dataset(); field && ds) onRowChanged(ds->currentRow());
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    Dataset* ds = dataset();
    if (!ds || !ds->isActive() || !index.isValid() || index.row() >= m_rows ||
        index.row() >= ds->recordCount() || index.column() >= m_columns.size())
        return QVariant();
    Field* f = m_columns[index.column()];
    const bool check = m_columnKinds.value(index.column()) & CheckColumn;
    switch (role) {
    case Qt::DisplayRole:
        if (check) return QVariant();
        return ds->displayText(index.row(), f);
    case Qt::EditRole:
        return ds->value(index.row(), f);
    case Qt::CheckStateRole:
        if (!check) return QVariant();
        return ds->displayText(index.row(), f).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0
                   ? int(Qt::Checked)
                   : int(Qt::Unchecked);
    case Qt::TextAlignmentRole:
        return int(f->alignment());
    case Qt::DecorationRole: {
        if (!(m_columnKinds.value(index.column()) & PictureColumn)) return QVariant();
        const auto decoder = m_pictureFields.constFind(f->fieldName().toLower());
        if (decoder == m_pictureFields.constEnd() || ds->isNull(index.row(), f)) return QVariant();
        const QString key = QString::number(index.row()) + QLatin1Char(':') + f->fieldName();
        if (const QVariant* cached = m_pictures.object(key)) return *cached;
        const QVariant picture = (*decoder)(ds->value(index.row(), f).toByteArray(), m_pictureSize);
        m_pictures.insert(key, new QVariant(picture));
        return picture;
    }
    default:
        return QVariant();
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= m_columns.size()) return QVariant();
    if (role == Qt::DisplayRole) return m_columns[section]->displayLabel();
    if (role == Qt::TextAlignmentRole) return int(m_columns[section]->alignment());
    return QVariant();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || index.column() >= m_columns.size()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    Field* f = m_columns[index.column()];
    Dataset* ds = dataset();
    if (ds && !ds->isReadOnly() && f->isData() && !f->isReadOnly()) {
        flags |= Qt::ItemIsEditable;
        if (m_columnKinds.value(index.column()) & CheckColumn) flags |= Qt::ItemIsUserCheckable;
    }
    return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Dataset* ds = dataset();
    if (!ds || !ds->isActive() || !index.isValid() || index.row() >= ds->recordCount() ||
        index.column() >= m_columns.size())
        return false;
    Field* f = m_columns[index.column()];
    const bool check = m_columnKinds.value(index.column()) & CheckColumn;
    QVariant v = value;
    if (role == Qt::CheckStateRole) {
        if (!check) return false;
        v = QString(value.toInt() == int(Qt::Checked) ? QStringLiteral("S") : QStringLiteral("N"));
    } else if (role != Qt::EditRole) {
        return false;
    }
    ds->moveTo(index.row());
    if (!ds->isEditing()) ds->edit();
    f->setAsVariant(v);
    return true;
}

} // namespace dv
