#include "SqlCipherEngine.h"
#include "CodeTextLookup.h"
#include "DbErrors.h"
#include "ParamValues.h"
#include "SqlDialect.h"
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <sqlcipher/sqlite3.h>

namespace dv {

namespace {

// The first line PRAGMA integrity_check gives: "ok" for a sound database.
QString integrityOf(sqlite3* db) {
    sqlite3_stmt* s = nullptr;
    QString check;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &s, nullptr) == SQLITE_OK &&
        sqlite3_step(s) == SQLITE_ROW)
        check = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    return check;
}

// The names of the tables of a database, in lower case.
QSet<QString> tableNamesOf(sqlite3* db) {
    QSet<QString> names;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, "select name from sqlite_master where type = 'table'", -1, &s, nullptr) ==
        SQLITE_OK)
        while (sqlite3_step(s) == SQLITE_ROW)
            names.insert(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))).toLower());
    sqlite3_finalize(s);
    return names;
}

QString lastMessage(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

FieldType typeOfDeclaration(const QString& declared, int* size) {
    const QString d = declared.trimmed().toUpper();
    static const QRegularExpression width(QStringLiteral("\\(\\s*(\\d+)"));
    const auto m = width.match(d);
    if (size) *size = m.hasMatch() ? m.captured(1).toInt() : 0;
    if (d.startsWith(QLatin1String("DECIMAL")) || d.startsWith(QLatin1String("NUMERIC"))) {
        static const QRegularExpression scale(QStringLiteral(",\\s*(\\d+)"));
        const auto s = scale.match(d);
        if (size) *size = 0;
        return (!s.hasMatch() || s.captured(1).toInt() == 0) ? FieldType::LargeInt : FieldType::Float;
    }
    if (d.contains(QLatin1String("CURRENCY")) || d.contains(QLatin1String("MONEY")))
        return FieldType::Currency;
    if (d.contains(QLatin1String("DATE")) || d.contains(QLatin1String("TIME"))) return FieldType::DateTime;
    if (d.contains(QLatin1String("INT"))) return FieldType::Integer;
    if (d.contains(QLatin1String("CHAR"))) return FieldType::String;
    if (d.contains(QLatin1String("TEXT")) || d.contains(QLatin1String("MEMO")) ||
        d.contains(QLatin1String("CLOB")))
        return FieldType::Memo;
    if (d.contains(QLatin1String("BLOB"))) return FieldType::Blob;
    if (d.contains(QLatin1String("DOUB")) || d.contains(QLatin1String("REAL")) ||
        d.contains(QLatin1String("FLOA")))
        return FieldType::Float;
    return FieldType::Unknown;
}

// Date parts of stored date-time text, for the month(), year() and day() the SQL uses.
void datePart(sqlite3_context* ctx, int argc, sqlite3_value** argv, int from, int len) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const char* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int n = sqlite3_value_bytes(argv[0]);
    if (!t || n < from + len) {
        sqlite3_result_null(ctx);
        return;
    }
    int v = 0;
    for (int i = from; i < from + len; ++i) {
        if (t[i] < '0' || t[i] > '9') {
            sqlite3_result_null(ctx);
            return;
        }
        v = v * 10 + (t[i] - '0');
    }
    sqlite3_result_int(ctx, v);
}
void fnYear(sqlite3_context* c, int n, sqlite3_value** v) {
    datePart(c, n, v, 0, 4);
}
void fnMonth(sqlite3_context* c, int n, sqlite3_value** v) {
    datePart(c, n, v, 5, 2);
}
void fnDay(sqlite3_context* c, int n, sqlite3_value** v) {
    datePart(c, n, v, 8, 2);
}

// Splits "a, b(c, d) as x, e" at top-level commas.
QStringList splitTopLevel(QStringView s) {
    QStringList out;
    int depth = 0, start = 0;
    QChar quote;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            out << s.mid(start, i - start).trimmed().toString();
            start = i + 1;
        }
    }
    out << s.mid(start).trimmed().toString();
    return out;
}

const QString kRowIdAlias = sql::rowIdAlias();

} // namespace

// ---------------------------------------------------------------------------

class SqlCipherEngine::StmtCursor : public Cursor {
public:
    StmtCursor(SqlCipherEngine* e, sqlite3_stmt* s, const QList<ColumnInfo>& cols, QString sql)
        : m_e(e), m_s(s), m_cols(cols), m_sql(std::move(sql)) {}
    ~StmtCursor() override { m_e->release(m_s); }
    const QList<ColumnInfo>& columns() const override { return m_cols; }
    bool next() override {
        if (m_done) return false;
        const int rc = sqlite3_step(m_s);
        if (rc == SQLITE_ROW) return true;
        m_done = true;
        if (rc == SQLITE_DONE) return false;
        m_e->fail(m_sql, {}, rc);
    }
    bool isNull(int c) const override { return sqlite3_column_type(m_s, c) == SQLITE_NULL; }
    qint64 integer(int c) const override {
        qint64 v = 0;
        integerValue(c, v);
        return v;
    }
    double real(int c) const override {
        if (m_cols[c].type == FieldType::Currency && sqlite3_column_type(m_s, c) == SQLITE_INTEGER)
            return double(sqlite3_column_int64(m_s, c)) / Currency::Scale;
        return sqlite3_column_double(m_s, c);
    }
    Currency currency(int c) const override {
        switch (sqlite3_column_type(m_s, c)) {
        case SQLITE_INTEGER:
            // Currency columns hold ten-thousandths; a plain integer expression holds units.
            return m_cols[c].type == FieldType::Currency ? Currency::fromRaw(sqlite3_column_int64(m_s, c))
                                                         : Currency::fromUnits(sqlite3_column_int64(m_s, c));
        case SQLITE_FLOAT:
            return m_cols[c].type == FieldType::Currency
                       ? Currency::fromRaw(qint64(std::llround(sqlite3_column_double(m_s, c))))
                       : Currency::fromDouble(sqlite3_column_double(m_s, c));
        case SQLITE_TEXT:
            return Currency::parse(QString::fromUtf8(utf8(c))).value_or(Currency());
        default:
            return Currency();
        }
    }
    QDateTime dateTime(int c) const override {
        if (sqlite3_column_type(m_s, c) != SQLITE_TEXT) return QDateTime();
        return sql::fromIsoText(QString::fromLatin1(utf8(c)));
    }
    QByteArrayView utf8(int c) const override {
        const char* t = reinterpret_cast<const char*>(sqlite3_column_text(m_s, c));
        return QByteArrayView(t, t ? sqlite3_column_bytes(m_s, c) : 0);
    }
    QByteArray blob(int c) const override {
        const void* p = sqlite3_column_blob(m_s, c);
        return QByteArray(static_cast<const char*>(p), p ? sqlite3_column_bytes(m_s, c) : 0);
    }
    bool textValue(int c, QByteArrayView& out) const override {
        // Text comes back as a null pointer only for a null (or an empty blob).
        const char* t = reinterpret_cast<const char*>(sqlite3_column_text(m_s, c));
        if (t) {
            out = QByteArrayView(t, sqlite3_column_bytes(m_s, c));
            return true;
        }
        out = QByteArrayView();
        return sqlite3_column_type(m_s, c) != SQLITE_NULL;
    }
    bool integerValue(int c, qint64& out) const override {
        switch (sqlite3_column_type(m_s, c)) {
        case SQLITE_NULL:
            return false;
        case SQLITE_FLOAT:
            out = qint64(sqlite3_column_double(m_s, c));
            return true;
        default:
            out = sqlite3_column_int64(m_s, c);
            return true;
        }
    }

private:
    SqlCipherEngine* m_e;
    sqlite3_stmt* m_s;
    const QList<ColumnInfo> m_cols;
    QString m_sql;
    bool m_done = false;
};

// ---------------------------------------------------------------------------

SqlCipherEngine::SqlCipherEngine(const QString& file, const QString& password) {
    openFile(file, password, false);
}

SqlCipherEngine::~SqlCipherEngine() {
    for (auto& e : m_cache)
        sqlite3_finalize(e.stmt);
    if (m_db) sqlite3_close_v2(m_db);
}

std::unique_ptr<SqlCipherEngine> SqlCipherEngine::create(const QString& file, const QString& password) {
    if (QFileInfo::exists(file)) throw EngineError(QStringLiteral("File '%1' already exists.").arg(file));
    std::unique_ptr<SqlCipherEngine> e(new SqlCipherEngine());
    e->openFile(file, password, true);
    return e;
}

void SqlCipherEngine::openFile(const QString& file, const QString& password, bool create) {
    m_file = file;
    m_password = password;
    if (!create && !QFileInfo(file).isFile()) {
        // A folder this user may not enter hides the file: say so, not that it is missing.
        const QFileInfo folder(QFileInfo(file).absolutePath());
        if (folder.isDir() && !folder.isExecutable())
            throw EngineError(
                dv::text("Não foi possível abrir o arquivo '%1': sem permissão de acesso à pasta '%2'.")
                    .arg(file, folder.absoluteFilePath()));
        throw EngineError(dv::text("O arquivo '%1' não foi encontrado.").arg(file));
    }
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = m_db ? lastMessage(m_db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw EngineError(dv::text("Não foi possível abrir o arquivo '%1': %2").arg(file, msg), rc);
    }
    const QByteArray key = password.toUtf8();
    if (!key.isEmpty()) sqlite3_key(m_db, key.constData(), int(key.size()));
    // The first read proves the key (SQLCipher decrypts lazily).
    rc = sqlite3_exec(m_db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw EngineError(dv::text("Senha inválida, ou '%1' não é um arquivo de banco de dados.").arg(file),
                          rc);
    }
    configure();
}

void SqlCipherEngine::configure() {
    sqlite3_busy_timeout(m_db, 10000);
    exec("PRAGMA foreign_keys = ON");
    exec("PRAGMA synchronous = FULL");
    // Decrypted pages kept for reuse: 8 MB, four times SQLite's default. A list read
    // whole (the patient registry) keeps its rows in its dataset; caching all its pages
    // besides would double the memory it costs for little gain when it is read again.
    exec("PRAGMA cache_size = -8192");
    sqlite3_create_function(m_db, "year", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnYear, nullptr,
                            nullptr);
    sqlite3_create_function(m_db, "month", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnMonth, nullptr,
                            nullptr);
    sqlite3_create_function(m_db, "day", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, fnDay, nullptr,
                            nullptr);
}

void SqlCipherEngine::exec(const char* sql) {
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "error");
        sqlite3_free(err);
        throw EngineError(msg, sqlite3_extended_errcode(m_db));
    }
}

const QList<ColumnInfo>& SqlCipherEngine::tableColumns(const QString& table) {
    const QString key = table.toLower();
    auto it = m_tables.find(key);
    if (it != m_tables.end()) return *it;

    QList<ColumnInfo> cols;
    bool autoinc = false;
    QString realName = table;
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(
            m_db, "select name, sql from sqlite_master where type = 'table' and lower(name) = lower(?1)", -1,
            &s, nullptr);
        const QByteArray t = table.toUtf8();
        sqlite3_bind_text(s, 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(s) == SQLITE_ROW) {
            realName = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
            autoinc = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)))
                          .contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        }
        sqlite3_finalize(s);
    }
    sqlite3_stmt* s = nullptr;
    const QByteArray pragma = "PRAGMA table_info(\"" + realName.toUtf8().replace('"', "\"\"") + "\")";
    sqlite3_prepare_v2(m_db, pragma.constData(), -1, &s, nullptr);
    int pkCount = 0;
    while (s && sqlite3_step(s) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
        c.baseTable = realName;
        c.baseColumn = c.name;
        c.type = typeOfDeclaration(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 2))), &c.size);
        c.notNull = sqlite3_column_int(s, 3) != 0;
        c.primaryKey = sqlite3_column_int(s, 5) != 0;
        if (c.primaryKey) ++pkCount;
        cols << c;
    }
    sqlite3_finalize(s);
    if (cols.isEmpty()) throw EngineError(QStringLiteral("no such table: %1").arg(table));
    for (auto& c : cols)
        if (c.primaryKey && pkCount == 1 && c.type == FieldType::Integer && autoinc) {
            c.type = FieldType::AutoInc;
            c.autoIncrement = true;
        }
    return *m_tables.insert(key, cols);
}

FieldType SqlCipherEngine::typeOfExpression(const QString& expr, const QStringList& tables) {
    const QString e = expr.trimmed().toLower();
    if (e.startsWith(QLatin1String("count"))) return FieldType::Integer;
    static const QRegularExpression ident(QStringLiteral("[a-z_][a-z0-9_]*(?:\\.[a-z_][a-z0-9_]*)?"));
    auto it = ident.globalMatch(e);
    while (it.hasNext()) {
        const auto m = it.next();
        // Skip function names.
        const int after = int(m.capturedEnd());
        int k = after;
        while (k < e.size() && e[k].isSpace())
            ++k;
        if (k < e.size() && e[k] == QLatin1Char('(')) continue;
        QString name = m.captured(0);
        if (name.contains(QLatin1Char('.'))) name = name.section(QLatin1Char('.'), 1);
        for (const QString& t : tables) {
            try {
                for (const ColumnInfo& c : tableColumns(t))
                    if (c.name.compare(name, Qt::CaseInsensitive) == 0)
                        return c.type == FieldType::AutoInc ? FieldType::Integer : c.type;
            } catch (const EngineError&) {
            }
        }
    }
    return FieldType::Unknown;
}

QList<ColumnInfo> SqlCipherEngine::describe(sqlite3_stmt* stmt, const QString& sql) {
    const int n = sqlite3_column_count(stmt);
    QList<ColumnInfo> cols;
    cols.reserve(n);
    QStringList items;
    QStringList tables;
    bool parsed = false;
    for (int i = 0; i < n; ++i) {
        ColumnInfo c;
        c.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* table = sqlite3_column_table_name(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        if (c.name == kRowIdAlias) {
            c.type = FieldType::Integer;
            c.rowIdentity = true;
        } else if (table && origin) {
            const QString t = QString::fromUtf8(table), o = QString::fromUtf8(origin);
            for (const ColumnInfo& tc : tableColumns(t))
                if (tc.name.compare(o, Qt::CaseInsensitive) == 0) {
                    const QString alias = c.name;
                    c = tc;
                    c.name = alias;
                    break;
                }
            if (c.baseTable.isEmpty()) { // rowid and the like
                c.baseTable = t;
                c.baseColumn = o;
                c.type = FieldType::Integer;
            }
        } else {
            if (!parsed) {
                parsed = true;
                const int from = sql::topLevelFrom(sql);
                static const QRegularExpression head(QStringLiteral("^\\s*select\\s+(distinct\\s+)?"),
                                                     QRegularExpression::CaseInsensitiveOption);
                const auto h = head.match(sql);
                if (from > 0 && h.hasMatch())
                    items = splitTopLevel(QStringView(sql).mid(h.capturedEnd(), from - h.capturedEnd()));
                static const QRegularExpression tre(
                    QStringLiteral("\\b(?:from|join)\\s+([A-Za-z_][A-Za-z0-9_]*)"),
                    QRegularExpression::CaseInsensitiveOption);
                auto it = tre.globalMatch(sql);
                while (it.hasNext())
                    tables << it.next().captured(1);
            }
            QString expr = c.name;
            if (items.size() == n) {
                static const QRegularExpression alias(QStringLiteral("\\s+as\\s+\\S+\\s*$"),
                                                      QRegularExpression::CaseInsensitiveOption);
                expr = items[i];
                expr.remove(alias);
            }
            c.type = typeOfExpression(expr, tables);
            if (c.type == FieldType::Blob) c.type = FieldType::Unknown;
        }
        cols << c;
    }
    return cols;
}

sqlite3_stmt* SqlCipherEngine::prepare(const QString& sqlIn, const Params& params, QList<ColumnInfo>* columns,
                                       const QueryOptions& options) {
    const QString cacheKey =
        sqlIn + QLatin1Char('\x01') + QChar(u'0' + options.deferBlobs) + QChar(u'0' + options.rowIdentity);
    auto it = m_cache.find(cacheKey);
    if (it != m_cache.end() && !it->inUse) {
        it->inUse = true;
        bind(it->stmt, it->names, params);
        if (columns) *columns = it->overrides;
        ++m_statements;
        return it->stmt;
    }

    QString text = sql::translateDateLiterals(sqlIn);
    QList<ColumnInfo> overrides;
    if (options.deferBlobs || options.rowIdentity) {
        const QString star = sql::singleTableOfSelectStar(text);
        if (!star.isEmpty()) {
            const QList<ColumnInfo>& tcols = tableColumns(star);
            QStringList list;
            for (const ColumnInfo& c : tcols) {
                const QString q = QLatin1Char('"') + c.name + QLatin1Char('"');
                ColumnInfo o = c;
                if (c.type == FieldType::Blob && options.deferBlobs) {
                    list << QStringLiteral("length(%1) AS %1").arg(q);
                    o.deferred = true;
                } else {
                    list << q;
                }
                overrides << o;
            }
            if (options.rowIdentity && !sql::aggregates(text)) {
                list << QStringLiteral("rowid AS ") + kRowIdAlias;
                ColumnInfo r;
                r.name = kRowIdAlias;
                r.baseTable = tcols.first().baseTable;
                r.baseColumn = QStringLiteral("rowid");
                r.type = FieldType::Integer;
                r.rowIdentity = true;
                overrides << r;
            }
            const int starPos = int(text.indexOf(QLatin1Char('*')));
            text = text.left(starPos) + list.join(QStringLiteral(", ")) + text.mid(starPos + 1);
        } else if (options.rowIdentity && !sql::aggregates(text)) {
            const QString table = sql::singleTableOfSelect(text);
            const int from = sql::topLevelFrom(text);
            if (!table.isEmpty() && from > 0)
                text = text.left(from) + QStringLiteral(", \"%1\".rowid AS %2 ").arg(table, kRowIdAlias) +
                       text.mid(from);
        }
    }
    const sql::PreparedText p =
        sql::bindNames(text, [](int i) { return QLatin1Char('?') + QString::number(i); });
    sqlite3_stmt* stmt = nullptr;
    const QByteArray utf8 = p.text.toUtf8();
    const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        throw EngineError(lastMessage(m_db) + QStringLiteral(" [") + sqlIn.simplified() + QLatin1Char(']'),
                          rc);
    }
    if (!stmt) throw EngineError(QStringLiteral("Empty statement."));
    if (overrides.isEmpty() && sqlite3_column_count(stmt) > 0) overrides = describe(stmt, text);
    if (columns) *columns = overrides;
    try {
        bind(stmt, p.names, params);
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    ++m_statements;
    if (it == m_cache.end()) {
        if (m_cache.size() >= 256) {
            for (auto c = m_cache.begin(); c != m_cache.end();) {
                if (!c->inUse) {
                    sqlite3_finalize(c->stmt);
                    c = m_cache.erase(c);
                } else {
                    ++c;
                }
            }
        }
        m_cache.insert(cacheKey, CacheEntry{stmt, p.names, overrides, true});
    }
    return stmt;
}

void SqlCipherEngine::bind(sqlite3_stmt* stmt, const QStringList& names, const Params& params) {
    for (int i = 0; i < names.size(); ++i) {
        const Param* param = nullptr;
        for (const Param& pr : params)
            if (pr.name.compare(names[i], Qt::CaseInsensitive) == 0) {
                param = &pr;
                break;
            }
        if (!param) throw EngineError(QStringLiteral("No value given for parameter '%1'.").arg(names[i]));
        const int idx = i + 1;
        const QVariant& v = param->value;
        if (!v.isValid() || v.isNull()) {
            sqlite3_bind_null(stmt, idx);
            continue;
        }
        auto bindText = [&](const QString& s) {
            const QByteArray b = s.toUtf8();
            sqlite3_bind_text(stmt, idx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        };
        switch (param->type) {
        case ParamType::Integer:
            sqlite3_bind_int64(stmt, idx, integerValue(*param));
            break;
        case ParamType::Float:
            sqlite3_bind_double(stmt, idx, v.toDouble());
            break;
        case ParamType::Currency:
            sqlite3_bind_int64(stmt, idx, currencyValue(*param).raw());
            break;
        case ParamType::DateTime:
            bindText(sql::isoText(dateTimeValue(*param)));
            break;
        case ParamType::Blob: {
            const QByteArray b = v.toByteArray();
            sqlite3_bind_blob(stmt, idx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case ParamType::Text:
        case ParamType::String:
            bindText(textValue(*param));
            break;
        }
    }
}

void SqlCipherEngine::release(sqlite3_stmt* stmt) {
    for (auto& e : m_cache)
        if (e.stmt == stmt) {
            sqlite3_reset(stmt);
            sqlite3_clear_bindings(stmt);
            e.inUse = false;
            return;
        }
    sqlite3_finalize(stmt);
}

std::unique_ptr<Cursor> SqlCipherEngine::query(const QString& sql, const Params& params,
                                               const QueryOptions& options) {
    QList<ColumnInfo> cols;
    sqlite3_stmt* stmt = prepare(sql, params, &cols, options);
    return std::make_unique<StmtCursor>(this, stmt, cols, sql);
}

qint64 SqlCipherEngine::execute(const QString& sql, const Params& params) {
    if (needsOwnTransaction(sql)) {
        Transaction t(*this);
        const qint64 n = execute(sql, params);
        t.commit();
        return n;
    }
    sqlite3_stmt* stmt = prepare(sql, params, nullptr, {});
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        // The message must be read before the statement is reset.
        try {
            fail(sql, params, rc);
        } catch (...) {
            release(stmt);
            throw;
        }
    }
    release(stmt);
    return sqlite3_changes(m_db);
}

qint64 SqlCipherEngine::insert(const QString& sql, const Params& params, const QString&) {
    execute(sql, params);
    return sqlite3_last_insert_rowid(m_db);
}

void SqlCipherEngine::fail(const QString& sql, const Params& params, int rc) {
    const int ext = sqlite3_extended_errcode(m_db);
    const QString msg = lastMessage(m_db);
    const QString detail = msg.section(QStringLiteral(": "), 1);
    auto columnsOf = [&](const QString& list) {
        QStringList cols;
        for (const QString& c : list.split(QLatin1Char(',')))
            cols << c.trimmed().section(QLatin1Char('.'), -1);
        return cols.join(QStringLiteral(", "));
    };
    switch (ext) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        throw DatabaseError(QStringLiteral("Key violation on '%1'.").arg(columnsOf(detail)));
    case SQLITE_CONSTRAINT_NOTNULL:
        throw DatabaseError(QStringLiteral("Field '%1' cannot contain a null value.").arg(columnsOf(detail)));
    case SQLITE_CONSTRAINT_FOREIGNKEY: {
        const QString verb = sql.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
        if (verb == QLatin1String("delete") || verb == QLatin1String("update")) {
            const QString child = relatedChildTable(sql, params);
            if (!child.isEmpty())
                throw DatabaseError(QStringLiteral("The record cannot be deleted or changed because table "
                                                   "'%1' includes related records.")
                                        .arg(child));
        }
        throw DatabaseError(
            QStringLiteral(
                "You cannot add or change a record because a related record is required in table '%1'.")
                .arg(requiredParentTable(sql)));
    }
    default:
        throw EngineError(msg, ext ? ext : rc);
    }
}

QString SqlCipherEngine::relatedChildTable(const QString& sql, const Params& params) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:delete\\s+from|update)\\s+\"?([A-Za-z_][A-Za-z0-9_]*)\"?.*?\\bwhere\\b(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    static const QRegularExpression tableOnly(
        QStringLiteral("^\\s*(?:delete\\s+from|update)\\s+\"?([A-Za-z_][A-Za-z0-9_]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString parent = m.hasMatch() ? m.captured(1) : tableOnly.match(sql).captured(1);
    if (parent.isEmpty()) return QString();
    QStringList candidates;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(m_db, "select name from sqlite_master where type = 'table'", -1, &s, nullptr);
    QStringList tables;
    while (s && sqlite3_step(s) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
    sqlite3_finalize(s);
    for (const QString& t : tables) {
        const QByteArray pragma = "PRAGMA foreign_key_list(\"" + t.toUtf8() + "\")";
        sqlite3_prepare_v2(m_db, pragma.constData(), -1, &s, nullptr);
        while (s && sqlite3_step(s) == SQLITE_ROW) {
            const QString target =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 2)));
            if (target.compare(parent, Qt::CaseInsensitive) != 0) continue;
            const QString from = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 3)));
            const char* to = reinterpret_cast<const char*>(sqlite3_column_text(s, 4));
            if (!m.hasMatch()) {
                candidates << t;
                continue;
            }
            const QString toCol = to ? QString::fromUtf8(to) : from;
            const QString probe =
                QStringLiteral(
                    "select 1 from \"%1\" where \"%2\" in (select \"%3\" from \"%4\" where %5) limit 1")
                    .arg(t, from, toCol, parent, m.captured(2));
            candidates << t;
            try {
                auto c = query(probe, params);
                if (c->next()) {
                    sqlite3_finalize(s);
                    return t;
                }
            } catch (const Error&) {
            }
        }
        sqlite3_finalize(s);
        s = nullptr;
    }
    return candidates.value(0);
}

QString SqlCipherEngine::requiredParentTable(const QString& sql) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(?:insert\\s+into|update)\\s+\"?([A-Za-z_][A-Za-z0-9_]*)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString table = re.match(sql).captured(1);
    if (table.isEmpty()) return QString();
    sqlite3_stmt* s = nullptr;
    const QByteArray pragma = "PRAGMA foreign_key_list(\"" + table.toUtf8() + "\")";
    sqlite3_prepare_v2(m_db, pragma.constData(), -1, &s, nullptr);
    QString parent;
    if (s && sqlite3_step(s) == SQLITE_ROW)
        parent = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 2)));
    sqlite3_finalize(s);
    return parent;
}

void SqlCipherEngine::begin() {
    if (m_depth == 0)
        exec("BEGIN IMMEDIATE");
    else
        exec(QStringLiteral("SAVEPOINT dv_sp%1").arg(m_depth).toUtf8().constData());
    ++m_depth;
    if (m_depth == 1) notifyBegun();
}

void SqlCipherEngine::commit() {
    if (m_depth == 0) throw EngineError(QStringLiteral("No transaction is active."));
    if (m_depth == 1) notifyCommitting();
    --m_depth;
    if (m_depth > 0) {
        exec(QStringLiteral("RELEASE dv_sp%1").arg(m_depth).toUtf8().constData());
        return;
    }
    try {
        exec("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void SqlCipherEngine::rollback() {
    if (m_depth == 0) return;
    --m_depth;
    if (m_depth > 0) {
        const QByteArray n = QByteArray::number(m_depth);
        exec(("ROLLBACK TO dv_sp" + n).constData());
        exec(("RELEASE dv_sp" + n).constData());
    } else {
        exec("ROLLBACK");
    }
}

void SqlCipherEngine::backupTo(const QString& file, const QString& password) {
    if (QFileInfo::exists(file)) throw EngineError(QStringLiteral("File '%1' already exists.").arg(file));
    sqlite3* dest = nullptr;
    auto failWith = [&](const QString& what) {
        const QString msg = dest ? lastMessage(dest) : QString();
        if (dest) sqlite3_close_v2(dest);
        QFile::remove(file);
        throw EngineError(what + (msg.isEmpty() ? QString() : QStringLiteral(": ") + msg));
    };
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &dest,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        failWith(QStringLiteral("Could not create '%1'").arg(file));
    // Keyed before anything is written: an unkeyed destination would get a plaintext copy.
    const QByteArray key = password.toUtf8();
    sqlite3_key(dest, key.constData(), int(key.size()));
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", m_db, "main");
    if (!b) failWith(QStringLiteral("Could not start the backup"));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) failWith(QStringLiteral("The backup did not complete"));
    const QString check = integrityOf(dest);
    if (check != QLatin1String("ok"))
        failWith(QStringLiteral("The backup copy failed its integrity check (%1)").arg(check));
    sqlite3_close_v2(dest);
}

void SqlCipherEngine::restoreFrom(const QString& file) {
    if (m_depth != 0) throw EngineError(QStringLiteral("A backup cannot be restored inside a transaction."));
    for (const CacheEntry& e : std::as_const(m_cache))
        if (e.inUse)
            throw EngineError(QStringLiteral("A backup cannot be restored while a query is being read."));
    if (!QFileInfo(file).isFile()) throw EngineError(QStringLiteral("Could not find file '%1'.").arg(file));

    // The copy is proved sound, read-only, before the live database is touched.
    sqlite3* source = nullptr;
    auto failWith = [&](const QString& what) {
        if (source) sqlite3_close_v2(source);
        throw EngineError(what);
    };
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &source, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK)
        failWith(QStringLiteral("Could not open file '%1'.").arg(file));
    const QByteArray key = m_password.toUtf8();
    if (!key.isEmpty()) sqlite3_key(source, key.constData(), int(key.size()));
    if (sqlite3_exec(source, "select count(*) from sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        failWith(dv::text("Senha inválida, ou '%1' não é um arquivo de banco de dados.").arg(file));
    const QString check = integrityOf(source);
    if (check != QLatin1String("ok"))
        failWith(QStringLiteral("'%1' failed its integrity check (%2).").arg(file, check));
    if (!tableNamesOf(source).contains(tableNamesOf(m_db)))
        failWith(QStringLiteral("'%1' is not a backup of this database: tables are missing.").arg(file));

    // Cached statements hold the old schema; the copy replaces it whole.
    for (CacheEntry& e : m_cache)
        sqlite3_finalize(e.stmt);
    m_cache.clear();
    m_tables.clear();
    sqlite3_backup* b = sqlite3_backup_init(m_db, "main", source, "main");
    if (!b) failWith(QStringLiteral("Could not start the restore: %1").arg(lastMessage(m_db)));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        failWith(QStringLiteral("The restore did not complete: %1").arg(lastMessage(m_db)));
    sqlite3_close_v2(source);
}

} // namespace dv
