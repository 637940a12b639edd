#pragma once

namespace dv {

class Dataset;

// The administrator group (grupo_id 1) is protected outside developer mode.
bool isProtectedAdministratorGroup(const Dataset* groups);
// Shows the refusal when the current group is protected; true when it was.
bool refuseAdministratorGroup(const Dataset* groups);

} // namespace dv
