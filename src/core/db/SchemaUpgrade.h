#pragma once
#include "DbErrors.h"
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace dv {

class Connection;

// One numbered schema step: schema/sqlite/upgrades/NNN_what.sql, run translated on
// the server, plus schema/postgresql/upgrades/NNN_what.sql when the server needs
// what translation cannot give it (triggers, functions).
struct SchemaStep {
    int number = 0;
    QString name; // the file name
    QString sql;
    QString serverSql;
};

// The steps this program carries, in order. The base files are version 1.
QList<SchemaStep> shippedSchemaSteps();
// The version a database has once `steps` ran: the highest number, or 1.
int schemaVersionOf(const QList<SchemaStep>& steps);
// The version recorded in a database; 1 for one made before versions were recorded.
int schemaVersion(Connection& db);

// The step numbers a database recorded; empty for one of the first version.
QSet<int> recordedSteps(Connection& db);

// The statements of an embedded-engine script, one each (trigger bodies kept whole).
QStringList sqlStatements(const QString& script);

// The database was made by a newer program: this one must not touch it.
class SchemaTooNew : public Error {
public:
    SchemaTooNew(int database, int program)
        : Error(QStringLiteral("The database schema version %1 is newer than this program's %2.")
                    .arg(database)
                    .arg(program)),
          databaseVersion(database), programVersion(program) {}
    int databaseVersion, programVersion;
};

// A step failed and was rolled back; the steps before it stay applied.
class SchemaStepFailed : public Error {
public:
    SchemaStepFailed(const SchemaStep& s, const QString& why, const QString& backup)
        : Error(QStringLiteral("Schema step %1 failed: %2").arg(s.name, why)), step(s.name), reason(why),
          backupFile(backup) {}
    QString step, reason, backupFile;
};

// The backup before the first step could not be made or verified; nothing changed.
class SchemaBackupFailed : public Error {
public:
    using Error::Error;
};

struct UpgradeOutcome {
    int from = 1;
    int to = 1;
    QString backupFile; // empty when nothing was applied
};

// Brings an older database up to the steps' version: first a verified backup into
// backupFolder, then each missing step in a transaction of its own, recording it (and
// `release` as the installation's release with the last step). A database newer than
// the steps is refused with SchemaTooNew before anything is touched.
UpgradeOutcome upgradeSchema(Connection& db, const QList<SchemaStep>& steps, const QString& backupFolder,
                             const QString& release, const QDateTime& now);

} // namespace dv
