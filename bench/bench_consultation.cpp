// The consultation record opened on a long treatment plan, through the list's Edit as
// the desk does it, on a benchmark database.
#include "bench_consultation.h"
#include "bench_patient_screens.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace dv::bench {

namespace {

const int kItems = 300;

// A consultation with kItems items: the first one the database has, else one made
// for the first patient.
qint64 longConsultation(Connection& db, qint64* patient) {
    auto found = db.query(QStringLiteral(
        "select i.consulta_id, c.paciente_id from item_consulta i inner join consulta c on c.consulta_id = "
        "i.consulta_id group by i.consulta_id, c.paciente_id having count(*) >= 300 limit 1"));
    if (found->next()) {
        *patient = found->integer(1);
        return found->integer(0);
    }
    auto first = db.query(QStringLiteral("select min(paciente_id) from paciente"));
    if (!first->next() || first->isNull(0)) return 0;
    *patient = first->integer(0);
    Transaction t(db);
    const qint64 consultation = db.insert(
        QStringLiteral("insert into consulta (paciente_id, dentista_id, consulta_data, consulta_validade, "
                       "consulta_aprovado, forma_pagamento_id, consulta_valor) values (:p, 1, "
                       "'2026-12-01 00:00:00', '2026-12-08 00:00:00', 'N', 1, 0)"),
        {{QStringLiteral("p"), ParamType::Integer, *patient}}, QStringLiteral("consulta_id"));
    for (int i = 0; i < kItems; ++i)
        db.execute(QStringLiteral(
                       "insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, "
                       "item_consulta_valor, item_consulta_concluido) values (:c, :s, :d, 'Q1', :v, 'N')"),
                   {{QStringLiteral("c"), ParamType::Integer, consultation},
                    {QStringLiteral("s"), ParamType::Integer, 1 + i % 30},
                    {QStringLiteral("d"), ParamType::Integer, 11 + i % 8},
                    {QStringLiteral("v"), ParamType::Integer, 1500000 + i * 100}});
    db.execute(QStringLiteral("update consulta set consulta_valor = (select sum(item_consulta_valor) from "
                              "item_consulta where consulta_id = :c) where consulta_id = :c"),
               {{QStringLiteral("c"), ParamType::Integer, consultation}});
    t.commit();
    return consultation;
}

} // namespace

int consultationRecord(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    qint64 patient = 0;
    const qint64 consultation = longConsultation(*dm().ADOConexao(), &patient);
    if (!consultation) {
        std::fprintf(stderr, "dv_bench: the database has no patient\n");
        shutdown(o);
        return 1;
    }
    ScreenOpener& opener = o.main->opener();
    opener.open(QStringLiteral("frmConsulta"), {{QStringLiteral("paciente_id"), patient}});
    auto* list = qobject_cast<TfrmConsulta*>(opener.openScreen(QStringLiteral("frmConsulta")));
    if (!list || !list->SQL_Consulta->locate(QStringLiteral("consulta_id"), consultation)) {
        std::fprintf(stderr, "dv_bench: the consultation list did not open on the consultation\n");
        shutdown(o);
        return 1;
    }

    std::vector<double> ms;
    int items = 0;
    QString total;
    for (int run = 0; run < runs + 1; ++run) {
        QElapsedTimer t;
        double shown = 0;
        // Measured from Edit until the record, its grid and its total have been painted.
        QTimer::singleShot(0, [&] {
            auto* record = qobject_cast<TfrmConsulta_Manut*>(QApplication::activeModalWidget());
            if (!record) return;
            record->repaint();
            shown = double(t.nsecsElapsed()) / 1e6;
            items = record->SQL_ItemConsulta->recordCount();
            total = record->DBEditValorTotal->text();
            record->close();
        });
        t.start();
        list->btnEditarClick();
        if (run > 0) ms.push_back(shown); // the first warms the caches
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("consultation record: consultation %lld, %d items, total %s\n", consultation, items,
                qPrintable(total));
    std::printf("  open until grid and total shown, median of %d runs: %.2f ms (target <= 150 ms)%s\n", runs,
                median, median <= 150 ? "" : "  ABOVE TARGET");
    shutdown(o);
    return 0;
}

} // namespace dv::bench
