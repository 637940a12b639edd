#include "PgEngine.h"
#include "CodeTextLookup.h"
#include "DbErrors.h"
#include "ParamValues.h"
#include "PgDialect.h"
#include "SqlDialect.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <charconv>
#include <cstdlib>
#include <libpq-fe.h>

namespace dv {

namespace {

// Type oids of the built-in types the schema uses (fixed in every PostgreSQL).
enum : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    TextOid = 25,
    Float4Oid = 700,
    Float8Oid = 701,
    UnknownOid = 705,
    BpcharOid = 1042,
    VarcharOid = 1043,
    DateOid = 1082,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    NumericOid = 1700,
};

FieldType typeOf(Oid type, int typmod, int* size) {
    *size = 0;
    switch (type) {
    case BoolOid:
    case Int2Oid:
    case Int4Oid:
    case Int8Oid:
        return FieldType::Integer;
    case Float4Oid:
    case Float8Oid:
        return FieldType::Float;
    case NumericOid: {
        // typmod = (precision << 16 | scale) + 4; a sum or other expression has none.
        if (typmod < 4) return FieldType::Currency;
        const int scale = (typmod - 4) & 0xffff;
        return scale == 0 ? FieldType::LargeInt : scale == 4 ? FieldType::Currency : FieldType::Float;
    }
    case DateOid:
    case TimestampOid:
    case TimestampTzOid:
        return FieldType::DateTime;
    case VarcharOid:
    case BpcharOid:
        *size = typmod >= 4 ? typmod - 4 : 0;
        return FieldType::String;
    case TextOid:
        return FieldType::Memo;
    case UnknownOid:
        return FieldType::String;
    case ByteaOid:
        return FieldType::Blob;
    default:
        return FieldType::Unknown;
    }
}

QString currencyText(Currency c) {
    const qint64 raw = c.raw();
    const quint64 a = raw < 0 ? quint64(-(raw + 1)) + 1 : quint64(raw);
    return QStringLiteral("%1%2.%3")
        .arg(raw < 0 ? QStringLiteral("-") : QString())
        .arg(a / Currency::Scale)
        .arg(a % Currency::Scale, 4, 10, QLatin1Char('0'));
}

// Exact decimal text ("-12.3450") to ten-thousandths, rounding further digits half away from zero.
qint64 decimalRaw(const char* p, int n) {
    int i = 0;
    bool neg = false;
    if (i < n && (p[i] == '-' || p[i] == '+')) neg = p[i++] == '-';
    qint64 units = 0;
    while (i < n && p[i] >= '0' && p[i] <= '9')
        units = units * 10 + (p[i++] - '0');
    qint64 frac = 0;
    int digits = 0;
    bool roundUp = false;
    if (i < n && p[i] == '.') {
        ++i;
        while (i < n && p[i] >= '0' && p[i] <= '9') {
            if (digits < 4) {
                frac = frac * 10 + (p[i] - '0');
                ++digits;
            } else if (digits == 4) {
                roundUp = p[i] >= '5';
                ++digits;
            }
            ++i;
        }
    }
    for (int d = std::min(digits, 4); d < 4; ++d)
        frac *= 10;
    const qint64 raw = units * Currency::Scale + frac + (roundUp ? 1 : 0);
    return neg ? -raw : raw;
}

QString diag(const PGresult* res, int field) {
    const char* v = res ? PQresultErrorField(res, field) : nullptr;
    return v ? QString::fromUtf8(v) : QString();
}

} // namespace

// ---------------------------------------------------------------------------

class PgEngine::ResultCursor : public Cursor {
public:
    ResultCursor(PGresult* res, QList<ColumnInfo> cols)
        : m_res(res), m_cols(std::move(cols)), m_rows(PQntuples(res)) {
        for (int c = 0; c < PQnfields(res); ++c)
            m_bool.push_back(PQftype(res, c) == BoolOid);
    }
    ~ResultCursor() override { PQclear(m_res); }
    const QList<ColumnInfo>& columns() const override { return m_cols; }
    bool next() override { return ++m_row < m_rows; }
    bool isNull(int c) const override { return PQgetisnull(m_res, m_row, c); }
    qint64 integer(int c) const override {
        const char* p = PQgetvalue(m_res, m_row, c);
        const int n = PQgetlength(m_res, m_row, c);
        if (m_bool[size_t(c)]) return *p == 't';
        qint64 v = 0;
        const auto r = std::from_chars(p, p + n, v);
        if (r.ec == std::errc() && (r.ptr == p + n || *r.ptr != 'e')) return v;
        return qint64(std::strtod(p, nullptr));
    }
    double real(int c) const override { return std::strtod(PQgetvalue(m_res, m_row, c), nullptr); }
    Currency currency(int c) const override {
        if (isNull(c)) return Currency();
        return Currency::fromRaw(decimalRaw(PQgetvalue(m_res, m_row, c), PQgetlength(m_res, m_row, c)));
    }
    QDateTime dateTime(int c) const override {
        if (isNull(c)) return QDateTime();
        return sql::fromIsoText(
            QString::fromLatin1(PQgetvalue(m_res, m_row, c), PQgetlength(m_res, m_row, c)));
    }
    QByteArrayView utf8(int c) const override {
        // A comparison reads as the embedded engine gives it: 1 or 0.
        if (m_bool[size_t(c)])
            return *PQgetvalue(m_res, m_row, c) == 't' ? QByteArrayView("1") : QByteArrayView("0");
        return QByteArrayView(PQgetvalue(m_res, m_row, c), PQgetlength(m_res, m_row, c));
    }
    QByteArray blob(int c) const override {
        if (isNull(c)) return QByteArray();
        size_t n = 0;
        unsigned char* bytes =
            PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(m_res, m_row, c)), &n);
        if (!bytes) return QByteArray();
        QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(n));
        PQfreemem(bytes);
        return out;
    }

private:
    PGresult* m_res;
    const QList<ColumnInfo> m_cols;
    int m_rows;
    int m_row = -1;
    std::vector<bool> m_bool;
};

// ---------------------------------------------------------------------------

bool PgEngine::isServerSource(const QString& s) {
    static const QRegularExpression keyword(QStringLiteral("(^|\\s)(host|hostaddr|dbname|service)\\s*="),
                                            QRegularExpression::CaseInsensitiveOption);
    return s.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           s.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) || keyword.match(s).hasMatch();
}

PgEngine::PgEngine(const QString& conninfo) : m_conninfo(conninfo) {
    const QByteArray info = conninfo.toUtf8();
    // Later keywords override what the URL or keyword string says.
    const char* keys[] = {"dbname", "client_encoding", "application_name", "options", nullptr};
    const char* values[] = {info.constData(), "UTF8", "Dentrivale",
                            "-c DateStyle=ISO,YMD -c extra_float_digits=3 -c standard_conforming_strings=on",
                            nullptr};
    m_conn = PQconnectdbParams(keys, values, 1);
    if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
        const QString msg =
            m_conn ? QString::fromUtf8(PQerrorMessage(m_conn)).trimmed() : QStringLiteral("out of memory");
        PQfinish(m_conn);
        m_conn = nullptr;
        throw EngineError(dv::text("Não foi possível conectar ao servidor de banco de dados: %1").arg(msg));
    }
    // Notices (a cascading drop, an implicit index) are not errors; nobody reads stderr.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
}

PgEngine::~PgEngine() {
    PQfinish(m_conn);
}

void PgEngine::command(const char* sql) {
    PGresult* res = PQexec(m_conn, sql);
    const ExecStatusType st = PQresultStatus(res);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) fail(res, QString::fromUtf8(sql));
    PQclear(res);
}

void PgEngine::executeScript(const QString& sql) {
    command(sql.toUtf8().constData());
}

QStringList PgEngine::tableNames() {
    QStringList names;
    auto c = query(QStringLiteral("select tablename from pg_tables where schemaname = current_schema() "
                                  "order by tablename"));
    while (c->next())
        names << QString::fromUtf8(c->utf8(0));
    return names;
}

const QList<ColumnInfo>& PgEngine::tableColumns(const QString& table) {
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it != m_tables.end()) return *it;

    static const QString sql = QStringLiteral(
        "select c.oid, c.relname, a.attnum, a.attname, a.atttypid, a.atttypmod, a.attnotnull,"
        " a.attidentity <> '' as autoinc,"
        " coalesce(a.attnum = any(i.indkey::int2[]), false) as pk,"
        " (select count(*) from unnest(i.indkey::int2[])) as pkcount, a.atthasdef"
        " from pg_class c join pg_attribute a on a.attrelid = c.oid"
        " left join pg_index i on i.indrelid = c.oid and i.indisprimary"
        " where c.oid = to_regclass(:t) and a.attnum > 0 and not a.attisdropped order by a.attnum");
    QList<ColumnInfo> cols;
    TableMeta meta;
    Oid oid = 0;
    {
        auto c = query(sql, {{QStringLiteral("t"), ParamType::String, table}});
        while (c->next()) {
            oid = Oid(c->integer(0));
            meta.name = QString::fromUtf8(c->utf8(1));
            const QString name = QString::fromUtf8(c->utf8(3));
            if (name == sql::pgRowIdColumn()) {
                meta.hasRowId = true;
                continue;
            }
            ColumnInfo col;
            col.name = name;
            col.baseTable = meta.name;
            col.baseColumn = name;
            col.type = typeOf(Oid(c->integer(4)), int(c->integer(5)), &col.size);
            col.notNull = c->integer(6);
            col.primaryKey = c->integer(8);
            const bool soleIntegerKey =
                col.primaryKey && c->integer(9) == 1 && col.type == FieldType::Integer;
            if (soleIntegerKey && c->integer(7)) {
                col.type = FieldType::AutoInc;
                col.autoIncrement = true;
            }
            // A serial key is numbered when left empty, as the embedded rowid key is.
            if (soleIntegerKey && c->integer(10)) col.notNull = false;
            meta.columnOfAttnum.insert(int(c->integer(2)), int(cols.size()));
            cols << col;
        }
    }
    if (cols.isEmpty()) throw EngineError(QStringLiteral("relation \"%1\" does not exist").arg(table));
    m_tableOids.insert(key, oid);
    m_meta.insert(oid, meta);
    return *m_tables.insert(key, cols);
}

const PgEngine::TableMeta* PgEngine::metaOf(unsigned oid) {
    auto it = m_meta.constFind(oid);
    if (it != m_meta.constEnd()) return &*it;
    QString name;
    {
        auto c = query(QStringLiteral("select relname from pg_class where oid = :o"),
                       {{QStringLiteral("o"), ParamType::Integer, qint64(oid)}});
        if (!c->next()) return nullptr;
        name = QString::fromUtf8(c->utf8(0));
    }
    try {
        tableColumns(name);
    } catch (const EngineError&) {
        return nullptr;
    }
    it = m_meta.constFind(oid);
    return it == m_meta.constEnd() ? nullptr : &*it;
}

QString PgEngine::rowIdentityName() const {
    return sql::pgRowIdColumn();
}

// A select over one table without ORDER BY gets its rows by key, as the embedded
// engine gives them (the server would hand an updated row back last).
QString PgEngine::orderedByKey(const QString& text, const QString& table) {
    static const QRegularExpression orderBy(QStringLiteral("\\border\\s+by\\b|\\blimit\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (table.isEmpty() || sql::aggregates(text) || orderBy.match(text).hasMatch()) return text;
    QStringList keys;
    try {
        for (const ColumnInfo& c : tableColumns(table))
            if (c.primaryKey) keys << QLatin1Char('"') + c.name + QLatin1Char('"');
        if (keys.isEmpty() && m_meta[m_tableOids.value(table.toLower())].hasRowId)
            keys << sql::pgRowIdColumn();
    } catch (const EngineError&) {
        return text; // the server names the missing table
    }
    if (keys.isEmpty()) return text;
    return text + QStringLiteral(" ORDER BY ") + keys.join(QStringLiteral(", "));
}

QString PgEngine::rewrite(const QString& sqlIn, const QueryOptions& options, QList<ColumnInfo>* overrides) {
    QString text = sql::postgresQuery(sql::translateDateLiterals(sqlIn));
    text = orderedByKey(text, sql::singleTableOfSelect(text));
    // "select *" over one table is always spelled out: the hidden row identity stays hidden.
    const QString star = sql::singleTableOfSelectStar(text);
    if (!star.isEmpty()) {
        const QList<ColumnInfo>& tcols = tableColumns(star);
        const TableMeta& meta = m_meta[m_tableOids.value(star.toLower())];
        QStringList list;
        for (const ColumnInfo& c : tcols) {
            const QString q = QLatin1Char('"') + c.name + QLatin1Char('"');
            ColumnInfo o = c;
            if (c.type == FieldType::Blob && options.deferBlobs) {
                list << QStringLiteral("octet_length(%1) AS %1").arg(q);
                o.deferred = true;
            } else {
                list << q;
            }
            *overrides << o;
        }
        if (options.rowIdentity && meta.hasRowId && !sql::aggregates(text)) {
            list << sql::pgRowIdColumn() + QStringLiteral(" AS ") + sql::rowIdAlias();
            ColumnInfo r;
            r.name = sql::rowIdAlias();
            r.baseTable = meta.name;
            r.baseColumn = sql::pgRowIdColumn();
            r.type = FieldType::Integer;
            r.rowIdentity = true;
            *overrides << r;
        }
        const int starPos = int(text.indexOf(QLatin1Char('*')));
        return text.left(starPos) + list.join(QStringLiteral(", ")) + text.mid(starPos + 1);
    }
    if (options.rowIdentity && !sql::aggregates(text)) {
        const QString table = sql::singleTableOfSelect(text);
        const int from = sql::topLevelFrom(text);
        if (!table.isEmpty() && from > 0) {
            try {
                tableColumns(table);
                if (m_meta[m_tableOids.value(table.toLower())].hasRowId)
                    text =
                        text.left(from) +
                        QStringLiteral(", %1.%2 AS %3 ").arg(table, sql::pgRowIdColumn(), sql::rowIdAlias()) +
                        text.mid(from);
            } catch (const EngineError&) {
            }
        }
    }
    return text;
}

QList<ColumnInfo> PgEngine::describe(PGresult* res) {
    const int n = PQnfields(res);
    QList<ColumnInfo> cols;
    cols.reserve(n);
    for (int i = 0; i < n; ++i) {
        ColumnInfo c;
        c.name = QString::fromUtf8(PQfname(res, i));
        const Oid table = PQftable(res, i);
        const int attnum = PQftablecol(res, i);
        if (c.name == sql::rowIdAlias()) {
            c.type = FieldType::Integer;
            c.rowIdentity = true;
        } else if (table >= 16384 && attnum > 0) { // below: the system catalogues (their own queries)
            if (const TableMeta* meta = metaOf(table)) {
                const int idx = meta->columnOfAttnum.value(attnum, -1);
                if (idx >= 0) {
                    const QString alias = c.name;
                    c = m_tables.value(meta->name.toLower()).value(idx);
                    c.name = alias;
                }
            }
        }
        if (c.type == FieldType::Unknown && !c.rowIdentity) {
            c.type = typeOf(PQftype(res, i), PQfmod(res, i), &c.size);
            if (c.type == FieldType::Memo) c.type = FieldType::String; // text expressions (rtrim, ||)
            if (c.type == FieldType::Blob) c.type = FieldType::Unknown;
        }
        cols << c;
    }
    return cols;
}

PGresult* PgEngine::run(const QString& sqlIn, const Params& params, QList<ColumnInfo>* columns,
                        const QueryOptions& options) {
    QList<ColumnInfo> overrides;
    const QString text = rewrite(sqlIn, options, &overrides);
    const sql::PreparedText p =
        sql::bindNames(text, [](int i) { return QLatin1Char('$') + QString::number(i); });

    const int count = int(p.names.size());
    QList<QByteArray> storage(count);
    std::vector<const char*> values(size_t(count), nullptr);
    std::vector<int> lengths(size_t(count), 0), formats(size_t(count), 0);
    std::vector<Oid> types(size_t(count), 0);
    QHash<QString, const Param*> byName; // multi-row inserts carry thousands
    byName.reserve(params.size());
    for (const Param& pr : params)
        byName.insert(pr.name.toLower(), &pr);
    for (int i = 0; i < count; ++i) {
        const Param* param = byName.value(p.names[i]);
        if (!param) throw EngineError(QStringLiteral("No value given for parameter '%1'.").arg(p.names[i]));
        const QVariant& v = param->value;
        if (!v.isValid() || v.isNull()) continue;
        QByteArray& b = storage[i];
        switch (param->type) {
        case ParamType::Integer:
            b = QByteArray::number(integerValue(*param));
            break;
        case ParamType::Float:
            b = QByteArray::number(v.toDouble(), 'g', 17);
            break;
        case ParamType::Currency:
            b = currencyText(currencyValue(*param)).toLatin1();
            break;
        case ParamType::DateTime:
            b = sql::isoText(dateTimeValue(*param)).toLatin1();
            break;
        case ParamType::Blob:
            b = v.toByteArray();
            formats[size_t(i)] = 1;
            types[size_t(i)] = ByteaOid;
            break;
        case ParamType::Text:
        case ParamType::String:
            b = textValue(*param).toUtf8();
            break;
        }
        values[size_t(i)] = b.constData();
        lengths[size_t(i)] = int(b.size());
    }

    // Inside a transaction a failed statement must not doom the rest (the embedded
    // engine keeps the transaction going): each statement gets its own savepoint.
    const bool guarded = m_depth > 0;
    if (guarded) command("SAVEPOINT dv_stmt");
    const QByteArray utf8 = p.text.toUtf8();
    ++m_statements;
    PGresult* res = PQexecParams(m_conn, utf8.constData(), count, types.data(), values.data(), lengths.data(),
                                 formats.data(), 0);
    const ExecStatusType st = PQresultStatus(res);
    if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        if (guarded) {
            PGresult* r = PQexec(m_conn, "ROLLBACK TO SAVEPOINT dv_stmt; RELEASE SAVEPOINT dv_stmt");
            PQclear(r);
        }
        fail(res, sqlIn);
    }
    if (guarded) command("RELEASE SAVEPOINT dv_stmt");
    if (columns) *columns = overrides.isEmpty() ? describe(res) : overrides;
    return res;
}

std::unique_ptr<Cursor> PgEngine::query(const QString& sql, const Params& params,
                                        const QueryOptions& options) {
    QList<ColumnInfo> cols;
    PGresult* res = run(sql, params, &cols, options);
    return std::make_unique<ResultCursor>(res, cols);
}

qint64 PgEngine::execute(const QString& sqlIn, const Params& params) {
    if (needsOwnTransaction(sqlIn)) {
        Transaction t(*this);
        const qint64 n = execute(sqlIn, params);
        t.commit();
        return n;
    }
    // Schema steps add columns as well as tables: both are translated.
    static const QRegularExpression create(QStringLiteral("^\\s*(create|alter)\\s+table\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    const bool ddl = create.match(sqlIn).hasMatch();
    PGresult* res = run(ddl ? sql::postgresDdl(sqlIn) : sqlIn, params, nullptr, {});
    const qint64 n = QByteArray(PQcmdTuples(res)).toLongLong();
    PQclear(res);
    if (ddl) {
        m_tables.clear();
        m_tableOids.clear();
        m_meta.clear();
    }
    return n;
}

qint64 PgEngine::insert(const QString& sql, const Params& params, const QString& keyColumn) {
    if (needsOwnTransaction(sql)) {
        Transaction t(*this);
        const qint64 key = insert(sql, params, keyColumn);
        t.commit();
        return key;
    }
    PGresult* res = run(sql + QStringLiteral(" RETURNING ") + keyColumn, params, nullptr, {});
    const qint64 key = PQntuples(res) ? QByteArray(PQgetvalue(res, 0, 0)).toLongLong() : 0;
    PQclear(res);
    return key;
}

void PgEngine::fail(PGresult* res, const QString& sql) {
    const QString state = diag(res, PG_DIAG_SQLSTATE);
    const QString message =
        res ? diag(res, PG_DIAG_MESSAGE_PRIMARY) : QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    const QString detail = diag(res, PG_DIAG_MESSAGE_DETAIL);
    const QString table = diag(res, PG_DIAG_TABLE_NAME);
    const QString column = diag(res, PG_DIAG_COLUMN_NAME);
    PQclear(res);
    if (state == QLatin1String("23505")) { // unique_violation: "Key (a, b)=(1, x) already exists."
        static const QRegularExpression keyRe(QStringLiteral("^Key \\(([^)]*)\\)="));
        throw DatabaseError(QStringLiteral("Key violation on '%1'.").arg(keyRe.match(detail).captured(1)));
    }
    if (state == QLatin1String("23502"))
        throw DatabaseError(QStringLiteral("Field '%1' cannot contain a null value.").arg(column));
    if (state == QLatin1String("23503")) {
        // The error names the referencing table; the detail names the referenced one.
        if (message.startsWith(QLatin1String("update or delete")))
            throw DatabaseError(QStringLiteral("The record cannot be deleted or changed because table "
                                               "'%1' includes related records.")
                                    .arg(table));
        static const QRegularExpression parentRe(QStringLiteral("table \"([^\"]+)\""));
        throw DatabaseError(
            QStringLiteral(
                "You cannot add or change a record because a related record is required in table '%1'.")
                .arg(parentRe.match(detail).captured(1)));
    }
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw EngineError(dv::text("A conexão com o servidor de banco de dados foi perdida: %1")
                              .arg(QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()));
    throw EngineError(message + QStringLiteral(" [") + sql.simplified() + QLatin1Char(']'), state.toInt());
}

void PgEngine::begin() {
    if (m_depth == 0)
        command("BEGIN");
    else
        command(QStringLiteral("SAVEPOINT dv_sp%1").arg(m_depth).toUtf8().constData());
    ++m_depth;
    if (m_depth == 1) notifyBegun();
}

void PgEngine::commit() {
    if (m_depth == 0) throw EngineError(QStringLiteral("No transaction is active."));
    if (m_depth == 1) notifyCommitting();
    --m_depth;
    if (m_depth > 0) {
        command(QStringLiteral("RELEASE SAVEPOINT dv_sp%1").arg(m_depth).toUtf8().constData());
        return;
    }
    PGresult* res = PQexec(m_conn, "COMMIT");
    const ExecStatusType st = PQresultStatus(res);
    // A transaction the server had already failed answers COMMIT with ROLLBACK.
    const bool rolledBack = st == PGRES_COMMAND_OK && qstrcmp(PQcmdStatus(res), "ROLLBACK") == 0;
    if (st != PGRES_COMMAND_OK) fail(res, QStringLiteral("COMMIT"));
    PQclear(res);
    if (rolledBack) throw EngineError(QStringLiteral("The transaction was rolled back by the server."));
}

void PgEngine::rollback() {
    if (m_depth == 0) return;
    --m_depth;
    if (m_depth > 0) {
        const QByteArray n = QByteArray::number(m_depth);
        command(("ROLLBACK TO SAVEPOINT dv_sp" + n).constData());
        command(("RELEASE SAVEPOINT dv_sp" + n).constData());
    } else {
        command("ROLLBACK");
    }
}

namespace {

// A PostgreSQL client program: on the PATH, else in Debian's versioned folder.
QString clientProgram(const QString& name) {
    QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty()) {
        const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql"))
                                         .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& v : versions) {
            const QString candidate = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(v, name);
            if (QFileInfo(candidate).isExecutable()) program = candidate;
        }
    }
    if (program.isEmpty())
        throw EngineError(QStringLiteral("%1 was not found on this workstation.").arg(name));
    return program;
}

// Reads the end of a plain dump: it closes with this line (and at most a short
// \unrestrict line) only when pg_dump wrote everything.
bool dumpIsComplete(const QString& file) {
    QFile out(file);
    if (!out.open(QIODevice::ReadOnly) || out.size() < 64) return false;
    out.seek(qMax<qint64>(0, out.size() - 512));
    return out.read(512).contains("-- PostgreSQL database dump complete");
}

} // namespace

QProcessEnvironment PgEngine::clientEnvironment() const {
    // The connection's own parameters go through the environment, never the command line.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (PQconninfoOption* opts = PQconninfo(m_conn)) {
        const QHash<QString, QString> vars = {{"host", "PGHOST"},       {"hostaddr", "PGHOSTADDR"},
                                              {"port", "PGPORT"},       {"dbname", "PGDATABASE"},
                                              {"user", "PGUSER"},       {"password", "PGPASSWORD"},
                                              {"sslmode", "PGSSLMODE"}, {"passfile", "PGPASSFILE"}};
        for (PQconninfoOption* o = opts; o->keyword; ++o)
            if (o->val && vars.contains(QString::fromLatin1(o->keyword)))
                env.insert(vars.value(QString::fromLatin1(o->keyword)), QString::fromUtf8(o->val));
        PQconninfoFree(opts);
    }
    return env;
}

void PgEngine::backupTo(const QString& file, const QString&) {
    if (QFileInfo::exists(file)) throw EngineError(QStringLiteral("File '%1' already exists.").arg(file));
    const QString program = clientProgram(QStringLiteral("pg_dump"));
    const QString partial = file + QStringLiteral(".part");
    QFile::remove(partial);
    QProcess dump;
    dump.setProcessEnvironment(clientEnvironment());
    dump.setProcessChannelMode(QProcess::SeparateChannels);
    // --clean: the script drops what it recreates, so that it can be restored over the
    // live database in one transaction.
    dump.start(program,
               {QStringLiteral("--format=plain"), QStringLiteral("--no-password"),
                QStringLiteral("--encoding=UTF8"), QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                QStringLiteral("--no-owner"), QStringLiteral("--file"), partial});
    const bool finished = dump.waitForStarted() && dump.waitForFinished(-1);
    const QString errors = QString::fromLocal8Bit(dump.readAllStandardError()).trimmed();
    auto failWith = [&](const QString& why) {
        QFile::remove(partial);
        throw EngineError(why + (errors.isEmpty() ? QString() : QStringLiteral(": ") + errors));
    };
    if (!finished || dump.exitStatus() != QProcess::NormalExit || dump.exitCode() != 0)
        failWith(QStringLiteral("pg_dump did not complete"));
    if (!dumpIsComplete(partial)) failWith(QStringLiteral("The dump file is incomplete"));
    if (!QFile::rename(partial, file)) failWith(QStringLiteral("Could not write '%1'").arg(file));
}

void PgEngine::restoreFrom(const QString& file) {
    if (m_depth != 0) throw EngineError(QStringLiteral("A backup cannot be restored inside a transaction."));
    if (!QFileInfo(file).isFile()) throw EngineError(QStringLiteral("Could not find file '%1'.").arg(file));
    // Only a whole dump of this system's database is run.
    {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly) || !in.read(256).contains("-- PostgreSQL database dump") ||
            !dumpIsComplete(file))
            throw EngineError(
                QStringLiteral("'%1' is not a complete backup of the server database.").arg(file));
        in.seek(0);
        bool ours = false;
        while (!ours && !in.atEnd())
            ours = in.readLine().startsWith("CREATE TABLE public.paciente ");
        if (!ours)
            throw EngineError(
                QStringLiteral("'%1' is not a backup of this database: tables are missing.").arg(file));
    }
    QProcess psql;
    psql.setProcessEnvironment(clientEnvironment());
    psql.setProcessChannelMode(QProcess::SeparateChannels);
    // One transaction: a failure anywhere leaves the database as it was.
    psql.start(clientProgram(QStringLiteral("psql")),
               {QStringLiteral("--no-psqlrc"), QStringLiteral("--no-password"), QStringLiteral("--quiet"),
                QStringLiteral("--single-transaction"), QStringLiteral("--set=ON_ERROR_STOP=1"),
                QStringLiteral("--file"), file});
    const bool finished = psql.waitForStarted() && psql.waitForFinished(-1);
    const QString errors = QString::fromLocal8Bit(psql.readAllStandardError()).trimmed();
    if (!finished || psql.exitStatus() != QProcess::NormalExit || psql.exitCode() != 0)
        throw EngineError(QStringLiteral("The restore did not complete") +
                          (errors.isEmpty() ? QString() : QStringLiteral(": ") + errors));
    // The tables were made anew: what was learnt of them is gone.
    m_tables.clear();
    m_tableOids.clear();
    m_meta.clear();
}

} // namespace dv
