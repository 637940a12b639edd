#include "ProgramScreens.h"
#include "core/Application.h"
#include "core/Session.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    // "--config FILE" starts on another configuration (the demo clinic's).
    dv::session().setConfigFile(dv::configFileArgument(app.arguments()));
    // Freed in the shutdown order when it goes, before the application object.
    const dv::StartupObjects objects = dv::startup(app, QString(), dv::registerProgramScreens);
    return dv::runMessageLoop(app);
}
