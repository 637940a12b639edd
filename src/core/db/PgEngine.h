#pragma once
#include "Engine.h"
#include <QHash>
#include <QList>
#include <QProcessEnvironment>
#include <memory>

struct pg_conn;
struct pg_result;

namespace dv {

// The server engine: one libpq connection to a PostgreSQL database, for clinics whose
// workstations share one database. The same types, dialect and error kinds as the
// embedded engine; the tables come from the same definitions (see PgDialect.h).
class PgEngine : public Connection {
public:
    // conninfo: a postgresql:// URL or a libpq keyword string; the password may also
    // come from ~/.pgpass or PGPASSWORD, as libpq reads them. Throws EngineError.
    explicit PgEngine(const QString& conninfo);
    ~PgEngine() override;

    static bool isServerSource(const QString& dataSource);

    QString engineName() const override { return QStringLiteral("postgresql"); }
    qint64 statementCount() const override { return m_statements; }
    std::unique_ptr<Cursor> query(const QString& sql, const Params& params = {},
                                  const QueryOptions& options = {}) override;
    qint64 execute(const QString& sql, const Params& params = {}) override;
    qint64 insert(const QString& sql, const Params& params, const QString& keyColumn) override;
    const QList<ColumnInfo>& tableColumns(const QString& table) override;
    QString rowIdentityName() const override;
    void begin() override;
    void commit() override;
    void rollback() override;
    int transactionDepth() const override { return m_depth; }
    QString backupExtension() const override { return QStringLiteral(".dat"); }
    void backupTo(const QString& file, const QString& password) override;
    // Runs a dump made by backupTo over the database, in one transaction.
    void restoreFrom(const QString& file) override;

    // Runs a script of several statements without parameters (schema creation).
    void executeScript(const QString& sql);
    // Names of the ordinary tables of the connection's schema.
    QStringList tableNames();
    QString conninfo() const { return m_conninfo; }

private:
    class ResultCursor;
    struct TableMeta {
        QString name;
        QHash<int, int> columnOfAttnum; // attribute number -> index in columns
        bool hasRowId = false;
    };

    pg_result* run(const QString& sql, const Params& params, QList<ColumnInfo>* columns,
                   const QueryOptions& options);
    QString orderedByKey(const QString& text, const QString& table);
    QString rewrite(const QString& sql, const QueryOptions& options, QList<ColumnInfo>* overrides);
    QList<ColumnInfo> describe(pg_result* res);
    const TableMeta* metaOf(unsigned oid);
    [[noreturn]] void fail(pg_result* res, const QString& sql);
    void command(const char* sql);
    // libpq's variables for the client programs (pg_dump, psql) naming this connection.
    QProcessEnvironment clientEnvironment() const;

    pg_conn* m_conn = nullptr;
    QString m_conninfo;
    int m_depth = 0;
    qint64 m_statements = 0;
    QHash<QString, QList<ColumnInfo>> m_tables; // lower-case name
    QHash<QString, unsigned> m_tableOids;       // lower-case name
    QHash<unsigned, TableMeta> m_meta;          // table oid
};

} // namespace dv
