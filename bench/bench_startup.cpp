// Start-up to the login dialog, in fresh processes.
#include "bench_startup.h"
#include "ProgramScreens.h"
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "core/Application.h"
#include "core/Services.h"
#include "core/SystemClock.h"
#include "framework/ScreenRegistry.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace dv::bench {

namespace {

// The real clock, except that prescribed pauses return at once and are counted.
class SkippingClock : public SystemClock {
public:
    void pause(int ms) override { skipped += ms; }
    int skipped = 0;
};

void registerScreens(ScreenRegistry& r) {
    registerProgramScreens(r);
}

// Starts the child and waits for its "shown" line; the milliseconds from the start, or -1.
double timeChild(const QString& folder, int* skipped) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup-child"), folder});
    double ms = -1;
    while (child.waitForReadyRead(60000)) {
        if (!child.canReadLine()) continue;
        const QByteArray line = child.readLine().trimmed();
        if (!line.startsWith("shown")) continue;
        ms = double(t.nsecsElapsed()) / 1e6;
        if (skipped) *skipped = line.mid(6).toInt();
        break;
    }
    child.waitForFinished(60000);
    return ms;
}

} // namespace

int startupChild(int argc, char** argv) {
    dv::Application app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (folder == QLatin1String("-")) {
        QDialog dialog;
        dialog.resize(400, 300);
        dialog.show();
        QCoreApplication::processEvents();
        std::printf("shown 0\n");
        std::fflush(stdout);
        return 0;
    }
    SkippingClock clock;
    services().setClock(&clock);
    StartupObjects o = startup(app, folder, registerScreens);
    if (!o.login) return 1;
    QCoreApplication::processEvents(); // the dialog's first paint
    std::printf("shown %d\n", clock.skipped);
    std::fflush(stdout);
    shutdown(o);
    services().restoreReal();
    return 0;
}

int startupToLogin(const QString& database, int runs) {
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    if (!prepareFolder(folder, database)) {
        std::fprintf(stderr, "dv_bench: cannot prepare an application folder for %s\n", qPrintable(database));
        return 1;
    }
    std::vector<double> app, bare;
    int skipped = 0;
    timeChild(folder, &skipped); // the executable and its libraries in the OS cache, as for the bare one
    timeChild(QStringLiteral("-"), nullptr);
    for (int run = 0; run < runs; ++run) {
        const bool appFirst = run % 2;
        if (appFirst) app.push_back(timeChild(folder, &skipped));
        bare.push_back(timeChild(QStringLiteral("-"), nullptr));
        if (!appFirst) app.push_back(timeChild(folder, &skipped));
    }
    if (std::find(app.begin(), app.end(), -1.0) != app.end()) {
        std::fprintf(stderr, "dv_bench: start-up did not reach the login dialog\n");
        return 1;
    }
    std::printf("start-up to the login dialog, fresh processes (medians of %d runs; %d ms of prescribed "
                "pauses skipped)\n",
                runs, skipped);
    std::printf("  bare Qt process showing a dialog  %8.1f ms\n", median(bare));
    std::printf("  application to its login dialog   %8.1f ms\n", median(app));
    addFigure({QStringLiteral("start-up to login (beyond pauses)"), median(app), QStringLiteral("ms"), 1000,
               QStringLiteral("bare Qt dialog process %1 ms; %2; %3 ms of pauses skipped")
                   .arg(median(bare), 0, 'f', 0)
                   .arg(runsNote(app))
                   .arg(skipped)});
    return 0;
}

} // namespace dv::bench
