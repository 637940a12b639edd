#include "PgInstall.h"
#include "DbErrors.h"
#include "ParamValues.h"
#include "PgEngine.h"
#include "SchemaUpgrade.h"
#include <QDir>
#include <QFile>

namespace dv {

namespace {

QString readScript(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw PlainError(QStringLiteral("%1: cannot read: %2").arg(path, f.errorString()));
    return QString::fromUtf8(f.readAll());
}

QStringList column(Connection& c, const QString& sql) {
    QStringList out;
    auto cur = c.query(sql);
    while (cur->next())
        out << QString::fromUtf8(cur->utf8(0));
    return out;
}

} // namespace

void copyTableRows(Connection& source, PgEngine& target, const QString& table,
                   const QStringList& skipColumns) {
    QList<ColumnInfo> cols;
    for (const ColumnInfo& c : source.tableColumns(table))
        if (!skipColumns.contains(c.name, Qt::CaseInsensitive)) cols << c;
    QStringList names;
    for (const ColumnInfo& c : cols)
        names << QLatin1Char('"') + c.name.toLower() + QLatin1Char('"');
    const QString head =
        QStringLiteral("insert into %1 (%2) values ").arg(table, names.join(QStringLiteral(", ")));
    auto cur = source.query(QStringLiteral("select %1 from %2").arg(names.join(QStringLiteral(", ")), table));
    const int perStatement = qMax(1, 2000 / int(cols.size()));
    QStringList tuples;
    Params params;
    auto flush = [&] {
        if (tuples.isEmpty()) return;
        target.execute(head + tuples.join(QStringLiteral(", ")), params);
        tuples.clear();
        params.clear();
    };
    while (cur->next()) {
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i) {
            const QString name = QStringLiteral("r%1c%2").arg(tuples.size()).arg(i);
            marks << QLatin1Char(':') + name;
            params << Param{name, paramTypeOf(cols[i].type), cursorValue(*cur, i, cols[i].type)};
        }
        tuples << QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        if (tuples.size() >= perStatement) flush();
    }
    flush();
}

void createServerDatabase(Connection& source, PgEngine& target, const QString& schemaDir) {
    if (!target.tableNames().isEmpty())
        throw PlainError(
            QStringLiteral("The database already has tables; Dentrivale is created only in an empty "
                           "database."));
    const QDir dir(schemaDir);
    const QStringList scripts = dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    if (scripts.isEmpty()) throw PlainError(QStringLiteral("%1: no .sql files found").arg(schemaDir));

    Transaction t(target);
    target.executeScript(readScript(dir.filePath(scripts.first())));
    const QStringList tables =
        column(source, QStringLiteral("select name from sqlite_master where type = 'table' "
                                      "and name not like 'sqlite%' order by rowid"));
    for (const QString& table : tables) {
        const QString ddl =
            column(source, QStringLiteral("select sql from sqlite_master where name = '%1'").arg(table))
                .value(0);
        target.execute(ddl); // translated by the engine
    }
    for (const QString& table : tables) {
        copyTableRows(source, target, table);
        for (const ColumnInfo& c : source.tableColumns(table))
            if (c.autoIncrement || c.type == FieldType::AutoInc ||
                (c.primaryKey && c.type == FieldType::Integer))
                target.query(QStringLiteral("select setval(pg_get_serial_sequence('%1', '%2'), "
                                            "coalesce(max(%2), 0) + 1, false) from %1")
                                 .arg(table.toLower(), c.name.toLower()));
    }
    for (const QString& index :
         column(source,
                QStringLiteral("select sql from sqlite_master where type = 'index' and sql is not null")))
        target.execute(index);
    for (const QString& script : scripts.mid(1))
        target.executeScript(readScript(dir.filePath(script)));
    // The server part of the schema steps the copied database has had.
    const QDir steps(dir.filePath(QStringLiteral("upgrades")));
    const int version = schemaVersion(source);
    for (const QString& step : steps.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
        if (step.section(QLatin1Char('_'), 0, 0).toInt() <= version)
            target.executeScript(readScript(steps.filePath(step)));
    const QStringList serverTriggers =
        column(target, QStringLiteral("select tgname from pg_trigger where not tgisinternal"));
    for (const QString& trigger :
         column(source, QStringLiteral("select name from sqlite_master where type = 'trigger'")))
        if (!serverTriggers.contains(trigger, Qt::CaseInsensitive))
            throw PlainError(
                QStringLiteral("Trigger %1 has no PostgreSQL counterpart in %2").arg(trigger, schemaDir));
    t.commit();
}

} // namespace dv
