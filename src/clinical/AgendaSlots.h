#pragma once
#include <QDate>
#include <QString>

namespace dv {
class Connection;
class Dataset;

// The agenda's slots: a dentist's working hours on a day's weekday that no
// appointment of that dentist on that day holds.
namespace agenda {

// Weekday number of a date: 1 Monday .. 7 Sunday.
inline int weekdayNumber(const QDate& day) {
    return day.dayOfWeek();
}

// Sets the free-slot statement on a dataset (closed) and its values; byWeekday false
// lists every hour of the dentist not booked that day (the appointment form's list).
void prepareFreeSlots(Dataset& freeSlots, qint64 dentist, const QDate& day, bool byWeekday = true);

// Refuses (message, then dv::Abort) a slot that cannot be booked: an hour that is not
// one of the dentist's working hours on that weekday (checked when `newBooking`), or
// that another appointment than `agendaId` holds. Run it inside the transaction that
// writes the appointment.
void checkSlotFree(Connection& db, qint64 dentist, const QDate& day, const QString& hour, qint64 agendaId,
                   bool newBooking);

// The message for a slot another appointment holds.
QString slotTakenMessage(const QString& hour, const QDate& day);

} // namespace agenda
} // namespace dv
