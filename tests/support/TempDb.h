#pragma once
#include "core/db/SqlCipherEngine.h"
#include <QTemporaryDir>
#include <memory>

namespace dv::test {

// A new keyed database in a temporary folder, removed with the object.
struct TempDb {
    TempDb();
    QTemporaryDir dir;
    QString file;
    std::unique_ptr<SqlCipherEngine> db;
    static constexpr const char* password = "test-pw";
};

// A copy of the installation database in a temporary folder.
struct InstallDbCopy {
    InstallDbCopy();
    QTemporaryDir dir;
    QString file;
    QString connectionString() const;
};

} // namespace dv::test
