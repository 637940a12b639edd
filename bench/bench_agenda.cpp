// The agenda's refresh of one dentist's day, through the screen, on a benchmark
// database.
#include "bench_agenda.h"
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmAgenda_Consulta.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace dv::bench {

int agendaDay(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    {
        // The busiest day of an active dentist.
        auto busiest = dm().ADOConexao()->query(QStringLiteral(
            "select a.dentista_id, a.agenda_data_consulta, count(*) as n from agenda a inner join dentista d "
            "on d.dentista_id = a.dentista_id where d.dentista_ativo = 'S' "
            "group by a.dentista_id, a.agenda_data_consulta order by n desc limit 1"));
        if (!busiest->next()) {
            std::fprintf(stderr, "dv_bench: the database has no appointments\n");
            shutdown(o);
            return 1;
        }
        const qint64 dentist = busiest->integer(0);
        const QDate day = busiest->dateTime(1).date();
        auto count = dm().ADOConexao()->query(QStringLiteral("select count(*) from agenda"));
        count->next();
        const qint64 appointments = count->integer(0);

        std::unique_ptr<QWidget> widget(
            o.main->opener().registry().create(QStringLiteral("frmAgenda_Consulta"), o.main.get()));
        auto* agenda = qobject_cast<TfrmAgenda_Consulta*>(widget.get());
        agenda->resize(1280, 800);
        agenda->show();
        QApplication::processEvents();
        agenda->DBLC_Dentista->setKeyValue(dentist);
        agenda->edtDataInicial->setDate(day);
        agenda->edtDataFinal->setDate(day);

        std::vector<double> ms;
        for (int run = 0; run < runs + 1; ++run) {
            QElapsedTimer t;
            t.start();
            agenda->btnAtualizarClick();
            agenda->wwDBGrid1->repaint();
            agenda->wwDBGrid2->repaint();
            QApplication::processEvents();
            if (run > 0) ms.push_back(double(t.nsecsElapsed()) / 1e6); // the first warms the caches
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        std::printf(
            "agenda day refresh: dentist %lld, %s, %d appointments, %d free slots (of %lld appointments)\n",
            dentist, qPrintable(day.toString(QStringLiteral("dd/MM/yyyy"))),
            agenda->SQL_Agenda->recordCount(), agenda->SQL_Horario->recordCount(), appointments);
        std::printf("  median of %d runs: %.2f ms (target <= 30 ms)%s\n", runs, median,
                    median <= 30 ? "" : "  ABOVE TARGET");
        addFigure({QStringLiteral("agenda day refresh"), median, QStringLiteral("ms"), 30,
                   QStringLiteral("%1 appointments, %2 free slots")
                       .arg(agenda->SQL_Agenda->recordCount())
                       .arg(agenda->SQL_Horario->recordCount())});
        agenda->close();
    }
    shutdown(o);
    return 0;
}

} // namespace dv::bench
