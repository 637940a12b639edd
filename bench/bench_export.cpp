// What users wait on when they take data out: the list's CSV export and a long
// report written as PDF.
#include "bench_export.h"
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/U_frmPaciente.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "reporting/ReportConnections.h"
#include "reporting/ReportProject.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/CsvExporter.h"
#include "toolkit/DBGrid.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

namespace dv::bench {

int csvExport(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    o.main->opener().open(QStringLiteral("frmPaciente"));
    auto* list = qobject_cast<TfrmPaciente*>(o.main->opener().openScreen(QStringLiteral("frmPaciente")));
    if (!list) {
        std::fprintf(stderr, "dv_bench: the patient list did not open\n");
        shutdown(o);
        return 1;
    }
    QApplication::processEvents();
    const QList<GridColumn> columns = list->wwDBGrid1->columns();
    const QString file = dir.filePath(QStringLiteral("pacientes.csv"));
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        CsvExporter::write(file, *list->SQL_Consulta, columns);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const int rows = list->SQL_Consulta->recordCount();
    std::printf("patient list to CSV: %d rows, %lld columns, %.1f MB (medians of %d runs)\n", rows,
                qint64(columns.size()), QFileInfo(file).size() / 1e6, runs);
    std::printf("  export %8.1f ms\n", median(ms));
    addFigure({QStringLiteral("CSV export of the patient list (%1 rows)").arg(rows), median(ms),
               QStringLiteral("ms"), 500,
               QStringLiteral("%1 columns; %2").arg(columns.size()).arg(runsNote(ms))});
    list->close();
    shutdown(o);
    return 0;
}

int reportPdf(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    int rows = 0, pages = 0;
    std::vector<double> ms;
    {
        // The patient report reads the list's rows as the screen holds them.
        Dataset patients(dm().ADOConexao(), QStringLiteral("SQL_Consulta"));
        patients.setSql(
            QStringLiteral("select * from paciente where paciente_id <= 10000 order by paciente_nome"));
        patients.open();
        rows = patients.recordCount();
        reportConnections().add(QStringLiteral("RV_Paciente"), &patients);
        ReportProject project;
        project.open();
        const QString file = dir.filePath(QStringLiteral("pacientes.pdf"));
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            const ReportDocument doc = project.build(QStringLiteral("Relat_Pacientes"));
            doc.writePdf(file);
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
            pages = doc.pageCount();
        }
        reportConnections().remove(QStringLiteral("RV_Paciente"));
    }
    std::printf("patient report to PDF: %d rows, %d pages (medians of %d runs)\n", rows, pages, runs);
    std::printf("  laid out and written %8.1f ms\n", median(ms));
    addFigure({QStringLiteral("report of %1 rows to PDF").arg(rows), median(ms), QStringLiteral("ms"), 3000,
               QStringLiteral("%1 pages; %2").arg(pages).arg(runsNote(ms))});
    shutdown(o);
    return 0;
}

} // namespace dv::bench
