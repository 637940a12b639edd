#include "TempDb.h"
#include "core/db/PgEngine.h"
#include "core/db/PgInstall.h"
#include <QCoreApplication>
#include <QFile>
#include <atomic>

namespace dv::test {

namespace {

// Unique among the test programs that share the cluster.
QString uniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    return QStringLiteral("%1_%2_%3")
        .arg(QLatin1String(prefix))
        .arg(QCoreApplication::applicationPid())
        .arg(++counter);
}

} // namespace

bool onServer() {
    return qEnvironmentVariable("DV_TEST_ENGINE").compare(QLatin1String("postgresql"), Qt::CaseInsensitive) ==
           0;
}

QString serverUrl(const QString& database) {
    QString base = qEnvironmentVariable("DV_TEST_PG");
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QLatin1Char('/') + database;
}

TempDb::TempDb() {
    if (onServer()) {
        m_schema = uniqueName("t");
        db = std::make_unique<PgEngine>(serverUrl(QStringLiteral("dv_scratch")));
        db->execute(QStringLiteral("create schema %1").arg(m_schema));
        db->execute(QStringLiteral("set search_path to %1, public").arg(m_schema));
        return;
    }
    file = dir.filePath(QStringLiteral("test.db"));
    db = SqlCipherEngine::create(file, QString::fromLatin1(password));
}

std::unique_ptr<Connection> TempDb::openAnother() const {
    if (m_schema.isEmpty()) return std::make_unique<SqlCipherEngine>(file, QString::fromLatin1(password));
    auto other = std::make_unique<PgEngine>(serverUrl(QStringLiteral("dv_scratch")));
    other->execute(QStringLiteral("set search_path to %1, public").arg(m_schema));
    return other;
}

TempDb::~TempDb() {
    if (m_schema.isEmpty() || !db) return;
    try {
        while (db->transactionDepth() > 0)
            db->rollback();
        db->execute(QStringLiteral("drop schema %1 cascade").arg(m_schema));
    } catch (...) {
    }
}

InstallDbCopy::InstallDbCopy() {
    if (onServer()) {
        m_database = uniqueName("dv_copy");
        PgEngine admin(serverUrl(QStringLiteral("postgres")));
        admin.execute(QStringLiteral("create database %1 template dv_install").arg(m_database));
        return;
    }
    file = dir.filePath(QStringLiteral("DBDentrivale.mdb"));
    QFile::copy(QStringLiteral(DV_INSTALL_DB), file);
    QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

InstallDbCopy::~InstallDbCopy() {
    if (m_database.isEmpty()) return;
    try {
        PgEngine admin(serverUrl(QStringLiteral("postgres")));
        admin.execute(QStringLiteral("drop database if exists %1 with (force)").arg(m_database));
    } catch (...) {
    }
}

void InstallDbCopy::addRows(const QStringList& statements) {
    const QString embedded = m_database.isEmpty() ? file : dir.filePath(QStringLiteral("rows.mdb"));
    if (!m_database.isEmpty()) {
        QFile::copy(QStringLiteral(DV_INSTALL_DB), embedded);
        QFile(embedded).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    SqlCipherEngine db(embedded, QStringLiteral("5316428850"));
    Transaction t(db);
    for (const QString& sql : statements)
        db.execute(sql);
    t.commit();
    if (m_database.isEmpty()) return;
    PgEngine admin(serverUrl(QStringLiteral("postgres")));
    admin.execute(QStringLiteral("drop database %1 with (force)").arg(m_database));
    admin.execute(QStringLiteral("create database %1 template template0").arg(m_database));
    PgEngine target(serverUrl(m_database));
    createServerDatabase(db, target, QStringLiteral(DV_SOURCE_DIR "/schema/postgresql"));
}

QString InstallDbCopy::connectionString() const {
    return QStringLiteral(
               "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";Data Source=%1;Mode=Share Deny None;"
               "Persist Security Info=True;Jet OLEDB:Database Password=5316428850")
        .arg(m_database.isEmpty() ? file : serverUrl(m_database));
}

} // namespace dv::test
