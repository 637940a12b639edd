#include "GridLookupEditor.h"
#include "LookupPopup.h"
#include "ToolkitLocale.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QAction>
#include <QKeyEvent>

namespace dv {

GridLookupEditor::GridLookupEditor(const ColumnLookup& lookup, QWidget* parent)
    : QLineEdit(parent), m_lookup(lookup),
      m_button(addAction(toolkitIcon(QStringLiteral("x-dv-drop-down")), QLineEdit::TrailingPosition)) {
    setFrame(false);
    connect(m_button, &QAction::triggered, this, [this] {
        if (isPopupVisible())
            m_popup->hide();
        else
            showPopup();
    });
    connect(this, &QLineEdit::textEdited, this, &GridLookupEditor::typed);
}

Dataset* GridLookupEditor::lookup() const {
    Dataset* ds = m_lookup.source ? m_lookup.source->dataset() : nullptr;
    return ds && ds->isActive() ? ds : nullptr;
}

QString GridLookupEditor::displayOf(const QVariant& key) const {
    Dataset* ds = lookup();
    if (!ds || !key.isValid() || key.isNull()) return QString();
    if (m_lookup.displayFields.isEmpty()) return key.toString();
    Field* shown = ds->findField(m_lookup.displayFields.first());
    const QVariant v = ds->lookup(m_lookup.keyField, {key}, m_lookup.displayFields.first());
    if (!v.isValid() || v.isNull()) return QString();
    if (shown && shown->dataType() != FieldType::String && shown->dataType() != FieldType::Memo)
        return shown->format(shown->convert(v));
    return v.toString();
}

void GridLookupEditor::start(const QVariant& key) {
    if (m_typed) return; // a refresh of the cell while the user types
    m_original = key;
    m_key = key;
    // A screen reading the lookup's current row sees the cell's row.
    if (Dataset* ds = lookup(); ds && key.isValid() && !key.isNull()) ds->locate(m_lookup.keyField, key);
    setText(displayOf(key));
    selectAll();
}

bool GridLookupEditor::isPopupVisible() const {
    return m_popup && m_popup->isVisible();
}

void GridLookupEditor::showPopup() {
    Dataset* ds = lookup();
    if (!ds) return;
    if (!m_popup) {
        m_popup = new LookupPopup(this);
        connect(m_popup, &LookupPopup::chosen, this, [this] {
            take();
            emit chosen();
        });
        connect(m_popup, &LookupPopup::tabbed, this, [this] {
            if (m_typed)
                resolveTyped();
            else
                take();
        });
        connect(m_popup, &LookupPopup::cancelled, this, [this] {
            m_typed = false;
            m_key = m_original;
            if (Dataset* rows = lookup(); rows && m_key.isValid() && !m_key.isNull())
                rows->locate(m_lookup.keyField, m_key);
            setText(displayOf(m_key));
            selectAll();
        });
    }
    QList<GridColumn> columns;
    for (int i = 0; i < m_lookup.displayFields.size(); ++i)
        columns.append({m_lookup.displayFields[i], m_lookup.titles.value(i), m_lookup.widths.value(i)});
    if (!m_lookup.pictureField.isEmpty()) columns.append({m_lookup.pictureField, QString(), 0});
    m_popup->setSource(m_lookup.source, columns);
    if (!m_lookup.pictureField.isEmpty())
        m_popup->grid()->setPictureField(m_lookup.pictureField, m_lookup.pictureSize);
    if (!m_typed && m_key.isValid() && !m_key.isNull()) ds->locate(m_lookup.keyField, m_key);
    m_popup->popup(this);
}

void GridLookupEditor::typed(const QString& text) {
    m_typed = true;
    Dataset* ds = lookup();
    if (!ds || m_lookup.displayFields.isEmpty()) return;
    if (!text.isEmpty()) ds->seekPrefix(m_lookup.displayFields.first(), text);
    if (!isPopupVisible()) showPopup();
}

void GridLookupEditor::take() {
    Dataset* ds = lookup();
    Field* key = ds && !ds->isEmpty() ? ds->findField(m_lookup.keyField) : nullptr;
    if (!key) return;
    m_typed = false;
    m_key = key->asVariant();
    setText(displayOf(m_key));
}

// Typed but not taken: the row the typing found when it begins with the text, an
// empty cell for an empty text, else the cell's key stays.
void GridLookupEditor::resolveTyped() {
    if (!m_typed) return;
    m_typed = false;
    const QString t = text();
    if (t.isEmpty()) {
        m_key = QVariant();
        return;
    }
    Dataset* ds = lookup();
    Field* shown = ds && !ds->isEmpty() && !m_lookup.displayFields.isEmpty()
                       ? ds->findField(m_lookup.displayFields.first())
                       : nullptr;
    if (shown && shown->displayText().startsWith(t, Qt::CaseInsensitive)) {
        take();
        return;
    }
    m_key = m_original;
    setText(displayOf(m_key));
}

bool GridLookupEditor::isChanged() {
    resolveTyped();
    const bool wasNull = !m_original.isValid() || m_original.isNull();
    const bool isNull = !m_key.isValid() || m_key.isNull();
    if (wasNull || isNull) return wasNull != isNull;
    return m_original.toString() != m_key.toString();
}

QVariant GridLookupEditor::key() {
    resolveTyped();
    return m_key;
}

void GridLookupEditor::keyPressEvent(QKeyEvent* event) {
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (event->key() == Qt::Key_F4 || (alt && event->key() == Qt::Key_Down)) {
        showPopup();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace dv
