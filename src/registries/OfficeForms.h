#pragma once

namespace dv {
class Dataset;
class DBLookupCombo;

// What the office registries' screens share.
namespace office {

// A state box over the shared UF list: "UF" and "Nome".
void setUfLookup(DBLookupCombo* box);
// Reads a shared dataset again after its table changed, so every other screen's
// choices see the change (it comes back on its first row).
void reopenShared(Dataset* shared);

} // namespace office
} // namespace dv
