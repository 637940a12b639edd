#include "DBDateEdit.h"
#include "CalendarPopup.h"
#include "ToolkitLocale.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/db/BrFormat.h"
#include "core/db/Field.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>

namespace dv {

DBDateEdit::DBDateEdit(QWidget* parent) : QLineEdit(parent), DataControl(this) {
    // Day and month required, the year's last two digits optional ("01/02/95").
    setInputMask(QStringLiteral("99/99/9900;_"));
    m_button = addAction(toolkitIcon(QStringLiteral("x-office-calendar")), QLineEdit::TrailingPosition);
    connect(m_button, &QAction::triggered, this, &DBDateEdit::showCalendar);
    link().onLoad = [this] { load(); };
    link().onState = [this] { updateState(); };
    connect(this, &QLineEdit::textEdited, this, &DBDateEdit::edited);
    connect(this, &QLineEdit::returnPressed, this, [this] { commit(true); });
    setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 36);
}

void DBDateEdit::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateState();
}

void DBDateEdit::updateState() {
    const bool ro = m_readOnly || (bound() && !link().canModify());
    QLineEdit::setReadOnly(ro);
    m_button->setEnabled(!ro && isEnabled());
}

QDate DBDateEdit::date() const {
    QString digits = text();
    if (digits.remove(QLatin1Char('/')).trimmed().isEmpty()) return QDate();
    return br::parseDate(text()).value_or(QDate());
}

void DBDateEdit::showDate(const QDate& date) {
    m_shown = date;
    setText(date.isValid() ? br::formatDate(date) : QString());
    setCursorPosition(0);
    m_modified = false;
}

void DBDateEdit::load() {
    if (!bound()) return;
    Field* f = field();
    showDate(f && link().isActive() && !f->isNull() ? f->asDate() : QDate());
    updateState();
}

void DBDateEdit::edited() {
    if (bound() && !link().edit()) {
        QApplication::beep();
        load();
        return;
    }
    m_modified = true;
}

void DBDateEdit::store(const QDate& date) {
    if (!bound()) return;
    if (!link().isEditing() && !link().edit()) return;
    link().write([&](Field& f) {
        if (!date.isValid()) {
            if (!f.isNull()) f.clear();
        } else if (f.isNull() || f.asDate() != date) {
            const QTime time = f.isNull() ? QTime(0, 0) : f.asDateTime().time();
            f.setAsDateTime(QDateTime(date, time));
        }
    });
}

bool DBDateEdit::commit(bool warn) {
    if (!m_modified) return true;
    QString digits = text();
    digits.remove(QLatin1Char('/'));
    std::optional<QDate> d;
    if (digits.trimmed().isEmpty())
        d = QDate();
    else
        d = br::parseDate(text());
    if (!d) {
        m_modified = false;
        if (warn) services().dialogs().warning(toolkitText(ToolkitText::CalendarInvalidDate));
        if (bound())
            load();
        else
            showDate(m_shown);
        return false;
    }
    const bool changed = *d != m_shown;
    store(*d);
    showDate(*d);
    if (changed) emit dateChanged(*d);
    return true;
}

void DBDateEdit::setDate(const QDate& date) {
    if (bound() && !link().edit()) return;
    const bool changed = date != m_shown || m_modified;
    store(date);
    showDate(date);
    if (changed) emit dateChanged(date);
}

void DBDateEdit::updateRecord() {
    commit(true);
}

void DBDateEdit::showCalendar() {
    if (isReadOnly() || !isEnabled()) return;
    if (!m_popup) {
        m_popup = new CalendarPopup(this);
        connect(m_popup, &CalendarPopup::picked, this, [this](const QDate& d) {
            setFocus();
            setDate(d);
            emit closeUp(d);
        });
    }
    const QDate current = date();
    m_popup->popup(this, current.isValid() ? current : m_shown);
}

void DBDateEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalendar();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DBDateEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Leaving for the calendar of this box is not leaving it.
    if (m_popup && m_popup->isVisible()) return;
    commit(true);
}

} // namespace dv
