#include "ProgramScreens.h"
#include "access/AccessScreens.h"
#include "clinical/ClinicalScreens.h"
#include "finance/FinanceScreens.h"
#include "framework/ScreenRegistry.h"
#include "maintenance/MaintenanceScreens.h"
#include "registries/CatalogueScreens.h"
#include "registries/OfficeScreens.h"

namespace dv {

void registerProgramScreens(ScreenRegistry& r) {
    registerAccessScreens(r);
    registerClinicalScreens(r);
    registerCatalogueScreens(r);
    registerOfficeScreens(r);
    registerMaintenanceScreens(r);
    registerFinanceScreens(r);
}

} // namespace dv
