#pragma once

namespace dv {
class ScreenRegistry;

// Every library that builds screens gives its factories here, through its one
// registration function: the program, its tools and the tests that walk every
// screen share this one list.
void registerProgramScreens(ScreenRegistry& registry);
} // namespace dv
