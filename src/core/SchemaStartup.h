#pragma once
#include <QString>

namespace dv {

class Connection;

// Start-up's look at the schema version: an older database is backed up into
// backupFolder and upgraded with the program's steps; a newer one is refused.
// Failures are raised as EngineError with a message in the interface language.
// True when steps were applied (the connection's cached table shapes are stale).
bool bringSchemaUpToDate(Connection& db, const QString& language, const QString& backupFolder);

} // namespace dv
