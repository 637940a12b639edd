#pragma once
#include "core/db/Engine.h"
#include "core/db/SqlCipherEngine.h"
#include <QTemporaryDir>
#include <memory>

namespace dv::test {

// The data-layer tests run on the embedded engine, or on the server when
// DV_TEST_ENGINE=postgresql: then DV_TEST_PG is the URL of the throwaway cluster
// scripts/test starts (databases dv_install and dv_scratch made by it).
bool onServer();
// DV_TEST_PG with a database name appended.
QString serverUrl(const QString& database);

// In initTestCase: a server run without a server is skipped, saying why.
#define DV_REQUIRE_SERVER_IF_ASKED()                                                                         \
    do {                                                                                                     \
        if (dv::test::onServer() && qEnvironmentVariableIsEmpty("DV_TEST_PG"))                               \
            QSKIP("DV_TEST_ENGINE=postgresql but DV_TEST_PG is not set: run scripts/test, which starts a "   \
                  "throwaway PostgreSQL cluster");                                                           \
    } while (false)

// A new, empty database removed with the object: a keyed file in a temporary
// folder, or on the server a schema of its own in dv_scratch.
struct TempDb {
    TempDb();
    ~TempDb();
    QTemporaryDir dir;
    QString file; // the embedded engine's file
    std::unique_ptr<Connection> db;
    // A second connection to the same database, as another workstation has.
    std::unique_ptr<Connection> openAnother() const;
    // The embedded engine, or nullptr on the server.
    SqlCipherEngine* sqlcipher() const { return dynamic_cast<SqlCipherEngine*>(db.get()); }
    static constexpr const char* password = "test-pw";

private:
    QString m_schema;
};

// A copy of the installation database: a file in a temporary folder, or on the
// server a database cloned from dv_install (dropped with the object).
struct InstallDbCopy {
    InstallDbCopy();
    ~InstallDbCopy();
    QTemporaryDir dir;
    QString file; // the embedded engine's file
    QString connectionString() const;
    // Adds test rows, written as for the embedded engine (money in ten-thousandths):
    // on the server they go into an embedded copy that then replaces the server
    // database, converted as dv_makedb --postgres converts the seed rows.
    void addRows(const QStringList& statements);

private:
    QString m_database;
};

} // namespace dv::test
