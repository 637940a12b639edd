// The consultation record with a long treatment plan: a consultation of 300 items on
// the benchmark database opened from the consultation list until its item grid, total
// and chart (every icon drawn) are shown, then one item added from the record, with
// the places of the chart that repainted for it counted.
#include "bench_patient_screens.h"
#include "bench_table.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/OdontogramaWidget.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace dv::bench {

namespace {

constexpr int kItems = 300;

// Counts the chart's places that paint.
class PaintCounter : public QObject {
public:
    int painted = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
        // The panel's own paint counts too: it tells that the chart was drawn.
        if (e->type() == QEvent::Paint &&
            (qobject_cast<OdontogramaPlace*>(o) || o->inherits("OdontogramaPanel")))
            ++painted;
        return false;
    }
};

// A consultation of the first patient with kItems items spread over the chart's
// places, each with an icon of the catalogue; its key.
qint64 makePlan(Connection& db) {
    auto patient = db.query(QStringLiteral("select min(paciente_id) from paciente"));
    patient->next();
    const qint64 patientId = patient->integer(0);
    patient.reset();
    db.begin();
    const qint64 consultation = db.insert(
        QStringLiteral(
            "insert into consulta (paciente_id, dentista_id, consulta_data, consulta_validade, "
            "consulta_aprovado, forma_pagamento_id, consulta_valor) values (:p, (select "
            "min(dentista_id) from dentista), '2026-12-01 00:00:00', '2026-12-08 00:00:00', 'N', 1, 0)"),
        {{QStringLiteral("p"), ParamType::Integer, patientId}}, QStringLiteral("consulta_id"));
    const int quadrants[] = {1, 2, 3, 4};
    for (int i = 0; i < kItems; ++i) {
        const int quadrant = quadrants[i % 4];
        const int tooth = quadrant * 10 + 1 + (i / 4) % 8;
        QString location;
        int icon = 0, place = tooth;
        switch ((i / 32) % 4) {
        case 0:
            location = QStringLiteral("Q%1").arg(quadrant);
            icon = 1 + i % 5; // a face
            break;
        case 1:
            location = quadrant <= 2 ? QStringLiteral("DS") : QStringLiteral("DI");
            icon = quadrant <= 2 ? 11 : 12; // a crown
            break;
        case 2:
            location = quadrant <= 2 ? QStringLiteral("DS") : QStringLiteral("DI");
            icon = 7; // an extraction
            break;
        default:
            location = QStringLiteral("TO");
            place = 101 + i % 13;
            icon = 17 + i % 5;
            break;
        }
        db.execute(
            QStringLiteral("insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, "
                           "icone_id, item_consulta_valor, item_consulta_concluido) values (:c, (select "
                           "min(servico_id) from servico), :d, :l, :i, 1000000, 'N')"),
            {{QStringLiteral("c"), ParamType::Integer, consultation},
             {QStringLiteral("d"), ParamType::Integer, place},
             {QStringLiteral("l"), ParamType::String, location},
             {QStringLiteral("i"), ParamType::Integer, icon}});
    }
    db.commit();
    return consultation;
}

void dropPlan(Connection& db, qint64 consultation) {
    const Params key{{QStringLiteral("c"), ParamType::Integer, consultation}};
    db.begin();
    db.execute(QStringLiteral("delete from item_consulta where consulta_id = :c"), key);
    db.execute(QStringLiteral("delete from consulta where consulta_id = :c"), key);
    db.commit();
}

} // namespace

int consultationRecord(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;

    Connection& db = *dm().ADOConexao();
    const qint64 consultation = makePlan(db);
    auto patient = db.query(QStringLiteral("select paciente_id from consulta where consulta_id = :c"),
                            {{QStringLiteral("c"), ParamType::Integer, consultation}});
    patient->next();
    const qint64 patientId = patient->integer(0);
    patient.reset(); // cursors go before the connection
    auto service = db.query(QStringLiteral("select min(servico_id) from servico"));
    service->next();
    const qint64 serviceId = service->integer(0);
    service.reset();

    std::vector<double> open, add;
    int icons = 0, painted = 0;
    ScreenOpener& opener = o.main->opener();
    for (int run = 0; run < runs; ++run) {
        opener.open(QStringLiteral("frmConsulta"), {{QStringLiteral("paciente_id"), patientId}});
        auto* list = qobject_cast<TfrmConsulta*>(opener.openScreen(QStringLiteral("frmConsulta")));
        if (!list || !list->SQL_Consulta->locate(QStringLiteral("consulta_id"), consultation)) {
            std::fprintf(stderr, "dv_bench: the consultation list did not open on the plan\n");
            break;
        }
        QElapsedTimer t;
        double openMs = 0, addMs = 0;
        QTimer::singleShot(0, list, [&] {
            waitUntil([] { return qobject_cast<TfrmConsulta_Manut*>(QApplication::activeModalWidget()); });
            auto* r = qobject_cast<TfrmConsulta_Manut*>(QApplication::activeModalWidget());
            // Shown means painted: the chart's panel has drawn itself and its icons.
            PaintCounter shown;
            r->odontograma->pnlPermanentes->installEventFilter(&shown);
            for (auto* p : r->odontograma->pnlPermanentes->findChildren<OdontogramaPlace*>())
                p->installEventFilter(&shown);
            waitUntil([&] { return shown.painted > 0; }, 5000);
            openMs = double(t.nsecsElapsed()) / 1e6;
            r->odontograma->pnlPermanentes->removeEventFilter(&shown);
            icons = 0;
            for (auto* p : r->odontograma->findChildren<OdontogramaPlace*>())
                icons += p->item() != 0;

            // One item more, on tooth 36's occlusal face, once the record has settled (it
            // repaints once more shortly after opening).
            QElapsedTimer settle;
            settle.start();
            while (settle.elapsed() < 300)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
            PaintCounter counter;
            for (auto* p : r->odontograma->findChildren<OdontogramaPlace*>())
                p->installEventFilter(&counter);
            QElapsedTimer a;
            a.start();
            Dataset* items = r->SQL_ItemConsulta;
            items->append();
            items->fieldByName(QStringLiteral("servico_id"))->setAsInteger(serviceId);
            items->fieldByName(QStringLiteral("dente_id"))->setAsInteger(36);
            items->fieldByName(QStringLiteral("local_dente_id"))->setAsString(QStringLiteral("Q3"));
            items->fieldByName(QStringLiteral("icone_id"))->setAsInteger(5);
            items->post();
            r->odontograma->setCurrentIndex(0);
            QApplication::processEvents();
            addMs = double(a.nsecsElapsed()) / 1e6;
            painted = counter.painted;
            items->deleteRecord();
            r->close();
        });
        t.start();
        list->btnEditarClick();
        open.push_back(openMs);
        add.push_back(addMs);
        list->btnSairClick();
        QApplication::processEvents();
    }
    dropPlan(db, consultation);
    shutdown(o);

    std::printf("consultation record with %d items (medians of %d runs)\n", kItems, runs);
    std::printf("  opened until grid, total and chart  %8.1f ms   (%d icons; target <= 150)\n", median(open),
                icons);
    std::printf("  one item added from the record      %8.1f ms   (%d places repainted)\n", median(add),
                painted);
    addFigure({QStringLiteral("consultation of %1 items opened, chart drawn").arg(kItems), median(open),
               QStringLiteral("ms"), 150, QStringLiteral("%1 icons").arg(icons)});
    addFigure({QStringLiteral("one item added on that consultation"), median(add), QStringLiteral("ms"), -1,
               QStringLiteral("%1 places repainted").arg(painted)});
    return 0;
}

} // namespace dv::bench
