// Benchmarks on generated data. Medians of several runs, offscreen.
//   dv_bench --generate FILE [--scale F] [--seed N]    make a benchmark database
//   dv_bench --all FILE [--runs N]                      every mode below, each in a fresh process,
//                                                        then one table: figure, target, verdict
//   dv_bench --patient-list FILE [--runs N] [--server URL]
//                                                        the list's dataset against the bare loop; with
//                                                        --server the same figures on PostgreSQL beside
//                                                        them (the patients are copied into URL's empty
//                                                        database first, pictures left out)
//   dv_bench --list-memory FILE                         the list's memory in this fresh process
//   dv_bench --patient-screens FILE [--runs N]           the patient screens through the application
//   dv_bench --startup FILE [--runs N]                  start-up to the login dialog, fresh processes
//   dv_bench --csv-export FILE [--runs N]               the patient list exported to CSV
//   dv_bench --report-pdf FILE [--runs N]               a 10,000-row report written as PDF
//   dv_bench --agenda FILE [--runs N]                    one dentist's day refreshed through the agenda
//   dv_bench --consultation-record FILE [--runs N]       a 300-item consultation record opened, chart
//   included dv_bench --installments FILE [--runs N]              120 installments generated on the record
//   dv_bench --patient-messages FILE [--runs N]          the birthday, return and anonymisation lists refreshed
#include "bench_agenda.h"
#include "bench_export.h"
#include "bench_installments.h"
#include "bench_list.h"
#include "bench_patient_messages.h"
#include "bench_patient_screens.h"
#include "bench_startup.h"
#include "bench_table.h"
#include "core/db/DbErrors.h"
#include "gen_data.h"
#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// The modes --all runs, in this order, each in a process of its own.
const char* const kAllModes[] = {
    "--startup",    "--patient-list",        "--list-memory", "--patient-screens", "--csv-export",
    "--report-pdf", "--consultation-record", "--agenda",      "--installments", "--patient-messages"};

int runAll(const QString& file, int runs) {
    QTemporaryDir dir;
    const QString figures = dir.filePath(QStringLiteral("figures.tsv"));
    for (const char* mode : kAllModes) {
        std::printf("\n== %s\n", mode);
        std::fflush(stdout);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DV_BENCH_FIGURES"), figures);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(mode), file, QStringLiteral("--runs"), QString::number(runs)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            std::printf("dv_bench: %s did not finish (exit %d)\n", mode, child.exitCode());
    }
    std::printf("\nsummary (medians of %d runs; the machine shared with other work while it ran)\n", runs);
    dv::bench::printTable(dv::bench::readFigures(figures));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A start-up child is the application itself, up to its login dialog.
    if (argc >= 3 && qstrcmp(argv[1], "--startup-child") == 0) return dv::bench::startupChild(argc, argv);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString mode, file, server;
    double scale = 1.0;
    quint32 seed = 1;
    int runs = 5;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--seed"))
            seed = args[i + 1].toUInt();
        else if (args[i] == QLatin1String("--runs"))
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--server"))
            server = args[i + 1];
        else if (mode.isEmpty()) {
            mode = args[i];
            file = args[i + 1];
        }
    }
    using namespace dv::bench;
    try {
        if (mode == QLatin1String("--generate") && scale > 0) {
            const Generated g = generateDatabase(file, Volumes().scaled(scale), seed);
            std::printf("%s: %lld patients (%lld photos), %lld answers, %lld consultations, %lld items, "
                        "%lld installments, %lld appointments; %.1f MB in %.1f s\n",
                        qPrintable(file), g.patients, g.photos, g.answers, g.consultations, g.items,
                        g.installments, g.appointments, double(g.bytes) / 1e6, g.seconds);
            return 0;
        }
        int rc = -1;
        if (mode == QLatin1String("--all")) return runAll(file, runs);
        if (mode == QLatin1String("--patient-list"))
            rc = patientList(file, runs, server);
        else if (mode == QLatin1String("--list-memory"))
            rc = patientListMemory(file);
        else if (mode == QLatin1String("--patient-screens"))
            rc = patientScreens(app, file, runs);
        else if (mode == QLatin1String("--startup"))
            rc = startupToLogin(file, runs);
        else if (mode == QLatin1String("--csv-export"))
            rc = csvExport(app, file, runs);
        else if (mode == QLatin1String("--report-pdf"))
            rc = reportPdf(app, file, runs);
        else if (mode == QLatin1String("--agenda"))
            rc = agendaDay(app, file, runs);
        else if (mode == QLatin1String("--consultation-record"))
            rc = consultationRecord(app, file, runs);
        else if (mode == QLatin1String("--installments"))
            rc = installmentGeneration(app, file, runs);
        else if (mode == QLatin1String("--patient-messages"))
            rc = patientMessageLists(app, file, runs);
        if (rc >= 0) {
            if (qEnvironmentVariableIsEmpty("DV_BENCH_FIGURES")) printTable(figures());
            return rc;
        }
    } catch (const dv::Error& e) {
        std::fprintf(stderr, "dv_bench: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: dv_bench --generate FILE [--scale F] [--seed N]\n"
                         "       dv_bench --all FILE [--runs N]\n"
                         "       dv_bench --patient-list FILE [--runs N] [--server URL]\n"
                         "       dv_bench --list-memory FILE\n"
                         "       dv_bench --patient-screens FILE [--runs N]\n"
                         "       dv_bench --startup FILE [--runs N]\n"
                         "       dv_bench --csv-export FILE [--runs N]\n"
                         "       dv_bench --report-pdf FILE [--runs N]\n"
                         "       dv_bench --agenda FILE [--runs N]\n"
                         "       dv_bench --consultation-record FILE [--runs N]\n"
                         "       dv_bench --installments FILE [--runs N]\n"
                         "       dv_bench --patient-messages FILE [--runs N]\n");
    return 2;
}
