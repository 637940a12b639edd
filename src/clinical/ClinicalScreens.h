#pragma once

namespace dv {
class ScreenRegistry;
// Gives the opener the factories of the clinical screens (patients and the rest).
void registerClinicalScreens(ScreenRegistry& registry);
} // namespace dv
