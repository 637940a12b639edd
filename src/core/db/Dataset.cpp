// Opening, parameters, fields and navigation of the dataset.
#include "Dataset.h"
#include "DataSource.h"
#include "DbErrors.h"
#include "RowLoader.h"
#include "SqlDialect.h"

namespace dv {

Dataset::Dataset(QObject* parent) : QObject(parent) {
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        for (Field* f : std::as_const(m_fields))
            f->renameFor(name);
    });
}

Dataset::Dataset(Connection* connection, const QString& name, QObject* parent) : Dataset(parent) {
    setObjectName(name);
    m_connection = connection;
}

Dataset::~Dataset() {
    for (const QPointer<DataSource>& s : std::as_const(m_sources))
        if (s && s->dataset() == this) s->setDataset(nullptr);
}

void Dataset::setConnection(Connection* connection) {
    if (isActive()) close();
    m_connection = connection;
}

void Dataset::setSql(const QString& text) {
    m_sql = text.split(QLatin1Char('\n'));
}

// ---- parameters ----

void Dataset::syncParams() const {
    const QString text = sqlText();
    if (text == m_paramsText && !m_params.isEmpty()) return;
    m_paramsText = text;
    const QStringList names = sql::bindNames(text, [](int) { return QStringLiteral("?"); }).names;
    QList<Param> params;
    for (const QString& n : names) {
        Param p{n, ParamType::String, QVariant()};
        for (const Param& old : std::as_const(m_params))
            if (old.name.compare(n, Qt::CaseInsensitive) == 0) p = old;
        params << p;
    }
    m_params = params;
}

QStringList Dataset::paramNames() const {
    syncParams();
    QStringList names;
    for (const Param& p : std::as_const(m_params))
        names << p.name;
    return names;
}

bool Dataset::hasParam(const QString& name) const {
    syncParams();
    for (const Param& p : std::as_const(m_params))
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

Param& Dataset::param(const QString& name) {
    syncParams();
    for (Param& p : m_params)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) return p;
    throw DatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void Dataset::setParam(const QString& name, ParamType type, const QVariant& value) {
    Param& p = param(name);
    p.type = type;
    p.value = value;
}

Params Dataset::params() const {
    syncParams();
    return m_params;
}

// ---- fields ----

Field* Dataset::addField(const FieldDef& def) {
    if (isActive()) throw DatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
    if (def.name.isEmpty()) throw DatabaseError(QStringLiteral("Field name missing"));
    if (findField(def.name)) throw DatabaseError(QStringLiteral("Duplicate field name '%1'").arg(def.name));
    if (def.kind == FieldKind::Lookup && (!def.lookupDataset || def.keyFields.isEmpty() ||
                                          def.lookupKeyFields.isEmpty() || def.lookupResultField.isEmpty()))
        throw DatabaseError(QStringLiteral("Lookup information for field '%1' is incomplete").arg(def.name));
    auto* f = new Field(this, def);
    // Declared fields come before the columns found at open.
    int at = 0;
    while (at < m_fields.size() && m_fields[at]->isDeclared())
        ++at;
    f->setDeclared();
    m_fields.insert(at, f);
    m_fieldsDeclared = true;
    return f;
}

Field* Dataset::findField(const QString& name) const {
    for (Field* f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0) return f;
    return nullptr;
}

Field* Dataset::fieldByName(const QString& name) const {
    if (Field* f = findField(name)) return f;
    throw DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
}

QList<Field*> Dataset::fieldList(const QString& names) const {
    QList<Field*> out;
    for (const QString& n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out << fieldByName(n.trimmed());
    if (out.isEmpty()) throw DatabaseError(QStringLiteral("Field '%1' not found").arg(names));
    return out;
}

// ---- opening ----

void Dataset::requireActive() const {
    if (!isActive()) throw DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Dataset::bindColumns(const QList<ColumnInfo>& columns) {
    std::vector<Binding> bindings;
    QList<Field*> seen;
    int identity = -1;
    for (int i = 0; i < columns.size(); ++i) {
        const ColumnInfo& c = columns[i];
        if (c.rowIdentity) {
            identity = i;
            continue;
        }
        // A name the result repeats (a join) gets a suffix: "paciente_id_1".
        QString name = c.name;
        for (int k = 1; seen.contains(findField(name)); ++k)
            name = c.name + QLatin1Char('_') + QString::number(k);
        Field* f = findField(name);
        if (f && !f->isData()) continue;
        if (!f) {
            FieldDef def;
            def.name = name;
            def.visible = !m_fieldsDeclared;
            f = new Field(this, def);
            m_fields.append(f);
        }
        seen << f;
        Binding b;
        b.source = i;
        b.column = c;
        b.field = f;
        bindings.push_back(b);
    }
    // Declared columns the query does not give, and fields of columns that went away.
    for (Field* f : std::as_const(m_fields)) {
        if (!f->isData() || seen.contains(f)) continue;
        if (f->isDeclared()) throw DatabaseError(QStringLiteral("Field '%1' not found").arg(f->fieldName()));
    }
    for (qsizetype i = m_fields.size() - 1; i >= 0; --i) {
        Field* f = m_fields[i];
        if (f->isData() && !seen.contains(f)) {
            m_fields.removeAt(i);
            delete f;
        }
    }
    for (size_t j = 0; j < bindings.size(); ++j) {
        bindings[j].field->bind(int(j), bindings[j].column);
        bindings[j].type = bindings[j].field->dataType();
    }
    // The table behind the columns, and how a row of it is identified.
    m_table.clear();
    m_keyColumns.clear();
    m_keyStore.clear();
    m_autoIncStore = -1;
    m_identityIsRowId = false;
    QString table;
    bool single = true;
    for (const Binding& b : bindings) {
        if (b.column.baseTable.isEmpty()) continue;
        if (table.isEmpty())
            table = b.column.baseTable;
        else if (table.compare(b.column.baseTable, Qt::CaseInsensitive) != 0)
            single = false;
    }
    if (single && !table.isEmpty() && m_connection) {
        QStringList primary;
        try {
            for (const ColumnInfo& tc : m_connection->tableColumns(table))
                if (tc.primaryKey) primary << tc.name;
        } catch (const Error&) {
            table.clear();
        }
        std::vector<int> keyStore;
        for (const QString& k : std::as_const(primary))
            for (size_t j = 0; j < bindings.size(); ++j)
                if (bindings[j].column.baseColumn.compare(k, Qt::CaseInsensitive) == 0 &&
                    bindings[j].column.baseTable.compare(table, Qt::CaseInsensitive) == 0) {
                    keyStore.push_back(int(j));
                    break;
                }
        if (!table.isEmpty() && !primary.isEmpty() && keyStore.size() == size_t(primary.size())) {
            m_keyColumns = primary;
            m_keyStore = keyStore;
        } else if (!table.isEmpty() && identity >= 0) {
            Binding b;
            b.source = identity;
            b.column = columns[identity];
            b.type = FieldType::LargeInt;
            bindings.push_back(b);
            m_keyColumns << m_connection->rowIdentityName();
            m_keyStore.push_back(int(bindings.size()) - 1);
            m_identityIsRowId = true;
        } else {
            table.clear(); // nothing identifies a row: read only
        }
        if (!table.isEmpty()) {
            m_table = table;
            for (size_t j = 0; j < bindings.size(); ++j)
                if (bindings[j].field && bindings[j].type == FieldType::AutoInc &&
                    bindings[j].column.baseTable.compare(table, Qt::CaseInsensitive) == 0)
                    m_autoIncStore = int(j);
            // A single integer key the database numbers when it is left empty.
            if (m_autoIncStore < 0 && m_keyStore.size() == 1 && !m_identityIsRowId) {
                const FieldType t = bindings[size_t(m_keyStore.front())].type;
                if (t == FieldType::Integer || t == FieldType::LargeInt) m_autoIncStore = m_keyStore.front();
            }
        }
    }
    m_bindings = std::move(bindings);
    // Lookup fields without a declared type take their result field's.
    for (Field* f : std::as_const(m_fields)) {
        if (!f->isLookup() || f->definition().type != FieldType::Unknown) continue;
        ColumnInfo info;
        info.type = FieldType::String;
        if (Dataset* ld = f->lookupDataset())
            if (Field* rf = ld->findField(f->lookupResultField())) info.type = rf->dataType();
        f->bind(-1, info);
    }
}

void Dataset::loadRows(Cursor& cursor) {
    std::vector<LoadColumn> columns;
    columns.reserve(m_bindings.size());
    for (const Binding& b : m_bindings)
        columns.push_back({b.source, b.type, b.column.deferred});
    m_store = loadRowStore(cursor, columns);
}

void Dataset::runQuery() {
    if (!m_connection) throw DatabaseError(QStringLiteral("Missing Connection or ConnectionString"));
    // Lookup fields read their datasets' rows and take their result fields' types.
    for (Field* f : std::as_const(m_fields))
        if (Dataset* ld = f->isLookup() ? f->lookupDataset() : nullptr; ld && ld != this)
            ld->openIfOnDemand();
    if (m_master && m_master->dataset()) {
        // A detail's parameters are the master's values of the same names.
        Dataset* master = m_master->dataset();
        syncParams();
        for (Param& p : m_params) {
            Field* mf = master->findField(p.name);
            if (!mf) continue;
            p.value = master->isActive() && master->hasActiveRow() ? mf->asVariant() : QVariant();
            switch (mf->dataType()) {
            case FieldType::Integer:
            case FieldType::AutoInc:
            case FieldType::LargeInt:
                p.type = ParamType::Integer;
                break;
            case FieldType::Currency:
                p.type = ParamType::Currency;
                break;
            case FieldType::DateTime:
                p.type = ParamType::DateTime;
                break;
            case FieldType::Float:
                p.type = ParamType::Float;
                break;
            default:
                p.type = ParamType::String;
                break;
            }
        }
    }
    QueryOptions options;
    options.deferBlobs = true;
    options.rowIdentity = true;
    std::unique_ptr<Cursor> cursor = m_connection->query(sqlText(), params(), options);
    m_linkSeen = linkValues();
    m_masterSerialSeen = m_master && m_master->dataset() ? m_master->dataset()->m_openSerial : 0;
    bindColumns(cursor->columns());
    loadRows(*cursor);
    m_deleted.assign(m_store.rowCount(), false);
    m_calcCache.clear();
    m_blobCache.clear();
    m_blobRow = -1;
    m_keyIndexes.clear();
    ++m_openSerial;
}

void Dataset::resetRows() {
    m_store.clear();
    m_deleted.clear();
    m_view.clear();
    m_cur = -1;
    m_eof = m_bof = true;
    m_buffer.clear();
    m_changed.clear();
    m_loaded.clear();
    m_modified = false;
    m_calcCache.clear();
    m_blobCache.clear();
    m_blobRow = -1;
    m_keyIndexes.clear();
}

void Dataset::open() {
    if (isActive()) return;
    fire(BeforeOpen);
    try {
        runQuery();
        m_state = DatasetState::Browse;
        m_cur = -1;
        rebuildView(false);
    } catch (...) {
        m_state = DatasetState::Inactive;
        resetRows();
        throw;
    }
    m_closedByMaster = false;
    if (m_master && m_master->dataset()) m_masterSeen = m_master->dataset()->m_rowGeneration;
    m_bof = true;
    m_eof = m_view.empty();
    ++m_rowGeneration;
    notifyReset();
    notifyState();
    fire(AfterOpen);
    if (!m_view.empty()) fire(AfterScroll);
}

void Dataset::close() {
    if (!isActive()) return;
    refuseClosingPending();
    fire(BeforeClose);
    m_state = DatasetState::Inactive;
    resetRows();
    ++m_rowGeneration;
    notifyReset();
    notifyState();
    fire(AfterClose);
}

void Dataset::setActive(bool active) {
    if (active)
        open();
    else
        close();
}

void Dataset::refresh() {
    requireActive();
    checkBrowseMode();
    // The current row is found again by its key, else by its position.
    QVariantList key;
    const int oldRow = m_cur;
    if (m_cur >= 0)
        for (int col : m_keyStore)
            key << cellValue(physical(m_cur), col);
    runQuery();
    m_cur = -1;
    rebuildView(false);
    int found = -1;
    if (!key.isEmpty())
        for (int i = 0; i < recordCount() && found < 0; ++i) {
            const quint32 r = physical(i);
            bool same = true;
            for (size_t k = 0; k < m_keyStore.size() && same; ++k) {
                same = cellValue(r, m_keyStore[k]) == key[qsizetype(k)];
            }
            if (same) found = i;
        }
    if (found < 0 && !m_view.empty()) found = qBound(0, oldRow, recordCount() - 1);
    m_cur = found;
    m_bof = m_cur <= 0;
    m_eof = m_view.empty();
    ++m_rowGeneration;
    notifyReset();
}

// ---- navigation ----

quint32 Dataset::activeRow() const {
    return m_readRow >= 0 ? quint32(m_readRow) : physical(m_cur);
}

bool Dataset::hasActiveRow() const {
    return m_readRow >= 0 || m_cur >= 0;
}

void Dataset::setCurrent(int row) {
    const qint64 before = m_cur >= 0 ? qint64(physical(m_cur)) : -1;
    m_cur = row;
    const qint64 after = m_cur >= 0 ? qint64(physical(m_cur)) : -1;
    if (before != after) ++m_rowGeneration;
}

bool Dataset::moveCursor(int row) {
    fire(BeforeScroll);
    setCurrent(row);
    notifyScrolled();
    fire(AfterScroll);
    return true;
}

void Dataset::first() {
    requireActive();
    checkBrowseMode();
    if (!m_view.empty()) moveCursor(0);
    m_bof = true;
    m_eof = m_view.empty();
}

void Dataset::last() {
    requireActive();
    checkBrowseMode();
    if (!m_view.empty()) moveCursor(recordCount() - 1);
    m_eof = true;
    m_bof = m_view.empty();
}

void Dataset::next() {
    requireActive();
    checkBrowseMode();
    if (m_cur < 0 || m_cur >= recordCount() - 1) {
        m_eof = true;
        return;
    }
    moveCursor(m_cur + 1);
    m_bof = m_eof = false;
}

void Dataset::prior() {
    requireActive();
    checkBrowseMode();
    if (m_cur <= 0) {
        m_bof = true;
        return;
    }
    moveCursor(m_cur - 1);
    m_bof = m_eof = false;
}

int Dataset::moveBy(int distance) {
    requireActive();
    checkBrowseMode();
    if (m_view.empty() || distance == 0) return 0;
    const int target = qBound(0, m_cur + distance, recordCount() - 1);
    const int moved = target - m_cur;
    if (moved != 0) moveCursor(target);
    m_eof = distance > 0 && moved < distance;
    m_bof = distance < 0 && moved > distance;
    return moved;
}

void Dataset::moveTo(int row) {
    requireActive();
    if (m_view.empty()) return;
    row = qBound(0, row, recordCount() - 1);
    if (row == m_cur) {
        m_bof = m_eof = false;
        return;
    }
    checkBrowseMode();
    moveCursor(row);
    m_bof = m_eof = false;
}

Bookmark Dataset::bookmark() const {
    Bookmark b;
    if (isActive() && m_cur >= 0) {
        b.row = physical(m_cur);
        b.openSerial = m_openSerial;
    }
    return b;
}

bool Dataset::bookmarkValid(const Bookmark& b) const {
    if (!isActive() || !b.isValid() || b.openSerial != m_openSerial || b.row >= m_store.rowCount() ||
        m_deleted[b.row])
        return false;
    for (quint32 r : m_view)
        if (r == b.row) return true;
    return false;
}

void Dataset::gotoBookmark(const Bookmark& b) {
    requireActive();
    if (bookmarkValid(b))
        for (int i = 0; i < recordCount(); ++i)
            if (physical(i) == b.row) {
                moveTo(i);
                return;
            }
    throw DatabaseError(QStringLiteral("Record not found"));
}

// ---- other rows ----

namespace {
struct ReadRowGuard {
    qint64& slot;
    qint64 saved;
    ReadRowGuard(qint64& s, qint64 row) : slot(s), saved(s) { slot = row; }
    ~ReadRowGuard() { slot = saved; }
};
} // namespace

QVariant Dataset::value(int row, const Field* field) const {
    requireActive();
    if (!field || field->dataset() != this || row < 0 || row >= recordCount()) return QVariant();
    ReadRowGuard g(m_readRow, physical(row));
    return readValue(*field);
}

bool Dataset::isNull(int row, const Field* field) const {
    requireActive();
    if (!field || field->dataset() != this || row < 0 || row >= recordCount()) return true;
    ReadRowGuard g(m_readRow, physical(row));
    return readIsNull(*field);
}

QString Dataset::displayText(int row, const Field* field) const {
    requireActive();
    if (!field || field->dataset() != this || row < 0 || row >= recordCount()) return QString();
    ReadRowGuard g(m_readRow, physical(row));
    // A picture's cell only says whether there is one: its bytes stay unread.
    if (field->isData() && field->dataType() == FieldType::Blob)
        return readIsNull(*field) ? QString() : QStringLiteral("(BLOB)");
    // A stored date-time is formatted from its packed day and time: a QDateTime made
    // of it would be local time, and each asks the system for the time zone (a
    // list's export formats hundreds of thousands) and moves a midnight that the
    // zone skips (a daylight-saving start) to another hour.
    // Text is shown as stored, without a QVariant between.
    const int col = field->storeColumn();
    const quint32 stored = physical(row);
    if (field->isData() && col >= 0 && !(isEditing() && stored == m_editRow)) {
        const FieldType type = field->dataType();
        const FieldType held = m_bindings[size_t(col)].type;
        if (type == FieldType::DateTime && held == FieldType::DateTime) {
            if (m_store.isNull(stored, col)) return QString();
            const qint64 p = m_store.intValue(stored, col);
            return field->formatDateTime(QDate::fromJulianDay(RowStore::julianDayOf(p)),
                                         QTime::fromMSecsSinceStartOfDay(RowStore::msecsOf(p)));
        }
        if ((type == FieldType::String || type == FieldType::Memo) && m_store.kind(col) == StoreKind::Text)
            return m_store.isNull(stored, col) ? QString() : QString::fromUtf8(m_store.text(stored, col));
    }
    return field->format(readValue(*field));
}

size_t Dataset::memoryBytes() const {
    return m_store.memoryBytes() + m_view.capacityBytes() + m_deleted.capacity() / 8;
}

} // namespace dv
