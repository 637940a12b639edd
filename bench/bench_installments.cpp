// Generating a long payment plan on the installments tab, through "Gerar" as the desk
// does it, on a benchmark database.
#include "bench_installments.h"
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/ConsultaParcelas.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmPrincipal.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace dv::bench {

namespace {

const int kInstallments = 120;

// A consultation of the first patient, without installments, made for the benchmark.
qint64 planConsultation(Connection& db, qint64* patient) {
    auto first = db.query(QStringLiteral("select min(paciente_id) from paciente"));
    if (!first->next() || first->isNull(0)) return 0;
    *patient = first->integer(0);
    return db.insert(
        QStringLiteral("insert into consulta (paciente_id, dentista_id, consulta_data, "
                       "consulta_validade, consulta_aprovado, forma_pagamento_id, consulta_valor) "
                       "values (:p, 1, '2026-12-01 00:00:00', '2026-12-08 00:00:00', 'S', 1, "
                       "123456780000)"),
        {{QStringLiteral("p"), ParamType::Integer, *patient}}, QStringLiteral("consulta_id"));
}

} // namespace

int installmentGeneration(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;
    qint64 patient = 0;
    const qint64 consultation = planConsultation(*dm().ADOConexao(), &patient);
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
    int rows = 0, rereads = 0, rereadsOfGeneration = 0; // of the last generation
    QTimer::singleShot(0, [&] {
        auto* record = qobject_cast<TfrmConsulta_Manut*>(QApplication::activeModalWidget());
        if (!record) return;
        record->PageControl1->setCurrentWidget(record->TabSheet3);
        ConsultaParcelas* p = record->Parcelas;
        QObject::connect(record->dsParcela, &DataSource::datasetReset, [&] { ++rereads; });
        for (int run = 0; run < runs + 1; ++run) {
            p->EditNumParcelas->setText(QString::number(kInstallments));
            rereads = 0;
            QElapsedTimer t;
            t.start();
            p->btnGerarParcelasClick();
            const double took = double(t.nsecsElapsed()) / 1e6;
            if (run > 0) ms.push_back(took); // the first warms the caches
            rows = record->SQL_Parcela->recordCount();
            rereadsOfGeneration = rereads;
            if (run < runs) { // removed again, outside the measure
                dm().ADOConexao()->execute(QStringLiteral("delete from parcela where consulta_id = :c"),
                                           {{QStringLiteral("c"), ParamType::Integer, consultation}});
                record->SQL_Parcela->refresh();
            }
        }
        record->close();
    });
    list->btnEditarClick();
    dm().ADOConexao()->execute(QStringLiteral("delete from parcela where consulta_id = :c"),
                               {{QStringLiteral("c"), ParamType::Integer, consultation}});
    dm().ADOConexao()->execute(QStringLiteral("delete from consulta where consulta_id = :c"),
                               {{QStringLiteral("c"), ParamType::Integer, consultation}});
    std::sort(ms.begin(), ms.end());
    const double median = ms.empty() ? 0 : ms[ms.size() / 2];
    std::printf("installment generation: %d installments, list read again %d time(s) per generation%s\n",
                rows, rereadsOfGeneration, rereadsOfGeneration == 1 ? "" : "  ABOVE TARGET (one)");
    std::printf("  Gerar until list and totals shown, median of %d runs: %.2f ms\n", runs, median);
    addFigure({QStringLiteral("generation of %1 installments").arg(rows), median, QStringLiteral("ms"), -1,
               QString()});
    addFigure({QStringLiteral("installment list re-queries per generation"), double(rereadsOfGeneration),
               QStringLiteral("x"), 1, QString()});
    shutdown(o);
    return 0;
}

} // namespace dv::bench
