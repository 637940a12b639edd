#include "OfficeScreens.h"
#include "framework/ScreenRegistry.h"

namespace dv {
void registerOfficeScreens(ScreenRegistry&) {}
} // namespace dv
