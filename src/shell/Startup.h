#pragma once
#include "core/Termination.h"
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

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

// The process-wide objects that start-up creates, in its order. They are owned
// here: destroying this (or calling shutdown()) frees them in the shutdown order —
// the login dialog, the main window, the splash, and the data module last (it
// closes the connection).
struct StartupObjects {
    StartupObjects();
    StartupObjects(StartupObjects&& other) noexcept;
    StartupObjects& operator=(StartupObjects&& other) noexcept;
    StartupObjects(const StartupObjects&) = delete;
    StartupObjects& operator=(const StartupObjects&) = delete;
    ~StartupObjects();

    // Frees what is held, in the shutdown order; afterwards everything is null.
    void release();

    std::unique_ptr<TfrmAbertura> splash;
    std::unique_ptr<Tdm> dm;
    std::unique_ptr<TfrmPrincipal> main;
    QPointer<TfrmLogin> login; // frees itself when closed
};

// Steps 2 to 9 of start-up: style, title, splash, data module, main window
// (hidden, its screens registered), splash closed, login dialog shown.
// executableFolder overrides the folder of the running program (tests). The
// objects live until shutdown() or until the returned value goes.
StartupObjects startup(QApplication& app, const QString& executableFolder = QString(),
                       const ScreenRegistration& registerScreens = {});

// Runs the message loop (step 10); returns at once when termination was
// requested during start-up.
int runMessageLoop(QApplication& app);

// Destroys what startup() made (the data module last, closing the connection):
// an explicit point for what destroying the objects does anyway.
void shutdown(StartupObjects& objects);

} // namespace dv
