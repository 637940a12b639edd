#pragma once
#include "Currency.h"
#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

namespace dv {

// What a column holds, as the screens see it (independent of the engine's own types).
enum class FieldType {
    Unknown,
    Integer,  // 32-bit integer
    AutoInc,  // integer key numbered by the database
    LargeInt, // decimal(18,0): whole numbers beyond 32 bits (colour numbers)
    Float,
    Currency, // exact, four decimals (dv::Currency)
    DateTime,
    String, // text(n)
    Memo,   // unbounded text
    Blob,   // picture bytes
};

struct ColumnInfo {
    QString name;       // the name the result gives the column (alias if any)
    QString baseTable;  // table the column comes from; empty for expressions
    QString baseColumn; // column in that table
    FieldType type = FieldType::Unknown;
    int size = 0; // declared width of text(n)
    bool primaryKey = false;
    bool autoIncrement = false;
    bool notNull = false;
    // The column carries only whether a value exists; read the bytes with a
    // separate query by the row's key (blobs are not loaded with the rows).
    bool deferred = false;
    // The engine's own row identity appended by QueryOptions::rowIdentity.
    bool rowIdentity = false;
};

// String and Text bind text verbatim, whatever it reads like (a login "01/02/2020");
// a QDate/QDateTime given to them binds as the date. DateTime binds a date: a QDate,
// a QDateTime, or text holding a month-first date ("mm/dd/yyyy", optionally followed
// by " 00:00:00") or a stored date: statements comparing such text with dates use it.
enum class ParamType { Integer, String, Currency, DateTime, Float, Blob, Text };

// A named, typed parameter; a null QVariant binds SQL NULL.
struct Param {
    QString name; // without the colon
    ParamType type = ParamType::String;
    QVariant value;
};
using Params = QList<Param>;

struct QueryOptions {
    // For "select * from <table> ..." over one table: blob columns come back deferred.
    bool deferBlobs = false;
    // For a query over one table: append the engine's row identity as a last column
    // (ColumnInfo::rowIdentity), so rows of tables without a key can be updated.
    bool rowIdentity = false;
};

// Forward-only reader over a result. Text views stay valid until the next call to next().
class Cursor {
public:
    virtual ~Cursor() = default;
    virtual const QList<ColumnInfo>& columns() const = 0;
    // Moves to the next row; false when there is none. Call once before the first row.
    virtual bool next() = 0;
    virtual bool isNull(int column) const = 0;
    virtual qint64 integer(int column) const = 0;
    virtual double real(int column) const = 0;
    virtual Currency currency(int column) const = 0;
    virtual QDateTime dateTime(int column) const = 0; // local time, no time zone
    virtual QByteArrayView utf8(int column) const = 0;
    virtual QByteArray blob(int column) const = 0;
    // The value, or false for a null: one question where an engine can answer both at
    // once (loading many rows asks these for every value).
    virtual bool textValue(int column, QByteArrayView& out) const {
        if (isNull(column)) return false;
        out = utf8(column);
        return true;
    }
    virtual bool integerValue(int column, qint64& out) const {
        if (isNull(column)) return false;
        out = integer(column);
        return true;
    }
};

class Connection;

// Told of every outermost transaction of a connection: the audit trail seals the
// rows its triggers wrote before the transaction commits. A throw from committing()
// rolls the transaction back.
class TransactionObserver {
public:
    virtual ~TransactionObserver() = default;
    virtual void begun(Connection& c) = 0;
    virtual void committing(Connection& c) = 0;
};

// One open database. Every error is raised as EngineError (the engine's message) or,
// for a write that would orphan child rows, DatabaseError with the related-records phrase.
class Connection {
public:
    virtual ~Connection() = default;

    // Opens the database named by an ADO-style connection string (see ConnectionString).
    // A relative file path is taken relative to baseFolder.
    static std::unique_ptr<Connection> open(const QString& connectionString, const QString& baseFolder);

    virtual QString engineName() const = 0;
    // Statements run since opening (tests and benchmarks see what was fetched).
    virtual qint64 statementCount() const = 0;

    // SQL as the system writes it; the engine translates its dialect (date literals
    // #mm/dd/yyyy#, month(), month-first dates in DateTime parameters) before running it.
    virtual std::unique_ptr<Cursor> query(const QString& sql, const Params& params = {},
                                          const QueryOptions& options = {}) = 0;
    // Runs a statement that returns no rows; gives the number of rows it changed.
    virtual qint64 execute(const QString& sql, const Params& params = {}) = 0;
    // Runs an INSERT and gives the key the database numbered in keyColumn.
    virtual qint64 insert(const QString& sql, const Params& params, const QString& keyColumn) = 0;

    // Columns of a table with their types, widths and key flags (cached). Names compare
    // without regard to case. Throws EngineError for an unknown table.
    virtual const QList<ColumnInfo>& tableColumns(const QString& table) = 0;
    // The column name under which QueryOptions::rowIdentity appears, usable in WHERE.
    virtual QString rowIdentityName() const = 0;

    // Nested transactions: the outermost begins and commits; inner levels are savepoints.
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual int transactionDepth() const = 0;

    // The file holding the database; empty for a database on a server.
    virtual QString databaseFile() const { return {}; }
    // The backup of the whole database: a keyed copy of the embedded file (".mdb",
    // keyed with password), or the server's pg_dump SQL script (".dat", password
    // unused). Never overwrites; throws EngineError unless the copy is complete.
    virtual QString backupExtension() const = 0;
    virtual void backupTo(const QString& file, const QString& password) = 0;
    // The same with the database's own key (the backup screen's copy).
    virtual void backupTo(const QString& file) { backupTo(file, QString()); }
    // Replaces the whole database with a copy made by backupTo, only once that copy has
    // proved sound (it opens with the key, passes the integrity check and holds this
    // database's tables); otherwise it throws and nothing changes. Not inside a transaction.
    virtual void restoreFrom(const QString& file);

    // While an observer watches, a write outside any transaction runs in one of its
    // own, so that the observer sees every change commit.
    void setTransactionObserver(TransactionObserver* observer) { m_observer = observer; }
    TransactionObserver* transactionObserver() const { return m_observer; }

protected:
    bool needsOwnTransaction(const QString& sql) const;
    // Called by the engines at depth 1; a throw rolls the transaction back first.
    void notifyBegun();
    void notifyCommitting();

private:
    TransactionObserver* m_observer = nullptr;
};

// RAII guard: rolls back unless commit() was called.
class Transaction {
public:
    explicit Transaction(Connection& c) : m_c(c) { m_c.begin(); }
    ~Transaction() {
        if (!m_done) {
            try {
                m_c.rollback();
            } catch (...) {
            }
        }
    }
    void commit() {
        m_c.commit();
        m_done = true;
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Connection& m_c;
    bool m_done = false;
};

} // namespace dv
