#include "AgendaSlots.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "core/db/WallClock.h"

namespace dv::agenda {

namespace {
Param integer(const char* name, qint64 value) {
    return Param{QString::fromLatin1(name), ParamType::Integer, value};
}
Param date(const char* name, const QDate& day) {
    return Param{QString::fromLatin1(name), ParamType::DateTime, wallClock(day, QTime(0, 0))};
}
} // namespace

void prepareFreeSlots(Dataset& freeSlots, qint64 dentist, const QDate& day, bool byWeekday) {
    QStringList sql = {QStringLiteral(" select hora_id from horario "),
                       QStringLiteral(" where hora_id not in "),
                       QStringLiteral(" ( select hora_id from agenda "),
                       QStringLiteral("  where agenda_data_consulta = :dia"),
                       QStringLiteral("  and dentista_id = :dentista_id "),
                       QStringLiteral("  )"),
                       QStringLiteral(" and dentista_id = :dentista")};
    if (byWeekday) sql << QStringLiteral(" and dia_id = :dia_id");
    sql << QStringLiteral(" Order by hora_id");
    if (freeSlots.sql() != sql) freeSlots.sql() = sql;
    freeSlots.setParam(QStringLiteral("dia"), ParamType::DateTime, wallClock(day, QTime(0, 0)));
    freeSlots.setParam(QStringLiteral("dentista_id"), ParamType::Integer, dentist);
    freeSlots.setParam(QStringLiteral("dentista"), ParamType::Integer, dentist);
    if (byWeekday) freeSlots.setParam(QStringLiteral("dia_id"), ParamType::Integer, weekdayNumber(day));
}

QString slotTakenMessage(const QString& hour, const QDate& day) {
    return dv::text("O horário %1 do dia %2 já está agendado para este dentista. "
                    "Atualize a agenda e escolha outro horário.")
        .arg(hour, day.toString(QStringLiteral("dd/MM/yyyy")));
}

void checkSlotFree(Connection& db, qint64 dentist, const QDate& day, const QString& hour, qint64 agendaId,
                   bool newBooking) {
    if (newBooking) {
        auto works = db.query(QStringLiteral("select count(*) from horario where dentista_id = :dentista "
                                             "and dia_id = :dia_id and hora_id = :hora"),
                              {integer("dentista", dentist), integer("dia_id", weekdayNumber(day)),
                               Param{QStringLiteral("hora"), ParamType::Text, hour}});
        if (!works->next() || works->integer(0) == 0) {
            services().dialogs().warning(
                dv::text("O horário %1 não é um horário de atendimento deste dentista no dia %2. "
                         "Atualize a agenda e escolha um horário disponível.")
                    .arg(hour, day.toString(QStringLiteral("dd/MM/yyyy"))));
            throw Abort();
        }
    }
    auto taken =
        db.query(QStringLiteral("select count(*) from agenda where dentista_id = :dentista "
                                "and agenda_data_consulta = :dia and hora_id = :hora "
                                "and agenda_id <> :agenda"),
                 {integer("dentista", dentist), date("dia", day),
                  Param{QStringLiteral("hora"), ParamType::Text, hour}, integer("agenda", agendaId)});
    if (taken->next() && taken->integer(0) > 0) {
        services().dialogs().warning(slotTakenMessage(hour, day));
        throw Abort();
    }
}

} // namespace dv::agenda
