#pragma once

namespace dv {
class ScreenRegistry;
// Gives the opener the factories of the treatment catalogue: icons, teeth,
// services and insurance plans.
void registerCatalogueScreens(ScreenRegistry& registry);
} // namespace dv
