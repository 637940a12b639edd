#include "ToolkitRegistration.h"
#include "DBCheckBox.h"
#include "DBEdit.h"
#include "DBImage.h"
#include "DBLookupCombo.h"
#include "DBMemo.h"
#include "DBRadioGroup.h"
#include "LookupTitles.h"
#include "core/ComponentTexts.h"
#include <QTableWidget>

namespace dv {

namespace {

// Boxes that show the user's data have no caption of their own, only a hint.
template <typename T> ComponentTextKind hintOnly() {
    ComponentTextKind kind;
    kind.type = &T::staticMetaObject;
    kind.keys = {TextKey::Hint};
    kind.text = [](const QObject* o, TextKey) { return static_cast<const T*>(o)->toolTip(); };
    kind.setText = [](QObject* o, TextKey, const QString& value) { static_cast<T*>(o)->setToolTip(value); };
    return kind;
}

} // namespace

void registerToolkitTexts() {
    static bool done = false;
    if (done) return;
    done = true;

    ComponentTextKind check;
    check.type = &DBCheckBox::staticMetaObject;
    check.keys = {TextKey::Caption, TextKey::Hint};
    check.text = [](const QObject* o, TextKey key) {
        auto* c = static_cast<const DBCheckBox*>(o);
        return key == TextKey::Caption ? c->text() : c->toolTip();
    };
    check.setText = [](QObject* o, TextKey key, const QString& value) {
        auto* c = static_cast<DBCheckBox*>(o);
        if (key == TextKey::Caption)
            c->setText(value);
        else
            c->setToolTip(value);
    };
    check.blankBeforeHintEquals = true;
    ComponentTexts::registerKind(check);

    ComponentTextKind radio;
    radio.type = &DBRadioGroup::staticMetaObject;
    radio.keys = {TextKey::Caption, TextKey::Hint, TextKey::Items};
    radio.text = [](const QObject* o, TextKey key) {
        auto* r = static_cast<const DBRadioGroup*>(o);
        return key == TextKey::Caption ? r->title() : r->toolTip();
    };
    radio.setText = [](QObject* o, TextKey key, const QString& value) {
        auto* r = static_cast<DBRadioGroup*>(o);
        if (key == TextKey::Caption)
            r->setTitle(value);
        else
            r->setToolTip(value);
    };
    radio.items = [](const QObject* o) { return static_cast<const DBRadioGroup*>(o)->items(); };
    radio.setItems = [](QObject* o, const QStringList& items) {
        static_cast<DBRadioGroup*>(o)->setItems(items);
    };
    radio.blankBeforeHintEquals = true;
    ComponentTexts::registerKind(radio);

    ComponentTexts::registerKind(hintOnly<DBEdit>());
    ComponentTexts::registerKind(hintOnly<DBMemo>());
    // A lookup box's drop-down column titles are its items.
    ComponentTextKind lookup = hintOnly<DBLookupCombo>();
    lookup.keys = {TextKey::Hint, TextKey::Items};
    lookup.items = [](const QObject* o) { return static_cast<const DBLookupCombo*>(o)->columnTitles(); };
    lookup.setItems = [](QObject* o, const QStringList& titles) {
        static_cast<DBLookupCombo*>(o)->setColumnTitles(titles);
    };
    ComponentTexts::registerKind(lookup);
    // So are the titles of a drop-down inside a grid cell.
    ComponentTextKind cellLookup;
    cellLookup.type = &LookupTitles::staticMetaObject;
    cellLookup.keys = {TextKey::Items};
    cellLookup.items = [](const QObject* o) { return static_cast<const LookupTitles*>(o)->titles(); };
    cellLookup.setItems = [](QObject* o, const QStringList& titles) {
        static_cast<LookupTitles*>(o)->setTitles(titles);
    };
    ComponentTexts::registerKind(cellLookup);
    ComponentTexts::registerKind(hintOnly<DBImage>());

    // A table's column titles are its items.
    ComponentTextKind table;
    table.type = &QTableWidget::staticMetaObject;
    table.keys = {TextKey::Items};
    table.items = [](const QObject* o) {
        auto* t = static_cast<const QTableWidget*>(o);
        QStringList titles;
        for (int c = 0; c < t->columnCount(); ++c)
            titles << (t->horizontalHeaderItem(c) ? t->horizontalHeaderItem(c)->text() : QString());
        return titles;
    };
    table.setItems = [](QObject* o, const QStringList& titles) {
        auto* t = static_cast<QTableWidget*>(o);
        for (int c = 0; c < t->columnCount() && c < titles.size(); ++c)
            t->setHorizontalHeaderItem(c, new QTableWidgetItem(titles[c]));
    };
    ComponentTexts::registerKind(table);
}

} // namespace dv
