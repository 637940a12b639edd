#pragma once
#include <QCalendarWidget>
#include <QDate>

namespace dv {

// A month calendar on which the user selects one day, or a range of days by holding
// Shift while clicking or moving with the arrow keys. The range is shaded.
//
//   connect(cal, &dv::MonthCalendar::rangeSelected, this, [&](QDate first, QDate last) {...});
class MonthCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    QDate selectionStart() const { return m_first; }
    QDate selectionEnd() const { return m_last; }
    // Selects the days from first to last (swapped when given the other way round).
    void setSelection(const QDate& first, const QDate& last);

signals:
    // The user clicked a day or moved the selection.
    void rangeSelected(const QDate& first, const QDate& last);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void select(const QDate& date);
    void shade();

    Qt::KeyboardModifiers m_modifiers; // of the last key or click on the days
    bool m_programmatic = false;
    bool m_selectedByChange = false;
    QDate m_anchor;
    QDate m_first;
    QDate m_last;
    QDate m_shadedFirst;
    QDate m_shadedLast;
};

} // namespace dv
