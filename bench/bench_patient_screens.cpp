// The patient screens as a user meets them, on a benchmark database: the list opened
// through the opener in the main window, a sort by another title, keystrokes in the
// search box, the filter dialog's OK, and the record opened on a patient.
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmPaciente.h"
#include "clinical/U_frmPaciente_Manut.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "core/db/SqlCipherEngine.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBGrid.h"
#include "toolkit/FilterDialog.h"
#include "toolkit/IncrementalSearch.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlcipher/sqlite3.h>

namespace dv::bench {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

namespace {

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

bool prepareFolder(const QString& folder, const QString& database) {
    const QString app =
        QFileInfo(QStringLiteral(DV_INSTALL_DB)).dir().absolutePath() + QStringLiteral("/../");
    for (const char* sub : {"language", "skins", "relatorio", "help"}) {
        const QString from = QDir(app + QLatin1String(sub)).absolutePath();
        if (QFileInfo(from).isDir()) QFile::link(from, folder + QLatin1String(sub));
    }
    QDir().mkpath(folder + QStringLiteral("banco"));
    if (!QFile::link(QFileInfo(database).absoluteFilePath(),
                     folder + QStringLiteral("banco/DBDentrivale.mdb")))
        return false;
    QFile f(folder + QStringLiteral("config.ini"));
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(
        "[App]\r\nDataBase=banco/DBDentrivale.mdb\r\nLanguage=pt_BR\r\n[Aplicacao]\r\nConfigap=Local\r\n");
    return true;
}

namespace {

void typeKey(QWidget* w, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
}

} // namespace

bool startLoggedIn(QApplication& app, const QString& folder, const QString& database, StartupObjects& o) {
    if (!prepareFolder(folder, database)) {
        std::fprintf(stderr, "dv_bench: cannot prepare an application folder for %s\n", qPrintable(database));
        return false;
    }
    o = startup(app, folder, [](ScreenRegistry& r) { registerClinicalScreens(r); });
    if (!o.login) {
        std::fprintf(stderr, "dv_bench: start-up did not reach the login\n");
        shutdown(o);
        return false;
    }
    o.login->EditLogin->setText(QStringLiteral("admin"));
    o.login->EditSenha->setText(QStringLiteral("admin"));
    o.login->btnOKClick();
    waitUntil([&] { return o.main->isVisible() && o.login.isNull(); });
    o.main->resize(1280, 800);
    return true;
}

int patientScreens(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;

    // The floor: the statement the list's dataset runs, looped on the application's own
    // connection (same key, page cache and pragmas). One untimed opening first, so that
    // both find the pages in the engine's cache: both warm.
    auto* engine = dynamic_cast<SqlCipherEngine*>(dm().ADOConexao());
    if (!engine) {
        std::fprintf(stderr, "dv_bench: the screens mode needs the embedded engine\n");
        shutdown(o);
        return 1;
    }
    const QByteArray listSql =
        datasetSelect(*engine, QStringLiteral("paciente"), QStringLiteral("paciente_nome"));
    qint64 rawBytes = bareLoop(engine->handle(), listSql).rawBytes;
    std::vector<double> bare, open, photoColumn, sortOther, keystroke, filter, record;
    std::vector<double> bareCpu, openCpu;
    size_t memory = 0;
    int rows = 0;
    ScreenOpener& opener = o.main->opener();
    for (int run = -1; run < runs; ++run) {
        QElapsedTimer t;
        const double cpu = processCpuMs();
        t.start();
        opener.open(QStringLiteral("frmPaciente"));
        auto* list = qobject_cast<TfrmPaciente*>(opener.openScreen(QStringLiteral("frmPaciente")));
        if (!list) {
            std::fprintf(stderr, "dv_bench: the patient list did not open\n");
            break;
        }
        QApplication::processEvents();
        const double openMs = msSince(t);
        if (run < 0) { // the warm-up
            list->btnSairClick();
            QApplication::processEvents();
            continue;
        }
        open.push_back(openMs);
        openCpu.push_back(processCpuMs() - cpu);
        const double loopCpu = processCpuMs();
        bare.push_back(bareLoop(engine->handle(), listSql).ms);
        bareCpu.push_back(processCpuMs() - loopCpu);
        rows = list->SQL_Consulta->recordCount();
        memory = list->SQL_Consulta->memoryBytes();

        // The photo column brought into view: one repaint of the rows shown.
        {
            DBGrid* g = list->wwDBGrid1;
            const int column = g->gridModel()->columnOf(QStringLiteral("paciente_foto"));
            t.restart();
            g->scrollTo(g->model()->index(g->currentIndex().row(), column));
            g->viewport()->repaint();
            photoColumn.push_back(msSince(t));
            g->scrollTo(g->model()->index(g->currentIndex().row(), 0));
        }

        t.restart();
        list->wwDBGrid1TitleButtonClick(QStringLiteral("paciente_cidade"));
        QApplication::processEvents();
        sortOther.push_back(msSince(t));
        list->wwDBGrid1TitleButtonClick(QStringLiteral("paciente_nome"));

        // Keystrokes in the search box, each moving the grid.
        list->edpesq->setFocus();
        list->edpesq->clear();
        const QString typed = QStringLiteral("Maria d");
        t.restart();
        for (QChar c : typed) {
            typeKey(list->edpesq, c);
            QApplication::processEvents();
        }
        keystroke.push_back(msSince(t) / typed.size());

        // The filter dialog's OK with a criterion typed in.
        double filterMs = 0;
        QTimer::singleShot(0, list, [&, list] {
            waitUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
            list->wwFilterDialog1->setTypedCriterion(QStringLiteral("paciente_nome"),
                                                     QStringLiteral("silva or souza"));
            QElapsedTimer f;
            f.start();
            list->wwFilterDialog1->okButton()->click();
            QApplication::processEvents();
            filterMs = msSince(f);
        });
        list->btnFiltrarClick();
        filter.push_back(filterMs);
        list->wwFilterDialog1->clearCriteria();

        // The record on the current patient, until its queries are open.
        list->SQL_Consulta->moveTo(list->SQL_Consulta->recordCount() / 2);
        double recordMs = 0;
        t.restart();
        QTimer::singleShot(0, list, [&] {
            waitUntil([] {
                auto* r = qobject_cast<TfrmPaciente_Manut*>(QApplication::activeModalWidget());
                return r && r->isReady();
            });
            recordMs = msSince(t);
            if (QWidget* r = QApplication::activeModalWidget()) r->close();
        });
        list->btnEditarClick();
        record.push_back(recordMs);

        list->btnSairClick();
        QApplication::processEvents();
    }
    shutdown(o);

    const double ratio = medianRatio(open, bare);
    std::printf("patient screens over %d patients (medians of %d runs; one connection, both warm)\n", rows,
                runs);
    std::printf("  bare loop, same statement and connection %8.1f ms\n", median(bare));
    std::printf("  list opened through the opener           %8.1f ms   ratio %.2f (per run %s)\n",
                median(open), ratio, qPrintable(perRunRatios(open, bare)));
    std::printf("  processor time, all threads: open %.1f ms, bare loop %.1f ms, ratio %.2f\n",
                median(openCpu), median(bareCpu), medianRatio(openCpu, bareCpu));
    std::printf("  photo column scrolled into view          %8.1f ms   (one repaint)\n", median(photoColumn));
    std::printf("  sort by another title                    %8.1f ms\n", median(sortOther));
    std::printf("  search box, per keystroke                %8.3f ms\n", median(keystroke));
    std::printf("  filter dialog OK                         %8.1f ms\n", median(filter));
    std::printf("  record opened on a patient               %8.1f ms\n", median(record));
    std::printf("  list rows hold %.1f MB for %.1f MB of raw values (%.2f x)\n", memory / 1e6, rawBytes / 1e6,
                rawBytes ? double(memory) / double(rawBytes) : 0.0);
    addFigure({QStringLiteral("list screen open / bare loop (warm)"), ratio, QStringLiteral("x"), 1.15,
               QStringLiteral("%1 vs %2 ms; per run %3")
                   .arg(median(open), 0, 'f', 1)
                   .arg(median(bare), 0, 'f', 1)
                   .arg(perRunRatios(open, bare))});
    addFigure({QStringLiteral("list screen open CPU, all threads / bare loop CPU"),
               medianRatio(openCpu, bareCpu), QStringLiteral("x"), -1,
               QStringLiteral("%1 vs %2 ms").arg(median(openCpu), 0, 'f', 1).arg(median(bareCpu), 0, 'f', 1)});
    addFigure({QStringLiteral("list screen sort by a title click"), median(sortOther), QStringLiteral("ms"),
               100, runsNote(sortOther)});
    addFigure({QStringLiteral("search box per keystroke (key events)"), median(keystroke),
               QStringLiteral("ms"), 3, runsNote(keystroke)});
    addFigure(
        {QStringLiteral("filter dialog OK"), median(filter), QStringLiteral("ms"), 200, runsNote(filter)});
    addFigure({QStringLiteral("patient record opened from the list"), median(record), QStringLiteral("ms"),
               -1, runsNote(record)});
    return 0;
}

} // namespace dv::bench
