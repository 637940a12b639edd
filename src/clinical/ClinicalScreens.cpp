#include "ClinicalScreens.h"
#include "access/ScreenRegistry.h"

namespace dv {
void registerClinicalScreens(ScreenRegistry&) {}
} // namespace dv
