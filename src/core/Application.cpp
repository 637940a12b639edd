#include "Application.h"
#include "ErrorTranslator.h"

namespace dv {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ErrorTranslator::handleCurrent();
        return true; // the event is over
    }
}

} // namespace dv
