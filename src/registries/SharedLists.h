#pragma once
#include "core/db/Dataset.h"

namespace dv {

// Re-reads a shared list of the data module so that the other screens offer what
// was just written; its grids are not repainted row by row meanwhile.
inline void reloadShared(Dataset* shared) {
    ControlsDisabled off(shared);
    shared->close();
    shared->open();
}

} // namespace dv
