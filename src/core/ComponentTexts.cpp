#include "ComponentTexts.h"
#include "db/Field.h"
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QStackedWidget>
#include <QTabWidget>
#include <memory>

namespace dv {

QString textKeyName(TextKey key) {
    switch (key) {
    case TextKey::Caption:
        return QStringLiteral("Caption");
    case TextKey::Hint:
        return QStringLiteral("Hint");
    case TextKey::Items:
        return QStringLiteral("Items");
    case TextKey::DisplayLabel:
        return QStringLiteral("DisplayLabel");
    }
    return QString();
}

namespace {

// Caption and hint through two Qt properties.
template <typename T>
ComponentTextKind captionAndHint(QString (T::*get)() const, void (T::*set)(const QString&)) {
    ComponentTextKind kind;
    kind.type = &T::staticMetaObject;
    kind.keys = {TextKey::Caption, TextKey::Hint};
    kind.text = [get](const QObject* o, TextKey key) {
        const T* t = static_cast<const T*>(o);
        return key == TextKey::Caption ? (t->*get)() : t->toolTip();
    };
    kind.setText = [set](QObject* o, TextKey key, const QString& value) {
        T* t = static_cast<T*>(o);
        if (key == TextKey::Caption)
            (t->*set)(value);
        else
            t->setToolTip(value);
    };
    return kind;
}

QTabWidget* tabWidgetOf(const QObject* page) {
    const QObject* stack = page->parent();
    if (!qobject_cast<const QStackedWidget*>(stack)) return nullptr;
    QTabWidget* tabs = qobject_cast<QTabWidget*>(stack->parent());
    if (!tabs || tabs->indexOf(const_cast<QWidget*>(static_cast<const QWidget*>(page))) < 0) return nullptr;
    return tabs;
}

ComponentTextKind tabPage() {
    ComponentTextKind kind;
    kind.type = &QWidget::staticMetaObject;
    kind.accepts = [](const QObject* o) { return tabWidgetOf(o) != nullptr; };
    kind.keys = {TextKey::Caption, TextKey::Hint};
    kind.text = [](const QObject* o, TextKey key) {
        QTabWidget* tabs = tabWidgetOf(o);
        const int i = tabs->indexOf(const_cast<QWidget*>(static_cast<const QWidget*>(o)));
        return key == TextKey::Caption ? tabs->tabText(i) : tabs->tabToolTip(i);
    };
    kind.setText = [](QObject* o, TextKey key, const QString& value) {
        QTabWidget* tabs = tabWidgetOf(o);
        const int i = tabs->indexOf(static_cast<QWidget*>(o));
        if (key == TextKey::Caption)
            tabs->setTabText(i, value);
        else
            tabs->setTabToolTip(i, value);
    };
    return kind;
}

ComponentTextKind datasetField() {
    ComponentTextKind kind;
    kind.type = &Field::staticMetaObject;
    kind.keys = {TextKey::DisplayLabel};
    kind.text = [](const QObject* o, TextKey) { return static_cast<const Field*>(o)->displayLabel(); };
    kind.setText = [](QObject* o, TextKey, const QString& value) {
        static_cast<Field*>(o)->setDisplayLabel(value);
    };
    return kind;
}

bool hasDisplayLabel(const QObject* o) {
    return o->metaObject()->indexOfProperty("displayLabel") >= 0;
}

// Any other object that declares a displayLabel property is labelled like a field.
ComponentTextKind labelledObject() {
    ComponentTextKind kind;
    kind.type = &QObject::staticMetaObject;
    kind.accepts = hasDisplayLabel;
    kind.keys = {TextKey::DisplayLabel};
    kind.text = [](const QObject* o, TextKey) { return o->property("displayLabel").toString(); };
    kind.setText = [](QObject* o, TextKey, const QString& value) { o->setProperty("displayLabel", value); };
    return kind;
}

struct Registry {
    QList<ComponentTextKind> kinds;

    Registry() {
        kinds.append(captionAndHint<QLabel>(&QLabel::text, &QLabel::setText));
        kinds.append(captionAndHint<QAbstractButton>(&QAbstractButton::text, &QAbstractButton::setText));
        ComponentTextKind group = captionAndHint<QGroupBox>(&QGroupBox::title, &QGroupBox::setTitle);
        group.captureOnlyWithCaption = true;
        kinds.append(group);
        kinds.append(captionAndHint<QAction>(&QAction::text, &QAction::setText));
        kinds.append(captionAndHint<QMenu>(&QMenu::title, &QMenu::setTitle));
        kinds.append(tabPage());
        kinds.append(datasetField());
        kinds.append(labelledObject());
    }
};

Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

void ComponentTexts::registerKind(const ComponentTextKind& kind) {
    if (!kind.type) return;
    QList<ComponentTextKind>& kinds = registry().kinds;
    if (!kind.accepts)
        kinds.removeIf([&](const ComponentTextKind& k) { return k.type == kind.type && !k.accepts; });
    kinds.append(kind);
}

const ComponentTextKind* ComponentTexts::kindOf(const QObject* object) {
    if (!object) return nullptr;
    const QList<ComponentTextKind>& kinds = registry().kinds;
    for (const QMetaObject* mo = object->metaObject(); mo; mo = mo->superClass()) {
        // Later registrations first, so the toolkit can refine a built-in kind.
        for (auto it = kinds.crbegin(); it != kinds.crend(); ++it) {
            if (it->type == mo && (!it->accepts || it->accepts(object))) return &*it;
        }
    }
    return nullptr;
}

} // namespace dv
