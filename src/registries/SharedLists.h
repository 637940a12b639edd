#pragma once
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include <QString>

namespace dv {

// Re-reads a shared list of the data module so that the other screens offer what
// was just written; its grids are not repainted row by row meanwhile.
inline void reloadShared(Dataset* shared) {
    ControlsDisabled off(shared);
    shared->close();
    shared->open();
}

} // namespace dv

namespace dv {

// How many rows a "select count(*) ..." with one integer parameter counts.
inline qint64 countRows(const QString& sql, const QString& param, const QVariant& value) {
    auto c = dm().ADOConexao()->query(sql, {{param, ParamType::Integer, value}});
    return c->next() ? c->integer(0) : 0;
}

// Before a list deletes its current row: true, after a warning, when `countSql`
// (parameter named like `keyField`) finds rows that still use it. The message
// takes the row's `nameField` as %1 and the count as %2.
bool refuseWhileInUse(Dataset* list, const QString& keyField, const QString& nameField,
                      const QString& countSql, const QString& message);

} // namespace dv
