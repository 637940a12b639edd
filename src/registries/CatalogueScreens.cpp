#include "CatalogueScreens.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerCatalogueScreens(ScreenRegistry&) {}
} // namespace dv
