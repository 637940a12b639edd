#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

namespace dv {

// The last day of the date's month; the time of day is kept.
QDate lastDayOfMonth(const QDate& date);
QDateTime lastDayOfMonth(const QDateTime& dateTime);

// Due date of installment `number` (1 for the first) from the first due date and
// the previous installment's due date (for the first, the caller passes the
// first due date as the previous one). The day follows the first due date's
// day, cut to the length of shorter months; a day cut short moves to the end of
// the next month rather than back: first due 31/01 gives 28/02, 31/03, 30/04.
QDate installmentDueDate(int number, const QDate& firstDue, const QDate& previousDue);

// "MM/dd/yyyy" with the slashes always "/" (agenda queries append " 00:00:00").
QString usDateTextSlashes(const QDate& date);
// "MM/dd/yyyy" with the process-wide date separator, which is "/".
QString usDateText(const QDate& date);

// The process-wide date separator (of the short date format "dd/MM/yyyy").
inline constexpr char16_t dateSeparator = u'/';

} // namespace dv
