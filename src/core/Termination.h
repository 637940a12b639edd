#pragma once

namespace dv {

// Requesting termination does not interrupt the caller: the message loop stops
// at its next turn, or does not start at all.
void requestTermination();
bool terminationRequested();
void resetTermination(); // tests

} // namespace dv
