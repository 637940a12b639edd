#pragma once
#include "Engine.h"
#include "RowStore.h"

#include <vector>

namespace dv {

// A query column as the store keeps it.
struct LoadColumn {
    int source = -1; // cursor column
    FieldType type = FieldType::Unknown;
    bool deferred = false; // a blob read only when asked for
};

StoreKind storeKindOf(FieldType type, bool deferred);

// Reads every remaining row of the cursor into a new store. Past the first batch of
// rows, the rows are stored on a second thread while the engine reads the next ones:
// the engine stays on the calling thread, the store is only touched by the other one
// until every row is in. An error of either side is raised here after both stop.
RowStore loadRowStore(Cursor& cursor, const std::vector<LoadColumn>& columns);

} // namespace dv
