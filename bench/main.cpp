// Temporary entry point: generates a benchmark database. The benchmarks
// themselves come later and will replace this file.
#include "core/db/DbErrors.h"
#include "gen_data.h"
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    double scale = 1.0;
    quint32 seed = 1;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--generate"))
            out = args[i + 1];
        else if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt();
    }
    if (out.isEmpty() || scale <= 0) {
        std::fprintf(stderr, "usage: dv_bench --generate FILE [--scale F] [--seed N]\n");
        return 2;
    }
    try {
        const dv::bench::Generated g =
            dv::bench::generateDatabase(out, dv::bench::Volumes().scaled(scale), seed);
        std::printf("%s: %lld patients (%lld photos), %lld answers, %lld consultations, %lld items, "
                    "%lld installments, %lld appointments; %.1f MB in %.1f s\n",
                    qPrintable(out), g.patients, g.photos, g.answers, g.consultations, g.items,
                    g.installments, g.appointments, double(g.bytes) / 1e6, g.seconds);
    } catch (const dv::Error& e) {
        std::fprintf(stderr, "dv_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
