#include "MonthCalendar.h"
#include "ToolkitLocale.h"
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QTextCharFormat>

namespace dv {

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setLocale(toolkitLocale());
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(false);
    m_anchor = m_first = m_last = selectedDate();
    if (auto* days = findChild<QAbstractItemView*>()) {
        days->installEventFilter(this);
        days->viewport()->installEventFilter(this);
    }
    connect(this, &QCalendarWidget::selectionChanged, this, [this] {
        if (m_programmatic) return;
        m_selectedByChange = true;
        select(selectedDate());
    });
    connect(this, &QCalendarWidget::clicked, this, [this](const QDate& date) {
        // A click on the day already selected still counts as choosing it.
        if (!m_selectedByChange) select(date);
        m_selectedByChange = false;
    });
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        m_modifiers = static_cast<QKeyEvent*>(event)->modifiers();
        m_selectedByChange = false;
        break;
    case QEvent::MouseButtonPress:
        m_modifiers = static_cast<QMouseEvent*>(event)->modifiers();
        m_selectedByChange = false;
        break;
    default:
        break;
    }
    return QCalendarWidget::eventFilter(watched, event);
}

void MonthCalendar::setSelection(const QDate& first, const QDate& last) {
    if (!first.isValid()) return;
    QDate a = first, b = last.isValid() ? last : first;
    if (b < a) std::swap(a, b);
    m_anchor = a;
    m_first = a;
    m_last = b;
    m_programmatic = true;
    setSelectedDate(a);
    m_programmatic = false;
    shade();
}

void MonthCalendar::select(const QDate& date) {
    if (!date.isValid()) return;
    if ((m_modifiers & Qt::ShiftModifier) && m_anchor.isValid()) {
        m_first = qMin(m_anchor, date);
        m_last = qMax(m_anchor, date);
    } else {
        m_anchor = m_first = m_last = date;
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
