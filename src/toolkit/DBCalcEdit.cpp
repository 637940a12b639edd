#include "DBCalcEdit.h"
#include "CalculatorPopup.h"
#include "ToolkitLocale.h"
#include "core/db/BrFormat.h"
#include <QAction>
#include <QKeyEvent>

namespace dv {

DBCalcEdit::DBCalcEdit(QWidget* parent) : DBEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_button = addAction(toolkitIcon(QStringLiteral("accessories-calculator")), QLineEdit::TrailingPosition);
    connect(m_button, &QAction::triggered, this, &DBCalcEdit::showCalculator);
}

void DBCalcEdit::showCalculator() {
    if (QLineEdit::isReadOnly() || !isEnabled()) return;
    if (!m_popup) {
        m_popup = new CalculatorPopup(this);
        connect(m_popup, &CalculatorPopup::accepted, this, &DBCalcEdit::accepted);
    }
    m_popup->popup(this, br::parseNumber(text()).value_or(0));
}

void DBCalcEdit::accepted(double value) {
    setFocus();
    const QString typed = br::formatFloat(value);
    setText(typed);
    emit textEdited(typed); // as if typed: the dataset goes into Edit
    updateRecord();
}

void DBCalcEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F4 ||
        (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier))) {
        showCalculator();
        return;
    }
    DBEdit::keyPressEvent(event);
}

void DBCalcEdit::focusOutEvent(QFocusEvent* event) {
    // Going to the calculator is not leaving the box.
    if (m_popup && m_popup->isVisible()) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    DBEdit::focusOutEvent(event);
}

} // namespace dv
