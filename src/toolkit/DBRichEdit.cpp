#include "DBRichEdit.h"
#include "core/db/Field.h"
#include <QApplication>

namespace dv {

DBRichEdit::DBRichEdit(QWidget* parent) : QTextEdit(parent), DataControl(this) {
    setTabChangesFocus(true);
    link().onLoad = [this] { load(); };
    link().onState = [this] { updateState(); };
    connect(this, &QTextEdit::textChanged, this, &DBRichEdit::edited);
}

void DBRichEdit::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateState();
}

void DBRichEdit::updateState() {
    const bool bound = dataSource() && !dataField().isEmpty();
    QTextEdit::setReadOnly(m_readOnly || (bound && !link().canModify()));
}

void DBRichEdit::load() {
    if (!dataSource() || dataField().isEmpty()) return;
    Field* f = field();
    const QString value = f && link().isActive() ? f->asString() : QString();
    if (value == m_loaded && !document()->isEmpty()) return;
    m_loading = true;
    if (Qt::mightBeRichText(value))
        setHtml(value);
    else
        setPlainText(value);
    m_loaded = value;
    m_loading = false;
    updateState();
}

void DBRichEdit::edited() {
    if (m_loading || !dataSource() || dataField().isEmpty()) return;
    if (!link().edit()) {
        QApplication::beep();
        m_loaded.clear();
        load();
        return;
    }
    const QString value = document()->isEmpty() ? QString() : toHtml();
    m_loaded = value;
    link().write([&](Field& f) { f.setAsString(value); });
}

} // namespace dv
