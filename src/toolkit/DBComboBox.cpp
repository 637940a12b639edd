#include "DBComboBox.h"
#include "core/db/Field.h"
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace dv {

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent), DataControl(this) {
    link().onLoad = [this] { load(); };
    connect(this, &QComboBox::activated, this, &DBComboBox::chosen);
    connect(this, &QComboBox::editTextChanged, this, &DBComboBox::typed);
}

void DBComboBox::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (lineEdit()) lineEdit()->setReadOnly(readOnly);
}

bool DBComboBox::blocked() const {
    if (m_readOnly) return true;
    return dataSource() && !dataField().isEmpty() && !link().canModify();
}

void DBComboBox::load() {
    if (!dataSource() || dataField().isEmpty()) return;
    m_loading = true;
    Field* f = field();
    const QString value = f && link().isActive() ? f->asString() : QString();
    const int i = findText(value, Qt::MatchFixedString);
    if (isEditable()) {
        setCurrentIndex(i);
        setEditText(value);
    } else if (i >= 0 || value.isEmpty()) {
        setCurrentIndex(value.isEmpty() ? -1 : i);
    } else {
        // A stored value outside the list is still shown.
        setCurrentIndex(-1);
        setPlaceholderText(value);
    }
    if (value.isEmpty() || i >= 0) setPlaceholderText(QString());
    m_loading = false;
}

void DBComboBox::writeValue(const QString& value) {
    if (!dataSource() || dataField().isEmpty()) return;
    if (!link().edit()) {
        QApplication::beep();
        load();
        return;
    }
    link().write([&](Field& f) { f.setAsString(value); });
}

void DBComboBox::chosen(int index) {
    if (m_loading) return;
    setPlaceholderText(QString());
    writeValue(itemText(index));
}

void DBComboBox::typed(const QString& text) {
    if (m_loading || !isEditable() || !lineEdit() || !lineEdit()->hasFocus()) return;
    writeValue(text);
}

void DBComboBox::keyPressEvent(QKeyEvent* event) {
    if (blocked() && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab &&
        event->key() != Qt::Key_Escape && event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void DBComboBox::wheelEvent(QWheelEvent* event) {
    // The wheel scrolls the form, not the value.
    event->ignore();
}

void DBComboBox::showPopup() {
    if (blocked()) {
        QApplication::beep();
        return;
    }
    QComboBox::showPopup();
}

} // namespace dv
