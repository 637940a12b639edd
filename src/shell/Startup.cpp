#include "Startup.h"
#include "ScreenOpener.h"
#include "U_frmLogin.h"
#include "U_frmPrincipal.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/U_frmAbertura.h"
#include "core/VisualStyle.h"
#include <QApplication>
#include <QThread>
#include <QTimer>

namespace dv {

StartupObjects startup(QApplication& app, const QString& executableFolder,
                       const ScreenRegistration& registerScreens) {
    StartupObjects o;
    if (!applyVisualStyle(app, QStringLiteral("Smokey Quartz Kamri")))
        services().dialogs().error(
            QStringLiteral("O estilo visual \"Smokey Quartz Kamri\" não pôde ser aplicado."));
    QApplication::setApplicationName(QStringLiteral("Dentrivale"));
    QApplication::setApplicationDisplayName(QString());
    app.setProperty("helpFile", QString());

    o.splash = new TfrmAbertura();
    o.splash->show();
    o.splash->lbIniciando->setText(QStringLiteral("Carregando: Data Base"));
    o.splash->repaint();
    QCoreApplication::processEvents();
    QThread::msleep(100);

    // Errors inside a creation handler reach the error translator; the object exists all the same.
    o.dm = new Tdm(executableFolder, o.splash);

    o.main = new TfrmPrincipal();
    if (registerScreens) registerScreens(o.main->opener().registry());
    o.splash->hide();
    o.splash->close();

    o.login = new TfrmLogin(o.main, TfrmLogin::Use::Startup);
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
    delete o.login.data();
    delete o.main;
    delete o.splash;
    delete o.dm;
    o = {};
}

} // namespace dv
