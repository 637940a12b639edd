#include "access/AccessScreens.h"
#include "clinical/ClinicalScreens.h"
#include "core/Application.h"
#include "core/Session.h"
#include "finance/FinanceScreens.h"
#include "framework/ScreenRegistry.h"
#include "maintenance/MaintenanceScreens.h"
#include "registries/CatalogueScreens.h"
#include "registries/OfficeScreens.h"
#include "shell/Startup.h"

namespace {
// Every library that builds screens gives their factories here, through its one
// registration function.
void registerScreens(dv::ScreenRegistry& r) {
    dv::registerAccessScreens(r);
    dv::registerClinicalScreens(r);
    dv::registerCatalogueScreens(r);
    dv::registerOfficeScreens(r);
    dv::registerMaintenanceScreens(r);
    dv::registerFinanceScreens(r);
}
} // namespace

int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    // "--config FILE" starts on another configuration (the demo clinic's).
    dv::session().setConfigFile(dv::configFileArgument(app.arguments()));
    // Freed in the shutdown order when it goes, before the application object.
    const dv::StartupObjects objects = dv::startup(app, QString(), registerScreens);
    return dv::runMessageLoop(app);
}
