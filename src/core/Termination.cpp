#include "Termination.h"
#include <QCoreApplication>

namespace dv {

namespace {
bool g_terminate = false;
}

void requestTermination() {
    g_terminate = true;
    QCoreApplication::quit();
}
bool terminationRequested() { return g_terminate; }
void resetTermination() { g_terminate = false; }

} // namespace dv
