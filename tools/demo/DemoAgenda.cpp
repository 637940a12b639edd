#include "DemoParts.h"
#include "gen_clinic.h"

#include <QHash>
#include <QSet>

#include <vector>

namespace dv::demo {

namespace {

struct Hour {
    int dentist = 0;
    int weekday = 0; // 1 Monday .. 7 Sunday, as horario stores it
    QString hour;
};

// How full a day is: last week as it went, this week nearly full, next week filling up.
double occupancy(const QDate& day, const QDate& today, const QDate& monday) {
    if (day < today) return 0.75;
    if (day < monday.addDays(7)) return 0.7;
    return 0.45;
}

} // namespace

void bookAgenda(Connection& c, bench::Random& r, const QDate& today) {
    std::vector<Hour> hours;
    auto h = c.query(QStringLiteral("select dentista_id, dia_id, hora_id from horario "
                                    "order by dia_id, hora_id, dentista_id"));
    while (h->next())
        hours.push_back({int(h->integer(0)), int(h->integer(1)), text(*h, 2)});
    std::vector<int> patients;
    auto p =
        c.query(QStringLiteral("select paciente_id from paciente where paciente_ativo = 'S' order by 1"));
    while (p->next())
        patients.push_back(int(p->integer(0)));
    if (patients.empty()) return;

    const QDate monday = today.addDays(1 - today.dayOfWeek());
    for (QDate day = monday.addDays(-7); day < monday.addDays(14); day = day.addDays(1)) {
        QSet<int> seen; // nobody twice on one day
        for (const Hour& slot : hours) {
            if (slot.weekday != day.dayOfWeek() || !r.chance(occupancy(day, today, monday))) continue;
            int patient = 0;
            for (int tries = 0; tries < 20 && (!patient || seen.contains(patient)); ++tries)
                patient = patients[size_t(r.below(int(patients.size())))];
            if (seen.contains(patient)) continue;
            seen.insert(patient);
            const bool past = day < today;
            const bool missed = past && r.chance(0.07);
            const auto notes = bench::appointmentNotes();
            const auto reasons = bench::absenceReasons();
            c.execute(
                QStringLiteral("insert into agenda (paciente_id, agenda_data_cadastro, agenda_data_consulta, "
                               "hora_id, agenda_observacao, dentista_id, agenda_falta_atraso, "
                               "agenda_motivo_falta_atraso) values (:p, :cad, :dia, :hora, :obs, :d, :falta, "
                               ":motivo)"),
                {integer("p", patient), date("cad", std::min(day.addDays(-r.below(21)), today)),
                 date("dia", day), string("hora", slot.hour),
                 string("obs", r.chance(0.15) ? QString::fromUtf8(notes[size_t(r.below(int(notes.size())))])
                                              : QString()),
                 integer("d", slot.dentist), past ? flag("falta", missed) : string("falta", QString()),
                 string("motivo", missed ? QString::fromUtf8(reasons[size_t(r.below(int(reasons.size())))])
                                         : QString())});
        }
    }
}

} // namespace dv::demo
