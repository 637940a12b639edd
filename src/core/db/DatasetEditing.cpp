// Values, editing and posting of the dataset.
#include "DataSource.h"
#include "Dataset.h"
#include "DbErrors.h"
#include "ParamValues.h"
#include "SqlDialect.h"
#include <QRegularExpression>
#include <QScopeGuard>
#include "WallClock.h"

namespace dv {

namespace {

QString quoteName(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (plain.match(name).hasMatch()) return name;
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// The placeholder of a value in a statement we write.
QString placeholder(const QString& name, Param&) {
    return QLatin1Char(':') + name;
}

QString canonical(const QVariant& v) {
    if (!v.isValid()) return QStringLiteral("\x02");
    if (v.metaType() == QMetaType::fromType<Currency>()) return QString::number(v.value<Currency>().raw());
    switch (v.metaType().id()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return QString::number(
            RowStore::packDateTime(dt.date().toJulianDay(), dt.time().msecsSinceStartOfDay()));
    }
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 17);
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(v.toLongLong());
    default:
        return v.toString();
    }
}

constexpr int CalcCacheLimit = 4096;

} // namespace

// ---- reading ----

QVariant Dataset::cellValue(quint32 row, int col) const {
    if (m_store.isNull(row, col)) return QVariant();
    switch (m_bindings[size_t(col)].type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
        return int(m_store.intValue(row, col));
    case FieldType::LargeInt:
        return m_store.intValue(row, col);
    case FieldType::Currency:
        return QVariant::fromValue(Currency::fromRaw(m_store.intValue(row, col)));
    case FieldType::DateTime: {
        const qint64 p = m_store.intValue(row, col);
        return wallClock(QDate::fromJulianDay(RowStore::julianDayOf(p)),
                         QTime::fromMSecsSinceStartOfDay(RowStore::msecsOf(p)));
    }
    case FieldType::Float:
        return m_store.doubleValue(row, col);
    case FieldType::Blob:
        if (m_store.kind(col) == StoreKind::Bytes) return m_store.text(row, col).toByteArray();
        return QVariant();
    default:
        return QString::fromUtf8(m_store.text(row, col));
    }
}

QVariant Dataset::storedValue(quint32 row, const Field& f) const {
    const int col = f.storeColumn();
    if (col < 0) return QVariant();
    if (m_store.kind(col) == StoreKind::Presence) {
        if (m_store.isNull(row, col)) return QVariant();
        const QByteArray b = fetchBlob(row, f);
        return b.isNull() ? QVariant() : QVariant(b);
    }
    return cellValue(row, col);
}

bool Dataset::storedIsNull(quint32 row, const Field& f) const {
    return f.storeColumn() < 0 || m_store.isNull(row, f.storeColumn());
}

QVariant Dataset::readValue(const Field& f) const {
    requireActive();
    if (!hasActiveRow()) return QVariant();
    const quint32 row = activeRow();
    if (f.isCalculated()) return calculatedValue(row, f);
    if (f.isLookup()) return lookupFieldValue(f);
    const int col = f.storeColumn();
    if (isEditing() && row == m_editRow && col >= 0) {
        if (!m_loaded[size_t(col)]) {
            auto& self = const_cast<Dataset&>(*this);
            self.m_buffer[col] = storedValue(row, f);
            self.m_loaded[size_t(col)] = true;
        }
        return m_buffer[col];
    }
    return storedValue(row, f);
}

bool Dataset::readIsNull(const Field& f) const {
    requireActive();
    if (!hasActiveRow()) return true;
    if (!f.isData()) return !readValue(f).isValid();
    const quint32 row = activeRow();
    const int col = f.storeColumn();
    if (isEditing() && row == m_editRow && col >= 0 && m_loaded[size_t(col)]) return !m_buffer[col].isValid();
    return storedIsNull(row, f);
}

QByteArray Dataset::fetchBlob(quint32 row, const Field& f) const {
    const int col = f.storeColumn();
    if (m_blobRow == qint64(row)) {
        const auto it = m_blobCache.constFind(col);
        if (it != m_blobCache.constEnd()) return *it;
    }
    if (m_table.isEmpty() || m_keyStore.empty() || !m_connection) return QByteArray();
    QStringList where;
    const Params params = keyParams(row, &where);
    const QString sql =
        QStringLiteral("select %1 from %2 where %3")
            .arg(quoteName(f.column().baseColumn), quoteName(m_table), where.join(QStringLiteral(" and ")));
    QByteArray bytes;
    std::unique_ptr<Cursor> c = m_connection->query(sql, params);
    if (c->next() && !c->isNull(0)) bytes = c->blob(0);
    if (bytes.isNull()) bytes = QByteArray(""); // present but empty
    if (m_blobRow != qint64(row)) {
        m_blobCache.clear();
        m_blobRow = row;
    }
    m_blobCache.insert(col, bytes);
    return bytes;
}

QVariant Dataset::calculatedValue(quint32 row, const Field& f) const {
    auto it = m_calcCache.find(row);
    if (it == m_calcCache.end()) {
        if (m_calcCache.size() >= CalcCacheLimit) m_calcCache.clear();
        it = m_calcCache.insert(row, QList<QVariant>(m_fields.size()));
        if (OnCalcFields && !m_calculating) {
            const qint64 savedRow = m_readRow;
            m_readRow = row;
            m_calculating = true;
            try {
                OnCalcFields(const_cast<Dataset&>(*this));
            } catch (...) {
                m_calculating = false;
                m_readRow = savedRow;
                m_calcCache.remove(row);
                throw;
            }
            m_calculating = false;
            m_readRow = savedRow;
        }
        it = m_calcCache.find(row);
    }
    return it->value(f.index());
}

QVariant Dataset::lookupFieldValue(const Field& f) const {
    Dataset* ld = f.lookupDataset();
    if (!ld || !ld->isActive()) return QVariant();
    QVariantList values;
    for (Field* k : fieldList(f.keyFields())) {
        const QVariant v = readValue(*k);
        if (!v.isValid()) return QVariant();
        values << v;
    }
    const auto row = ld->findByIndex(ld->fieldList(f.lookupKeyFields()), values);
    if (!row) return QVariant();
    Field* rf = ld->fieldByName(f.lookupResultField());
    const qint64 saved = ld->m_readRow;
    ld->m_readRow = *row;
    QVariant v;
    try {
        v = ld->readValue(*rf);
    } catch (...) {
        ld->m_readRow = saved;
        throw;
    }
    ld->m_readRow = saved;
    return f.convert(v);
}

// ---- key indexes (locate, lookup fields) ----

QString Dataset::keyText(const QList<Field*>& fields, const QVariantList& values) const {
    QString key;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) key += QLatin1Char('\x1f');
        key += canonical(fields[i]->convert(values.value(i)));
    }
    return key;
}

QString Dataset::rowKeyText(quint32 row, const QList<Field*>& fields) const {
    QString key;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) key += QLatin1Char('\x1f');
        key += canonical(storedValue(row, *fields[i]));
    }
    return key;
}

std::optional<quint32> Dataset::findByIndex(const QList<Field*>& fields, const QVariantList& values) const {
    if (!isActive() || m_view.empty()) return std::nullopt;
    QString indexName;
    for (Field* f : fields) {
        if (!f->isData() || f->storeColumn() < 0 || m_store.kind(f->storeColumn()) == StoreKind::Presence)
            throw DatabaseError(QStringLiteral("Field '%1' cannot be used as a key").arg(f->fieldName()));
        indexName += f->fieldName().toLower() + QLatin1Char(';');
    }
    KeyIndex& index = m_keyIndexes[indexName];
    const QString key = keyText(fields, values);
    // The first look-up after the rows changed (a screen finding its row again after a
    // refresh) walks them: building the index costs more than one walk, and pays only
    // when another look-up follows.
    if ((index.generation != m_dataGeneration || index.rows.isEmpty()) &&
        index.walkedGeneration != m_dataGeneration) {
        index.walkedGeneration = m_dataGeneration;
        for (size_t i = 0; i < m_view.size(); ++i)
            if (rowKeyText(m_view[i], fields) == key) return m_view[i];
        return std::nullopt;
    }
    if (index.generation != m_dataGeneration || index.rows.isEmpty()) {
        index.rows.clear();
        index.rows.reserve(qsizetype(m_view.size()));
        // insert() replaces: walking backwards leaves the first row in order.
        for (size_t i = m_view.size(); i-- > 0;)
            index.rows.insert(rowKeyText(m_view[i], fields), m_view[i]);
        index.generation = m_dataGeneration;
    }
    const auto it = index.rows.constFind(key);
    if (it == index.rows.constEnd()) return std::nullopt;
    return *it;
}

// ---- writing ----

void Dataset::writeValue(Field& f, const QVariant& typed) {
    requireActive();
    if (f.isCalculated() && m_calculating) {
        auto it = m_calcCache.find(activeRow());
        if (it != m_calcCache.end() && f.index() >= 0 && f.index() < it->size()) (*it)[f.index()] = typed;
        return;
    }
    if (!f.isData())
        throw DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.displayLabel()));
    if (m_calculating)
        throw DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.displayLabel()));
    if (!isEditing()) throw DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    if (f.isReadOnly())
        throw DatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f.displayLabel()));
    const int col = f.storeColumn();
    m_buffer[col] = typed;
    m_changed[size_t(col)] = true;
    m_loaded[size_t(col)] = true;
    m_modified = true;
    m_calcCache.remove(m_editRow);
    if (f.OnChange) f.OnChange(f);
    notifyFieldChanged(&f);
}

void Dataset::startEditing(quint32 row) {
    const int n = m_store.columnCount();
    m_buffer = QList<QVariant>(n);
    m_changed.assign(size_t(n), false);
    m_loaded.assign(size_t(n), false);
    for (int c = 0; c < n; ++c) {
        if (m_store.kind(c) == StoreKind::Presence) continue; // read on demand
        m_buffer[c] = cellValue(row, c);
        m_loaded[size_t(c)] = true;
    }
    m_editRow = row;
    m_modified = false;
}

void Dataset::storeBuffer(quint32 row) {
    const bool all = m_state == DatasetState::Insert;
    for (int c = 0; c < m_store.columnCount(); ++c) {
        if (!m_changed[size_t(c)] && !(all && m_loaded[size_t(c)])) continue;
        const QVariant& v = m_buffer[c];
        if (!v.isValid()) {
            m_store.setNull(row, c);
            if (m_blobRow == qint64(row)) m_blobCache.remove(c);
            continue;
        }
        switch (m_bindings[size_t(c)].type) {
        case FieldType::Currency:
            m_store.setInt(row, c, v.value<Currency>().raw());
            break;
        case FieldType::DateTime: {
            const QDateTime dt = v.toDateTime();
            m_store.setInt(row, c,
                           RowStore::packDateTime(dt.date().toJulianDay(), dt.time().msecsSinceStartOfDay()));
            break;
        }
        case FieldType::Float:
            m_store.setDouble(row, c, v.toDouble());
            break;
        case FieldType::Integer:
        case FieldType::AutoInc:
        case FieldType::LargeInt:
            m_store.setInt(row, c, v.toLongLong());
            break;
        case FieldType::Blob:
            if (m_store.kind(c) == StoreKind::Presence) {
                m_store.setPresent(row, c, true);
                if (m_blobRow != qint64(row)) {
                    m_blobCache.clear();
                    m_blobRow = row;
                }
                m_blobCache.insert(c, v.toByteArray());
            } else {
                m_store.setText(row, c, v.toByteArray());
            }
            break;
        default:
            m_store.setText(row, c, v.toString().toUtf8());
            break;
        }
    }
}

void Dataset::invalidateRow(quint32 row) {
    m_calcCache.remove(row);
    ++m_dataGeneration;
    m_viewSorted = false;
}

void Dataset::inheritMasterValues() {
    if (!m_master || !m_master->dataset()) return;
    Dataset* master = m_master->dataset();
    if (!master->isActive() || !master->hasActiveRow()) return;
    for (const QString& name : paramNames()) {
        Field* mf = master->findField(name);
        Field* df = findField(name);
        if (!mf || !df || !df->isData() || df->storeColumn() < 0) continue;
        m_buffer[df->storeColumn()] = df->convert(mf->asVariant());
        m_changed[size_t(df->storeColumn())] = true;
        m_loaded[size_t(df->storeColumn())] = true;
    }
}

void Dataset::append() {
    requireActive();
    checkBrowseMode();
    if (isReadOnly()) throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeInsert);
    fire(BeforeScroll);
    const int previous = m_cur;
    const quint32 row = m_store.addNullRow();
    m_deleted.push_back(false);
    m_view.push_back(row);
    m_viewSorted = false;
    startEditing(row);
    m_state = DatasetState::Insert;
    setCurrent(recordCount() - 1);
    m_bof = m_eof = false;
    inheritMasterValues();
    ++m_dataGeneration;
    notifyRowInserted(m_cur);
    try {
        fire(OnNewRecord);
    } catch (...) {
        const int at = m_cur;
        m_deleted[row] = true;
        notifyRowAboutToBeRemoved(at);
        m_view.erase(size_t(at));
        m_state = DatasetState::Browse;
        m_buffer.clear();
        m_cur = previous;
        notifyRowRemoved(at);
        notifyScrolled();
        throw;
    }
    m_modified = false;
    notifyScrolled();
    notifyState();
    fire(AfterInsert);
    fire(AfterScroll);
}

void Dataset::edit() {
    requireActive();
    if (isEditing()) return;
    if (m_view.empty()) {
        append();
        return;
    }
    if (isReadOnly()) throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeEdit);
    startEditing(physical(m_cur));
    m_state = DatasetState::Edit;
    notifyState();
    fire(AfterEdit);
}

void Dataset::checkRequired() const {
    for (Field* f : m_fields) {
        if (!f->isRequired() || !f->isData() || f->storeColumn() < 0) continue;
        if (m_state == DatasetState::Insert && f->dataType() == FieldType::AutoInc) continue;
        const int col = f->storeColumn();
        const bool null = m_loaded[size_t(col)] ? !m_buffer[col].isValid() : m_store.isNull(m_editRow, col);
        if (null)
            throw DatabaseError(
                QStringLiteral("Field '%1' cannot contain a null value").arg(f->displayLabel()));
    }
}

Params Dataset::keyParams(quint32 row, QStringList* where) const {
    Params params;
    for (size_t k = 0; k < m_keyStore.size(); ++k) {
        const int col = m_keyStore[k];
        const QString column = quoteName(m_keyColumns[qsizetype(k)]);
        const QVariant v = cellValue(row, col);
        if (!v.isValid()) {
            *where << column + QStringLiteral(" is null");
            continue;
        }
        const QString name = QStringLiteral("dv_k%1").arg(k);
        Param p{name, paramTypeOf(m_bindings[size_t(col)].type), v};
        *where << column + QStringLiteral(" = ") + placeholder(name, p);
        params << p;
    }
    return params;
}

void Dataset::postInsert() {
    QStringList columns, values;
    Params params;
    for (size_t c = 0; c < m_bindings.size(); ++c) {
        const Binding& b = m_bindings[c];
        if (!b.field || b.column.baseColumn.isEmpty() ||
            b.column.baseTable.compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        if (!m_loaded[c] || !m_buffer[qsizetype(c)].isValid()) continue; // the table's default applies
        const QString name = QStringLiteral("dv_v%1").arg(c);
        Param p{name, paramTypeOf(b.type), m_buffer[qsizetype(c)]};
        columns << quoteName(b.column.baseColumn);
        values << placeholder(name, p);
        params << p;
    }
    const QString sql = columns.isEmpty()
                            ? QStringLiteral("insert into %1 default values").arg(quoteName(m_table))
                            : QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(quoteName(m_table), columns.join(QStringLiteral(", ")),
                                       values.join(QStringLiteral(", ")));
    if (m_autoIncStore >= 0 && !m_buffer[m_autoIncStore].isValid()) {
        const qint64 key =
            m_connection->insert(sql, params, m_bindings[size_t(m_autoIncStore)].column.baseColumn);
        m_buffer[m_autoIncStore] = m_bindings[size_t(m_autoIncStore)].field->convert(key);
        m_changed[size_t(m_autoIncStore)] = true;
        m_loaded[size_t(m_autoIncStore)] = true;
    } else if (m_identityIsRowId) {
        const int col = m_keyStore.front();
        m_buffer[col] = m_connection->insert(sql, params, m_connection->rowIdentityName());
        m_changed[size_t(col)] = true;
        m_loaded[size_t(col)] = true;
    } else {
        m_connection->execute(sql, params);
    }
}

void Dataset::postEdit() {
    QStringList sets, unchanged;
    Params params, originals;
    QList<int> guarded;
    for (size_t c = 0; c < m_bindings.size(); ++c) {
        const Binding& b = m_bindings[c];
        if (!m_changed[c] || !b.field || b.column.baseColumn.isEmpty() ||
            b.column.baseTable.compare(m_table, Qt::CaseInsensitive) != 0)
            continue;
        const QString column = quoteName(b.column.baseColumn);
        const QString name = QStringLiteral("dv_v%1").arg(c);
        Param p{name, paramTypeOf(b.type), m_buffer[qsizetype(c)]};
        sets << column + QStringLiteral(" = ") + placeholder(name, p);
        params << p;
        // Another workstation may have changed the row since it was read: the update
        // applies only while each changed column still holds what was read.
        if (b.type == FieldType::Blob) continue;
        const QVariant original = cellValue(m_editRow, int(c));
        guarded << int(c);
        if (!original.isValid()) {
            unchanged << column + QStringLiteral(" is null");
            continue;
        }
        Param o{QStringLiteral("dv_o%1").arg(c), paramTypeOf(b.type), original};
        unchanged << column + QStringLiteral(" = ") + placeholder(o.name, o);
        originals << o;
    }
    if (sets.isEmpty()) return;
    QStringList where;
    params << keyParams(m_editRow, &where);
    const QString update =
        QStringLiteral("update %1 set %2 where %3")
            .arg(quoteName(m_table), sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" and ")));
    const QString guard =
        unchanged.isEmpty() ? QString() : QStringLiteral(" and ") + unchanged.join(QStringLiteral(" and "));
    const auto notLocated = [] {
        return DatabaseError(QStringLiteral(
            "Row cannot be located for updating. Some values may have been changed since it was last read."));
    };
    if (m_connection->execute(update + guard, params + originals) > 0) return;
    if (guarded.isEmpty()) throw notLocated();
    refuseIfChangedSinceRead(guarded, where, params);
    // The values were the same, spelled otherwise (a date stored without its time).
    if (m_connection->execute(update, params) == 0) throw notLocated();
}

// After a guarded update changed nothing: a row that is gone cannot be located; a
// row someone changed is refused, the edit given up and the rows read again, so
// that nothing is overwritten unseen; a row that holds what was read passes.
void Dataset::refuseIfChangedSinceRead(const QList<int>& columns, const QStringList& where,
                                       const Params& params) {
    QStringList names;
    for (int c : columns)
        names << quoteName(m_bindings[size_t(c)].column.baseColumn);
    auto cur = m_connection->query(
        QStringLiteral("select %1 from %2 where %3")
            .arg(names.join(QStringLiteral(", ")), quoteName(m_table), where.join(QStringLiteral(" and "))),
        params);
    if (!cur->next())
        throw DatabaseError(QStringLiteral(
            "Row cannot be located for updating. Some values may have been changed since it was last read."));
    bool changed = false;
    for (int i = 0; i < columns.size() && !changed; ++i) {
        const int c = columns[i];
        changed =
            canonical(cursorValue(*cur, i, m_bindings[size_t(c)].type)) != canonical(cellValue(m_editRow, c));
    }
    if (!changed) return;
    cur.reset();
    cancel();
    refresh();
    throw DatabaseError(
        QStringLiteral("The record was changed by another user since it was read; it has been "
                       "read again."));
}

void Dataset::markModified() {
    if (!isEditing()) throw DatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    m_modified = true;
}

void Dataset::writeTogether(const std::function<void()>& write) {
    if (!OnWrite) {
        write();
        return;
    }
    // The insert numbers the key into the buffer: a failure must leave it unnumbered.
    const QVariantList buffer = m_buffer;
    const std::vector<bool> changed = m_changed, loaded = m_loaded;
    try {
        Transaction t(*m_connection);
        write();
        fire(OnWrite);
        t.commit();
    } catch (...) {
        m_buffer = buffer;
        m_changed = changed;
        m_loaded = loaded;
        throw;
    }
}

void Dataset::post() {
    requireActive();
    if (!isEditing() || m_posting) return;
    checkDetails();
    fire(BeforePost);
    checkRequired();
    // A master posted by OnWrite leaves this row to the post already under way.
    m_posting = true;
    const auto done = qScopeGuard([this] { m_posting = false; });
    writeTogether([this] {
        if (m_state == DatasetState::Insert)
            postInsert();
        else
            postEdit();
    });
    storeBuffer(m_editRow);
    const quint32 row = m_editRow;
    m_state = DatasetState::Browse;
    m_modified = false;
    m_buffer.clear();
    m_changed.clear();
    m_loaded.clear();
    invalidateRow(row);
    ++m_rowGeneration;
    notifyRowChanged(m_cur);
    notifyScrolled();
    notifyState();
    fire(AfterPost);
}

void Dataset::cancel() {
    requireActive();
    if (!isEditing()) return;
    fire(BeforeCancel);
    const bool inserting = m_state == DatasetState::Insert;
    const quint32 row = m_editRow;
    m_state = DatasetState::Browse;
    m_modified = false;
    m_buffer.clear();
    m_changed.clear();
    m_loaded.clear();
    m_calcCache.remove(row);
    if (inserting) {
        const int at = m_cur;
        m_deleted[row] = true;
        notifyRowAboutToBeRemoved(at);
        m_view.erase(size_t(at));
        ++m_dataGeneration;
        setCurrent(m_view.empty() ? -1 : qMin(at, recordCount() - 1));
        // The row that was current before the append, when the new one was the last.
        m_eof = m_view.empty();
        m_bof = m_view.empty();
        notifyRowRemoved(at);
    } else {
        notifyRowChanged(m_cur);
    }
    notifyScrolled();
    notifyState();
    fire(AfterCancel);
}

void Dataset::checkBrowseMode() {
    if (m_posting) return;
    checkDetails();
    if (!isEditing()) return;
    if (m_modified)
        post();
    else
        cancel();
}

void Dataset::deleteRecord() {
    requireActive();
    if (m_state == DatasetState::Insert) {
        cancel();
        return;
    }
    if (m_view.empty())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (isReadOnly()) throw DatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeDelete);
    const quint32 row = physical(m_cur);
    QStringList where;
    const Params params = keyParams(row, &where);
    // A row someone else already deleted is simply gone here too.
    writeTogether([&] {
        m_connection->execute(QStringLiteral("delete from %1 where %2")
                                  .arg(quoteName(m_table), where.join(QStringLiteral(" and "))),
                              params);
    });
    const bool wasEditing = isEditing();
    m_state = DatasetState::Browse;
    m_buffer.clear();
    m_modified = false;
    const int at = m_cur;
    m_deleted[row] = true;
    notifyRowAboutToBeRemoved(at);
    m_view.erase(size_t(at));
    invalidateRow(row);
    if (m_blobRow == qint64(row)) m_blobRow = -1;
    setCurrent(m_view.empty() ? -1 : qMin(at, recordCount() - 1));
    m_eof = m_view.empty() || at >= recordCount();
    m_bof = m_view.empty();
    notifyRowRemoved(at);
    notifyScrolled();
    if (wasEditing) notifyState();
    fire(AfterDelete);
    fire(AfterScroll);
}

} // namespace dv
