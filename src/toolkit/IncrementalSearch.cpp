#include "IncrementalSearch.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QKeyEvent>
#include <QMetaMethod>

namespace dv {

IncrementalSearch::IncrementalSearch(QWidget* parent) : QLineEdit(parent) {
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::textEdited, this, [this] { search(); });
}

bool IncrementalSearch::search() {
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    if (!ds || !ds->isActive() || m_field.isEmpty() || !ds->findField(m_field)) return false;
    const QString t = text();
    if (t.isEmpty()) return false;
    return ds->seekPrefix(m_field, t);
}

void IncrementalSearch::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape &&
        isSignalConnected(QMetaMethod::fromSignal(&IncrementalSearch::escapePressed))) {
        emit escapePressed();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    // Enter belongs to whoever listens to returnPressed, not to the form's default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        isSignalConnected(QMetaMethod::fromSignal(&QLineEdit::returnPressed)))
        event->accept();
}

} // namespace dv
