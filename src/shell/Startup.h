#pragma once
#include "core/Termination.h"
#include <QPointer>
#include <QString>
#include <functional>

class QApplication;
class TfrmAbertura;
class TfrmPrincipal;
class TfrmLogin;
class Tdm;

namespace dv {

class ScreenRegistry;

// Gives the screens of the application's libraries their factories (each library's
// one registration function, e.g. dv::registerClinicalScreens). The program passes
// one that calls them all; tests pass the ones they need.
using ScreenRegistration = std::function<void(ScreenRegistry&)>;

// The process-wide objects that start-up creates, in its order.
struct StartupObjects {
    TfrmAbertura* splash = nullptr;
    Tdm* dm = nullptr;
    TfrmPrincipal* main = nullptr;
    QPointer<TfrmLogin> login; // frees itself when closed
};

// Steps 2 to 9 of start-up: style, title, splash, data module, main window
// (hidden, its screens registered), splash closed, login dialog shown.
// executableFolder overrides the folder of the running program (tests). The
// objects live until shutdown().
StartupObjects startup(QApplication& app, const QString& executableFolder = QString(),
                       const ScreenRegistration& registerScreens = {});

// Runs the message loop (step 10); returns at once when termination was
// requested during start-up.
int runMessageLoop(QApplication& app);

// Destroys what startup() made (the data module last, closing the connection).
void shutdown(StartupObjects& objects);

} // namespace dv
