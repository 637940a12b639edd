#include "DatabaseSnapshot.h"
#include "core/db/DbErrors.h"
#include <QStringList>
#include <sqlcipher/sqlite3.h>

namespace dv::test {

DatabaseSnapshot::DatabaseSnapshot(SqlCipherEngine& live, const QString& file, const QString& password) {
    live.backupTo(file, password);
    m_copy = std::make_unique<SqlCipherEngine>(file, password);
}

DatabaseSnapshot::~DatabaseSnapshot() = default;

void DatabaseSnapshot::restoreInto(SqlCipherEngine& live) {
    while (live.transactionDepth() > 0)
        live.rollback();
    sqlite3* dest = live.handle();
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", m_copy->handle(), "main");
    if (!b)
        throw EngineError(QStringLiteral("Could not start the restore: ") +
                          QString::fromUtf8(sqlite3_errmsg(dest)));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw EngineError(QStringLiteral("The restore did not complete (%1): %2")
                              .arg(rc)
                              .arg(QString::fromUtf8(sqlite3_errmsg(dest))));
}

QString databasePassword(const QString& connectionString) {
    for (const QString& part : connectionString.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 && part.left(eq).trimmed().compare(QLatin1String("Jet OLEDB:Database Password"),
                                                      Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return QString();
}

} // namespace dv::test
