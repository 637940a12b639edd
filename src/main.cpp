#include "access/Startup.h"
#include "core/Application.h"

int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    dv::StartupObjects objects = dv::startup(app);
    const int rc = dv::runMessageLoop(app);
    dv::shutdown(objects);
    return rc;
}
