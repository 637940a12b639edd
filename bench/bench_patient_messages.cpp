// The birthday, return and anonymisation lists refreshed through their screens on a
// benchmark database.
#include "bench_patient_messages.h"
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/U_frmAniversario.h"
#include "clinical/U_frmAnonimizacao.h"
#include "clinical/U_frmRetorno.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "shell/ScreenOpener.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBGrid.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>

namespace dv::bench {

namespace {

// On a machine shared with others the waits vary with their load; the refresh's own
// work is its thread's CPU time.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Timing {
    std::vector<double> ms, cpuMs;
    QString note(int rows) const {
        return QStringLiteral("%1 rows; %2; thread CPU median %3 ms")
            .arg(rows)
            .arg(runsNote(ms))
            .arg(median(cpuMs), 0, 'f', 0);
    }
};

// Shows the screen, then times refresh() with the grid drawn; the first run warms the caches.
template <class Screen>
Timing timeRefresh(StartupObjects& o, const QString& formName, const std::function<void(Screen*)>& prepare,
                   const std::function<void(Screen*)>& refresh, DBGrid* Screen::*grid, Dataset* Screen::*rows,
                   int runs, int& rowCount) {
    std::unique_ptr<QWidget> widget(o.main->opener().registry().create(formName, o.main.get()));
    auto* screen = qobject_cast<Screen*>(widget.get());
    screen->resize(1280, 800);
    screen->show();
    QApplication::processEvents();
    prepare(screen);
    Timing timing;
    for (int run = 0; run < runs + 1; ++run) {
        QElapsedTimer t;
        t.start();
        const double cpu = threadCpuMs();
        refresh(screen);
        (screen->*grid)->repaint();
        QApplication::processEvents();
        if (run > 0) {
            timing.ms.push_back(double(t.nsecsElapsed()) / 1e6);
            timing.cpuMs.push_back(threadCpuMs() - cpu);
        }
    }
    rowCount = (screen->*rows)->recordCount();
    screen->hide();
    return timing;
}

void report(const char* name, const Timing& timing, int rows, double target) {
    const double ms = median(timing.ms);
    std::printf("%s: %d rows\n  median: %.2f ms (target <= %.0f ms)%s; thread CPU median %.2f ms\n", name,
                rows, ms, target, ms <= target ? "" : "  ABOVE TARGET", median(timing.cpuMs));
    addFigure({QString::fromLatin1(name), ms, QStringLiteral("ms"), target, timing.note(rows)});
}

} // namespace

int patientMessageLists(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    {
        int rows = 0;
        const Timing birthdays = timeRefresh<TfrmAniversario>(
            o, QStringLiteral("frmAniversario"), [](TfrmAniversario* s) { s->rbMes->setChecked(true); },
            [](TfrmAniversario* s) { s->btnAtualizarClick(); }, &TfrmAniversario::gridPacientes,
            &TfrmAniversario::SQL_Aniversario, runs, rows);
        report("birthdays of the month", birthdays, rows, 100);
        const Timing returns = timeRefresh<TfrmRetorno>(
            o, QStringLiteral("frmRetorno"), [](TfrmRetorno*) {},
            [](TfrmRetorno* s) { s->btnAtualizarClick(); }, &TfrmRetorno::gridPacientes,
            &TfrmRetorno::SQL_Retorno, runs, rows);
        report("patients due for a return visit", returns, rows, 300);
        const Timing anonymisation = timeRefresh<TfrmAnonimizacao>(
            // Five years rather than the default twenty: the generated consultations span
            // fifteen, and the list should not be empty.
            o, QStringLiteral("frmAnonimizacao"), [](TfrmAnonimizacao* s) { s->spnAnos->setValue(5); },
            [](TfrmAnonimizacao* s) { s->btnAtualizarClick(); }, &TfrmAnonimizacao::gridPacientes,
            &TfrmAnonimizacao::SQL_Anonimizacao, runs, rows);
        report("patients past a 5-year retention period", anonymisation, rows, 300);
    }
    shutdown(o);
    return 0;
}

} // namespace dv::bench
