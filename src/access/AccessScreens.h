#pragma once

namespace dv {
class ScreenRegistry;
// Gives the opener the factories of the users, groups and modules screens.
void registerAccessScreens(ScreenRegistry& registry);
} // namespace dv
