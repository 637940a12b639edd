#include "DateUtils.h"

namespace dv {

QDate lastDayOfMonth(const QDate& date) {
    if (!date.isValid()) return date;
    return QDate(date.year(), date.month(), date.daysInMonth());
}

QDateTime lastDayOfMonth(const QDateTime& dateTime) {
    if (!dateTime.isValid()) return dateTime;
    return QDateTime(lastDayOfMonth(dateTime.date()), dateTime.time());
}

QDate installmentDueDate(int number, const QDate& firstDue, const QDate& previousDue) {
    if (number == 1) return previousDue;
    if (!previousDue.isValid() || !firstDue.isValid()) return QDate();
    const QDate target = QDate(previousDue.year(), previousDue.month(), 1).addMonths(1);
    const int last = lastDayOfMonth(target).day();
    int day = previousDue.day();
    if (day >= last) day = last;
    if (day < firstDue.day() && day < last) day = last;
    return QDate(target.year(), target.month(), day);
}

QString usDateTextSlashes(const QDate& date) {
    return date.toString(QStringLiteral("MM'/'dd'/'yyyy"));
}

QString usDateText(const QDate& date) {
    const QString sep{QChar(dateSeparator)};
    return date.toString(QStringLiteral("MM") + sep + QStringLiteral("dd") + sep + QStringLiteral("yyyy"));
}

} // namespace dv
