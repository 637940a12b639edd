#pragma once
#include <QDate>
#include <QFrame>

class QCalendarWidget;

namespace dv {

// The calendar that drops down under a date box, with "Hoje" and "Limpar".
class CalendarPopup : public QFrame {
    Q_OBJECT
public:
    explicit CalendarPopup(QWidget* parent = nullptr);

    QCalendarWidget* calendar() const { return m_calendar; }
    // Shows itself under the widget, on the date (today when invalid).
    void popup(QWidget* below, const QDate& date);

signals:
    void picked(const QDate& date); // invalid: "Limpar"

private:
    QCalendarWidget* m_calendar;
};

} // namespace dv
