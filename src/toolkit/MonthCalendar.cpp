#include "MonthCalendar.h"
#include "ToolkitLocale.h"
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QTextCharFormat>

namespace dv {

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setLocale(toolkitLocale());
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    m_anchor = m_first = m_last = selectedDate();
    connect(this, &QCalendarWidget::clicked, this, &MonthCalendar::dayClicked);
}

void MonthCalendar::setSelection(const QDate& first, const QDate& last) {
    if (!first.isValid()) return;
    QDate a = first, b = last.isValid() ? last : first;
    if (b < a) std::swap(a, b);
    m_anchor = a;
    m_first = a;
    m_last = b;
    setSelectedDate(a);
    shade();
}

void MonthCalendar::dayClicked(const QDate& date) {
    if ((QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) && m_anchor.isValid()) {
        m_first = qMin(m_anchor, date);
        m_last = qMax(m_anchor, date);
    } else {
        m_anchor = m_first = m_last = date;
    }
    shade();
    emit rangeSelected(m_first, m_last);
}

void MonthCalendar::keyPressEvent(QKeyEvent* event) {
    const QDate before = selectedDate();
    QCalendarWidget::keyPressEvent(event);
    const QDate after = selectedDate();
    if (after == before) return;
    if (event->modifiers() & Qt::ShiftModifier) {
        m_first = qMin(m_anchor, after);
        m_last = qMax(m_anchor, after);
    } else {
        m_anchor = m_first = m_last = after;
    }
    shade();
    emit rangeSelected(m_first, m_last);
}

void MonthCalendar::shade() {
    if (m_shadedFirst.isValid())
        for (QDate d = m_shadedFirst; d <= m_shadedLast; d = d.addDays(1))
            setDateTextFormat(d, QTextCharFormat());
    m_shadedFirst = m_shadedLast = QDate();
    if (m_first == m_last) return;
    QTextCharFormat range;
    QColor c = palette().color(QPalette::Highlight);
    c.setAlpha(70);
    range.setBackground(c);
    for (QDate d = m_first; d <= m_last; d = d.addDays(1))
        setDateTextFormat(d, range);
    m_shadedFirst = m_first;
    m_shadedLast = m_last;
}

} // namespace dv
