#include "DBEdit.h"
#include "ToolkitRegistration.h"
#include "core/db/Dataset.h"
#include "core/db/Field.h"
#include <QApplication>

namespace dv {

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent), DataControl(this) {
    registerToolkitTexts(); // the language files' texts for this kind of box
    link().onLoad = [this] { load(); };
    link().onState = [this] { updateState(); };
    connect(this, &QLineEdit::textEdited, this, &DBEdit::edited);
}

void DBEdit::setEditMask(const QString& systemMask) {
    m_ownMask = systemMask;
    load();
}

void DBEdit::setCharCase(CharCase c) {
    m_charCase = c;
    if (c != CharCase::Normal && !m_loading) {
        const QString cased = caseOf(text());
        if (cased != text()) QLineEdit::setText(cased);
    }
}

void DBEdit::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateState();
}

QString DBEdit::caseOf(const QString& text) const {
    switch (m_charCase) {
    case CharCase::Upper:
        return text.toUpper();
    case CharCase::Lower:
        return text.toLower();
    case CharCase::Normal:
        break;
    }
    return text;
}

bool DBEdit::writesAsTyped() const {
    Field* f = field();
    return f && (f->dataType() == FieldType::String || f->dataType() == FieldType::Memo ||
                 f->dataType() == FieldType::Unknown);
}

void DBEdit::applyMask() {
    Field* f = field();
    const QString wanted = !m_ownMask.isEmpty() ? m_ownMask : (f ? f->editMask() : QString());
    if (wanted != m_mask.systemMask()) {
        m_mask = EditMask(wanted);
        setInputMask(m_mask.qtInputMask());
    }
    if (m_mask.isEmpty() && f && f->dataType() == FieldType::String && f->size() > 0)
        setMaxLength(f->size());
    else if (m_mask.isEmpty())
        setMaxLength(32767);
}

void DBEdit::load() {
    m_loading = true;
    applyMask();
    Field* f = field();
    QString value;
    if (f && link().isActive()) value = writesAsTyped() ? f->asString() : f->displayText();
    if (!m_mask.isEmpty())
        QLineEdit::setText(m_mask.toEditText(value));
    else
        QLineEdit::setText(value);
    if (hasFocus() || !m_mask.isEmpty()) setCursorPosition(0);
    m_modified = false;
    m_loading = false;
    updateState();
}

void DBEdit::updateState() {
    const bool bound = dataSource() && !dataField().isEmpty();
    QLineEdit::setReadOnly(m_readOnly || (bound && !link().canModify()));
}

void DBEdit::edited(const QString& typed) {
    if (m_charCase != CharCase::Normal) {
        const QString cased = caseOf(typed);
        if (cased != typed) {
            const int pos = cursorPosition();
            QLineEdit::setText(cased);
            setCursorPosition(pos);
        }
    }
    if (!dataSource() || dataField().isEmpty()) return;
    if (!link().edit()) {
        QApplication::beep();
        load();
        return;
    }
    m_modified = true;
    if (writesAsTyped()) store();
}

void DBEdit::store() {
    if (!link().isEditing() && !link().edit()) return;
    const QString value = m_mask.isEmpty() ? text() : m_mask.toStored(displayText());
    m_modified = false;
    link().write([&](Field& f) {
        if (f.asString() != value || f.isNull() != value.isEmpty()) f.setAsString(value);
    });
}

void DBEdit::updateRecord() {
    if (m_modified && field()) store();
}

QString DBEdit::typedText() const {
    return m_mask.isEmpty() ? text() : m_mask.typedText(displayText());
}

void DBEdit::focusInEvent(QFocusEvent* event) {
    // A screen may have given the field its mask since the box last showed it.
    Field* f = field();
    if (f && m_ownMask.isEmpty() && f->editMask() != m_mask.systemMask() && !m_modified) load();
    QLineEdit::focusInEvent(event);
}

void DBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_modified && field()) {
        store();
        load(); // show the value as the field formats it
    }
}

} // namespace dv
