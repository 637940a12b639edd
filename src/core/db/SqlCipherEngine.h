#pragma once
#include "Engine.h"
#include <QHash>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace dv {

// The embedded engine: one SQLCipher file, keyed with the database password.
class SqlCipherEngine : public Connection {
public:
    // Opens an existing file; throws EngineError when it is missing or cannot be opened with the key.
    SqlCipherEngine(const QString& file, const QString& password);
    ~SqlCipherEngine() override;

    // Makes a new, empty keyed database file (fails if the file exists).
    static std::unique_ptr<SqlCipherEngine> create(const QString& file, const QString& password);

    QString engineName() const override { return QStringLiteral("sqlcipher"); }
    std::unique_ptr<Cursor> query(const QString& sql, const Params& params = {},
                                  const QueryOptions& options = {}) override;
    qint64 execute(const QString& sql, const Params& params = {}) override;
    qint64 insert(const QString& sql, const Params& params, const QString& keyColumn) override;
    const QList<ColumnInfo>& tableColumns(const QString& table) override;
    QString rowIdentityName() const override { return QStringLiteral("rowid"); }
    void begin() override;
    void commit() override;
    void rollback() override;
    int transactionDepth() const override { return m_depth; }

    sqlite3* handle() const { return m_db; }
    QString fileName() const { return m_file; }
    // Number of statements run since opening (tests use it to see what was fetched).
    qint64 statementCount() const override { return m_statements; }
    QString databaseFile() const override { return m_file; }
    QString backupExtension() const override { return QStringLiteral(".mdb"); }
    // Consistent snapshot of the whole database into a new keyed file, verified afterwards.
    void backupTo(const QString& file, const QString& password) override;
    void backupTo(const QString& file) override { backupTo(file, m_password); }
    void restoreFrom(const QString& file) override;

private:
    struct Prepared;
    class StmtCursor;
    friend class StmtCursor;

    SqlCipherEngine() = default;
    void openFile(const QString& file, const QString& password, bool create);
    void configure();
    sqlite3_stmt* prepare(const QString& sql, const Params& params, QList<ColumnInfo>* overrides,
                          const QueryOptions& options);
    void bind(sqlite3_stmt* stmt, const QStringList& names, const Params& params);
    void release(sqlite3_stmt* stmt);
    [[noreturn]] void fail(const QString& sql, const Params& params, int rc);
    void exec(const char* sql);
    QList<ColumnInfo> describe(sqlite3_stmt* stmt, const QString& sql);
    FieldType typeOfExpression(const QString& expr, const QStringList& tables);
    QString relatedChildTable(const QString& sql, const Params& params);
    QString requiredParentTable(const QString& sql);

    sqlite3* m_db = nullptr;
    QString m_file;
    QString m_password;
    int m_depth = 0;
    qint64 m_statements = 0;
    QHash<QString, QList<ColumnInfo>> m_tables; // lower-case name
    struct CacheEntry {
        sqlite3_stmt* stmt = nullptr;
        QStringList names;
        QList<ColumnInfo> overrides;
        bool inUse = false;
    };
    QHash<QString, CacheEntry> m_cache;
};

} // namespace dv
