#pragma once
#include "core/db/SqlCipherEngine.h"
#include <QString>
#include <memory>

namespace dv::test {

// A copy of a live embedded database taken once (a keyed file beside it, kept open)
// and put back into the same live connection on demand with the backup API: the
// connection, its datasets and its cached statements stay as they are.
class DatabaseSnapshot {
public:
    // Copies `live` into `file` (which must not exist), keyed with `password`.
    DatabaseSnapshot(SqlCipherEngine& live, const QString& file, const QString& password);
    ~DatabaseSnapshot();
    DatabaseSnapshot(const DatabaseSnapshot&) = delete;
    DatabaseSnapshot& operator=(const DatabaseSnapshot&) = delete;

    // Writes the copy back over every page of `live`; throws EngineError when it cannot.
    void restoreInto(SqlCipherEngine& live);

private:
    std::unique_ptr<SqlCipherEngine> m_copy;
};

// The value of "Jet OLEDB:Database Password" in a connection string.
QString databasePassword(const QString& connectionString);

} // namespace dv::test
