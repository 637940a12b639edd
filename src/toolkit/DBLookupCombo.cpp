#include "DBLookupCombo.h"
#include "DBGrid.h"
#include "LookupPopup.h"
#include "ToolkitLocale.h"
#include "ToolkitRegistration.h"
#include "core/db/Dataset.h"
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>

namespace dv {

DBLookupCombo::DBLookupCombo(QWidget* parent)
    : QWidget(parent), DataControl(this), m_edit(new QLineEdit(this)),
      m_button(
          m_edit->addAction(toolkitIcon(QStringLiteral("x-dv-drop-down")), QLineEdit::TrailingPosition)) {
    // The language files name this box's texts: they apply only once its kind is known.
    registerToolkitTexts();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit);
    setFocusProxy(m_edit);
    // The box takes the focus as its editor does: code that asks the box itself (the
    // maintenance base's required check) must see a box that can be focused.
    setFocusPolicy(m_edit->focusPolicy());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_edit->installEventFilter(this);

    connect(m_button, &QAction::triggered, this, [this] {
        if (isPopupVisible())
            hidePopup();
        else if (!blocked()) {
            m_edit->setFocus();
            showPopup();
        }
    });
    connect(m_edit, &QLineEdit::textEdited, this, &DBLookupCombo::typed);
    link().onLoad = [this] { load(); };
    link().onState = [this] { updateState(); };
}

void DBLookupCombo::setLookup(DataSource* lookupSource, const QString& keyField,
                              const QStringList& displayFields, const QStringList& titles) {
    if (m_lookup) disconnect(m_lookup, nullptr, this, nullptr);
    m_lookup = lookupSource;
    m_keyField = keyField;
    m_displayFields = displayFields;
    m_titles = titles;
    if (m_lookup && m_lookup->dataset()) m_lookup->dataset()->openIfOnDemand();
    if (m_lookup) {
        // A reopened or refreshed lookup may now have the stored key.
        connect(m_lookup, &DataSource::datasetReset, this, [this] {
            if (!m_typed) load();
        });
    }
    load();
}

QStringList DBLookupCombo::columnTitles() const {
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    QStringList titles;
    for (int i = 0; i < m_displayFields.size(); ++i) {
        QString title = m_titles.value(i);
        if (title.isEmpty()) {
            const Field* f = lookup ? lookup->findField(m_displayFields[i]) : nullptr;
            title = f ? f->displayLabel() : m_displayFields[i];
        }
        titles << title;
    }
    return titles;
}

void DBLookupCombo::setDisplayWidths(const QList<int>& chars) {
    m_widths = chars;
}

QList<GridColumn> DBLookupCombo::popupColumns() const {
    QList<GridColumn> columns;
    for (int i = 0; i < m_displayFields.size(); ++i)
        columns.append({m_displayFields[i], m_titles.value(i), m_widths.value(i)});
    return columns;
}

QString DBLookupCombo::displayOf(const QVariant& key) const {
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    if (!lookup || !lookup->isActive() || !key.isValid() || key.isNull() || m_displayFields.isEmpty())
        return QString();
    Field* shown = lookup->findField(m_displayFields.first());
    const QVariant v = lookup->lookup(m_keyField, {key}, m_displayFields.first());
    if (!v.isValid()) return QString();
    if (shown && shown->dataType() != FieldType::String && shown->dataType() != FieldType::Memo)
        return shown->format(shown->convert(v));
    return v.toString();
}

QVariant DBLookupCombo::keyValue() const {
    if (bound()) {
        Field* f = field();
        return f && link().isActive() && !f->isNull() ? f->asVariant() : QVariant();
    }
    return m_unboundKey;
}

QString DBLookupCombo::text() const {
    return m_edit->text();
}

QString DBLookupCombo::typedText() const {
    return m_edit->text();
}

void DBLookupCombo::setReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    updateState();
}

bool DBLookupCombo::blocked() const {
    return m_readOnly || (bound() && !link().canModify());
}

void DBLookupCombo::updateState() {
    const bool ro = blocked();
    m_edit->setReadOnly(ro);
    m_button->setEnabled(!ro);
}

void DBLookupCombo::load() {
    m_typed = false;
    if (bound())
        m_edit->setText(displayOf(keyValue()));
    else if (m_unboundKey.isValid())
        m_edit->setText(displayOf(m_unboundKey));
    else
        m_edit->clear(); // typing given up with nothing chosen leaves nothing behind
    m_edit->setCursorPosition(0);
    updateState();
}

bool DBLookupCombo::isPopupVisible() const {
    return m_popup && m_popup->isVisible();
}

void DBLookupCombo::showPopup() {
    if (!m_lookup || !m_lookup->dataset() || !m_lookup->dataset()->isActive()) return;
    if (!m_popup) {
        m_popup = new LookupPopup(m_edit);
        connect(m_popup, &LookupPopup::chosen, this, &DBLookupCombo::choose);
        connect(m_popup, &LookupPopup::cancelled, this, &DBLookupCombo::cancelPopup);
        connect(m_popup, &LookupPopup::tabbed, this, &DBLookupCombo::tabbedOut);
    }
    m_popup->setSource(m_lookup, popupColumns());
    Dataset* lookup = m_lookup->dataset();
    // Open on the row of the value shown, unless the user is typing.
    const QVariant key = keyValue();
    if (!m_typed && key.isValid() && !key.isNull()) lookup->locate(m_keyField, key);
    m_popup->popup(this);
}

void DBLookupCombo::hidePopup() {
    if (m_popup) m_popup->hide();
}

void DBLookupCombo::typed(const QString& typedText) {
    QString t = typedText;
    if (m_charCase == CharCase::Upper) t = t.toUpper();
    if (m_charCase == CharCase::Lower) t = t.toLower();
    if (t != typedText) {
        const int pos = m_edit->cursorPosition();
        m_edit->setText(t);
        m_edit->setCursorPosition(pos);
    }
    if (blocked()) {
        QApplication::beep();
        load();
        return;
    }
    m_typed = true;
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    if (!lookup || !lookup->isActive() || m_displayFields.isEmpty()) return;
    if (!t.isEmpty()) lookup->seekPrefix(m_displayFields.first(), t);
    if (!isPopupVisible()) showPopup();
    m_edit->setFocus();
}

void DBLookupCombo::choose() {
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    if (!lookup || !lookup->isActive() || lookup->isEmpty()) {
        load();
        return;
    }
    Field* key = lookup->findField(m_keyField);
    if (!key) return;
    const QVariant value = key->asVariant();
    if (bound()) {
        if (!link().edit()) {
            QApplication::beep();
            load();
            return;
        }
        link().write([&](Field& f) { f.setAsVariant(value); });
    } else {
        m_unboundKey = value;
    }
    m_typed = false;
    m_edit->setText(displayOf(value));
    m_edit->selectAll();
    emit changed();
}

// Tab in the drop-down takes what the typing found (or the row moved to) before the
// popup passes the key on, so the focus leaves with the value written.
void DBLookupCombo::tabbedOut() {
    if (m_typed)
        updateRecord();
    else
        choose();
}

void DBLookupCombo::cancelPopup() {
    load();
    m_edit->selectAll();
}

void DBLookupCombo::setKeyValue(const QVariant& key) {
    if (!key.isValid() || key.isNull()) {
        clearValue();
        return;
    }
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    if (!lookup || !lookup->locate(m_keyField, key)) return;
    choose();
}

void DBLookupCombo::setText(const QString& text) {
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    if (lookup && lookup->isActive() && !m_displayFields.isEmpty() && !text.isEmpty() &&
        lookup->locate(m_displayFields.first(), text, LocateOption::CaseInsensitive)) {
        choose();
        return;
    }
    m_edit->setText(text);
}

void DBLookupCombo::clearValue() {
    if (bound()) {
        if (!link().edit()) {
            QApplication::beep();
            return;
        }
        link().write([](Field& f) { f.clear(); });
    } else {
        m_unboundKey = QVariant();
    }
    m_typed = false;
    m_edit->clear();
    emit changed();
}

void DBLookupCombo::updateRecord() {
    if (!m_typed) return;
    // Typed but not chosen: the row the typing found is taken when it begins with the
    // text; otherwise the stored value stays.
    Dataset* lookup = m_lookup ? m_lookup->dataset() : nullptr;
    const QString t = m_edit->text();
    if (lookup && lookup->isActive() && !lookup->isEmpty() && !t.isEmpty() && !m_displayFields.isEmpty()) {
        Field* shown = lookup->findField(m_displayFields.first());
        if (shown && shown->displayText().startsWith(t, Qt::CaseInsensitive)) {
            choose();
            return;
        }
    }
    load();
}

bool DBLookupCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        const int key = ke->key();
        const bool alt = ke->modifiers() & Qt::AltModifier;
        if (key == Qt::Key_F4 || (alt && key == Qt::Key_Down)) {
            if (!blocked()) showPopup();
            return true;
        }
        if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && !blocked() &&
            (m_edit->text().isEmpty() || m_edit->selectedText() == m_edit->text())) {
            clearValue();
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_typed) {
            updateRecord();
            return true;
        }
        if (key == Qt::Key_Escape && m_typed) {
            cancelPopup();
            return true;
        }
        // With nothing typed, Escape is the screen's (a list closes), as in its search box.
        if (key == Qt::Key_Escape &&
            isSignalConnected(QMetaMethod::fromSignal(&DBLookupCombo::escapePressed))) {
            emit escapePressed();
            return true;
        }
    } else if (watched == m_edit && event->type() == QEvent::FocusOut) {
        if (!isPopupVisible() && m_typed) updateRecord();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dv
