#include "AccessScreens.h"
#include "access/ScreenRegistry.h"

namespace dv {
void registerAccessScreens(ScreenRegistry&) {}
} // namespace dv
