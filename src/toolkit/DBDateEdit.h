#pragma once
#include "FieldLink.h"
#include <QDate>
#include <QLineEdit>

class QAction;

namespace dv {

class CalendarPopup;

// A date box showing dd/MM/yyyy, with a calendar that drops down from its button
// (or F4 / Alt+Down). A two-digit year is read as 1990-2089. Bound to a date field it
// writes the date when the box is left, when a day is picked and on updateRecord();
// an empty box stores nothing (NULL); a date that does not exist gives the warning
// "Data inválida." and the box shows the stored date again. A date-time field keeps
// its time of day. Unbound, it is a plain date box (agenda period).
class DBDateEdit : public QLineEdit, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit DBDateEdit(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }

    // Invalid when the box is empty or its text is not a date.
    QDate date() const;
    // As if the user had chosen the date: written to the field when bound (an invalid
    // date empties it); dateChanged follows.
    void setDate(const QDate& date);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    void updateRecord() override;
    QString typedText() const override { return text(); }

    void showCalendar();
    CalendarPopup* calendarPopup() const { return m_popup; }

signals:
    // The date was changed by the user (or setDate); invalid when emptied.
    void dateChanged(const QDate& date);
    // A day was picked from the drop-down calendar (after dateChanged): screens that
    // reload on the calendar's choice but not on typing listen to this.
    void closeUp(const QDate& date);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void load();
    void updateState();
    void showDate(const QDate& date);
    void edited();
    bool commit(bool warn); // false when the text is not a date
    void store(const QDate& date);
    bool bound() const { return dataSource() && !dataField().isEmpty(); }

    QAction* m_button;
    CalendarPopup* m_popup = nullptr;
    QDate m_shown; // the last date committed or loaded
    bool m_modified = false;
    bool m_readOnly = false;
};

} // namespace dv
