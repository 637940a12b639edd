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
#include <functional>
#include <memory>

namespace dv::bench {

namespace {

// Shows the screen, then times refresh() with the grid drawn; the first run warms the caches.
template <class Screen>
double timeRefresh(StartupObjects& o, const QString& formName, const std::function<void(Screen*)>& prepare,
                   const std::function<void(Screen*)>& refresh, DBGrid* Screen::*grid, Dataset* Screen::*rows,
                   int runs, int& rowCount) {
    std::unique_ptr<QWidget> widget(o.main->opener().registry().create(formName, o.main.get()));
    auto* screen = qobject_cast<Screen*>(widget.get());
    screen->resize(1280, 800);
    screen->show();
    QApplication::processEvents();
    prepare(screen);
    std::vector<double> ms;
    for (int run = 0; run < runs + 1; ++run) {
        QElapsedTimer t;
        t.start();
        refresh(screen);
        (screen->*grid)->repaint();
        QApplication::processEvents();
        if (run > 0) ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    rowCount = (screen->*rows)->recordCount();
    screen->hide();
    return median(ms);
}

void report(const char* name, double ms, int rows, double target) {
    std::printf("%s: %d rows\n  median: %.2f ms (target <= %.0f ms)%s\n", name, rows, ms, target,
                ms <= target ? "" : "  ABOVE TARGET");
    addFigure(
        {QString::fromLatin1(name), ms, QStringLiteral("ms"), target, QStringLiteral("%1 rows").arg(rows)});
}

} // namespace

int patientMessageLists(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    {
        int rows = 0;
        const double birthdays = timeRefresh<TfrmAniversario>(
            o, QStringLiteral("frmAniversario"), [](TfrmAniversario* s) { s->rbMes->setChecked(true); },
            [](TfrmAniversario* s) { s->btnAtualizarClick(); }, &TfrmAniversario::gridPacientes,
            &TfrmAniversario::SQL_Aniversario, runs, rows);
        report("birthdays of the month", birthdays, rows, 100);
        const double returns = timeRefresh<TfrmRetorno>(
            o, QStringLiteral("frmRetorno"), [](TfrmRetorno*) {},
            [](TfrmRetorno* s) { s->btnAtualizarClick(); }, &TfrmRetorno::gridPacientes,
            &TfrmRetorno::SQL_Retorno, runs, rows);
        report("patients due for a return visit", returns, rows, 300);
        const double anonymisation = timeRefresh<TfrmAnonimizacao>(
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
