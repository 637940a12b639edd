#include "CalendarPopup.h"
#include "ToolkitLocale.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace dv {

CalendarPopup::CalendarPopup(QWidget* parent)
    : QFrame(parent, Qt::Popup), m_calendar(new QCalendarWidget(this)) {
    setFrameShape(QFrame::StyledPanel);
    setAttribute(Qt::WA_WindowPropagation);
    m_calendar->setLocale(toolkitLocale());
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_calendar->setGridVisible(false);

    auto* today = new QPushButton(toolkitText(ToolkitText::CalendarToday), this);
    auto* clear = new QPushButton(toolkitText(ToolkitText::CalendarClear), this);
    today->setAutoDefault(false);
    clear->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(today);
    buttons->addStretch();
    buttons->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);

    connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate& d) {
        hide();
        emit picked(d);
    });
    connect(m_calendar, &QCalendarWidget::clicked, this, [this](const QDate& d) {
        hide();
        emit picked(d);
    });
    connect(today, &QPushButton::clicked, this, [this] {
        hide();
        emit picked(services().clock().today());
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        hide();
        emit picked(QDate());
    });
}

void CalendarPopup::popup(QWidget* below, const QDate& date) {
    const QDate d = date.isValid() ? date : services().clock().today();
    m_calendar->setSelectedDate(d);
    m_calendar->setCurrentPage(d.year(), d.month());
    adjustSize();
    QPoint pos = below->mapToGlobal(QPoint(0, below->height()));
    if (QScreen* screen = below->screen()) {
        const QRect area = screen->availableGeometry();
        if (pos.y() + height() > area.bottom()) pos.setY(below->mapToGlobal(QPoint(0, 0)).y() - height());
        if (pos.x() + width() > area.right()) pos.setX(area.right() - width());
    }
    move(pos);
    show();
    m_calendar->setFocus();
}

} // namespace dv
