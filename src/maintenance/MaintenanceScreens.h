#pragma once

namespace dv {
class ScreenRegistry;
// Gives the opener the factories of the maintenance screens (the backup).
void registerMaintenanceScreens(ScreenRegistry& registry);
} // namespace dv
