// Builds the demo clinic: dv_demogen OUT.mdb [--today yyyy-mm-dd] [--install-db FILE]
#include "DemoClinic.h"
#include "core/db/DbErrors.h"
#include "gen_data.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Draws the logo without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out, installDb = dv::bench::defaultInstallDb();
    QDate today = QDate::currentDate();
    bool usage = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--today") && i + 1 < args.size())
            today = QDate::fromString(args[++i], Qt::ISODate);
        else if (args[i] == QLatin1String("--install-db") && i + 1 < args.size())
            installDb = args[++i];
        else if (out.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            out = args[i];
        else
            usage = true;
    }
    if (usage || out.isEmpty() || !today.isValid()) {
        std::fprintf(stderr, "usage: dv_demogen OUT.mdb [--today yyyy-mm-dd] [--install-db FILE]\n");
        return 2;
    }
    try {
        dv::demo::buildDemoClinic(out, today, installDb);
    } catch (const dv::Error& e) {
        std::fprintf(stderr, "dv_demogen: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("dv_demogen: %s built for %s\n", qPrintable(out), qPrintable(today.toString(Qt::ISODate)));
    return 0;
}
