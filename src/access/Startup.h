#pragma once
#include <QPointer>
#include <QString>
#include "core/Termination.h"

class QApplication;
class TfrmAbertura;
class TfrmPrincipal;
class TfrmLogin;
class Tdm;

namespace dv {

// The process-wide objects that start-up creates, in its order.
struct StartupObjects {
    TfrmAbertura* splash = nullptr;
    Tdm* dm = nullptr;
    TfrmPrincipal* main = nullptr;
    QPointer<TfrmLogin> login; // frees itself when closed
};

// Steps 2 to 9 of start-up: style, title, splash, data module, main window
// (hidden), splash closed, login dialog shown. executableFolder overrides the
// folder of the running program (tests). The objects live until shutdown().
StartupObjects startup(QApplication& app, const QString& executableFolder = QString());

// Runs the message loop (step 10); returns at once when termination was
// requested during start-up.
int runMessageLoop(QApplication& app);

// Destroys what startup() made (the data module last, closing the connection).
void shutdown(StartupObjects& objects);

} // namespace dv
