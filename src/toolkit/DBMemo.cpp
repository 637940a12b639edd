#include "DBMemo.h"
#include "ToolkitRegistration.h"
#include "core/db/Field.h"
#include <QApplication>

namespace dv {

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent), DataControl(this) {
    registerToolkitTexts(); // the language files' texts for this kind of box
    setTabChangesFocus(true);
    link().onLoad = [this] { load(); };
    link().onState = [this] { updateState(); };
    connect(this, &QPlainTextEdit::textChanged, this, &DBMemo::edited);
}

void DBMemo::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateState();
}

void DBMemo::updateState() {
    const bool bound = dataSource() && !dataField().isEmpty();
    QPlainTextEdit::setReadOnly(m_readOnly || (bound && !link().canModify()));
}

void DBMemo::load() {
    m_loading = true;
    Field* f = field();
    const QString value = f && link().isActive() ? f->asString() : QString();
    if (value != toPlainText()) setPlainText(value);
    m_loading = false;
    updateState();
}

void DBMemo::edited() {
    if (m_loading || !dataSource() || dataField().isEmpty()) return;
    if (!link().edit()) {
        QApplication::beep();
        load();
        return;
    }
    const QString value = toPlainText();
    link().write([&](Field& f) { f.setAsString(value); });
}

} // namespace dv
