#pragma once
#include <QString>
#include <QStringList>

namespace dv {

class Connection;
class PgEngine;

// Fills an empty PostgreSQL database from an embedded one, in one transaction:
// the prelude of schemaDir, the tables translated from the embedded definitions,
// every row, the indexes, then schemaDir's remaining scripts (triggers). Refuses
// a database that already has tables, and finishes only when every embedded
// trigger has a server counterpart of the same name. Throws dv::Error.
void createServerDatabase(Connection& source, PgEngine& target, const QString& schemaDir);

// Copies every row of a table that exists on both (several rows a statement);
// `skipColumns` are left empty on the server.
void copyTableRows(Connection& source, PgEngine& target, const QString& table,
                   const QStringList& skipColumns = {});

} // namespace dv
