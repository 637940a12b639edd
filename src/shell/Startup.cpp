#include "Startup.h"
#include "ScreenOpener.h"
#include "U_frmLogin.h"
#include "U_frmPrincipal.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/U_frmAbertura.h"
#include "core/VisualStyle.h"
#include <QApplication>
#include <QTimer>

namespace dv {

StartupObjects::StartupObjects() = default;

StartupObjects::StartupObjects(StartupObjects&& other) noexcept
    : splash(std::move(other.splash)), dm(std::move(other.dm)), main(std::move(other.main)),
      login(std::move(other.login)) {
    other.login.clear();
}

StartupObjects& StartupObjects::operator=(StartupObjects&& other) noexcept {
    if (this != &other) {
        release();
        splash = std::move(other.splash);
        dm = std::move(other.dm);
        main = std::move(other.main);
        login = std::move(other.login);
        other.login.clear();
    }
    return *this;
}

StartupObjects::~StartupObjects() {
    release();
}

void StartupObjects::release() {
    delete login.data();
    login.clear();
    main.reset();
    splash.reset();
    dm.reset();
}

StartupObjects startup(QApplication& app, const QString& executableFolder,
                       const ScreenRegistration& registerScreens) {
    StartupObjects o;
    if (!applyVisualStyle(app, QStringLiteral("Smokey Quartz Kamri")))
        services().dialogs().error(
            dv::text("O estilo visual \"Smokey Quartz Kamri\" não pôde ser aplicado."));
    QApplication::setApplicationName(QStringLiteral("Dentrivale"));
    QApplication::setApplicationDisplayName(QString());
    app.setProperty("helpFile", QString());

    o.splash = std::make_unique<TfrmAbertura>();
    o.splash->show();
    o.splash->lbIniciando->setText(QStringLiteral("Carregando: Data Base"));
    o.splash->repaint();
    QCoreApplication::processEvents();
    services().clock().pause(100);

    // Errors inside a creation handler reach the error translator; the object exists all the same.
    o.dm = std::make_unique<Tdm>(executableFolder, o.splash.get());

    o.main = std::make_unique<TfrmPrincipal>();
    if (registerScreens) registerScreens(o.main->opener().registry());
    o.splash->hide();
    o.splash->close();

    o.login = new TfrmLogin(o.main.get(), TfrmLogin::Use::Startup);
    o.login->show();
    o.main->hide();
    return o;
}

int runMessageLoop(QApplication& app) {
    // Termination requested during start-up: the loop ends at its first turn.
    if (terminationRequested()) return 0;
    return app.exec();
}

void shutdown(StartupObjects& o) {
    o.release();
}

} // namespace dv
