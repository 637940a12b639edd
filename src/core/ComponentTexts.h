#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QMetaObject;
class QObject;

namespace dv {

// The texts a language file can replace on a component, named by their key
// suffix: ".Caption", ".Hint", ".Items", ".DisplayLabel".
enum class TextKey { Caption, Hint, Items, DisplayLabel };

QString textKeyName(TextKey key);

// How the language files read and write one kind of component. The built-in
// kinds cover Qt's labels, buttons (push, tool, check, radio), group boxes,
// actions (menu items, tool-bar buttons), menus, tab pages and the datasets'
// persistent fields (dv::Field, and any object with a "displayLabel" property). The toolkit registers its own
// widgets (data-bound check boxes and radio groups, panels, ...) the same way:
//
//   dv::ComponentTexts::registerKind({.type = &TwwRadioGroup::staticMetaObject,
//       .keys = {dv::TextKey::Caption, dv::TextKey::Hint, dv::TextKey::Items}, ...,
//       .blankBeforeHintEquals = true});
struct ComponentTextKind {
    const QMetaObject* type = nullptr;                    // this class and its subclasses
    std::function<bool(const QObject*)> accepts;          // optional narrower test
    QList<TextKey> keys;                                  // in the order a capture writes them
    std::function<QString(const QObject*, TextKey)> text; // Caption, Hint, DisplayLabel
    std::function<void(QObject*, TextKey, const QString&)> setText;
    std::function<QStringList(const QObject*)> items; // Items
    std::function<void(QObject*, const QStringList&)> setItems;
    bool captureOnlyWithCaption = false; // panels and group boxes: left out when captionless
    bool blankBeforeHintEquals = false;  // data-bound check boxes and radio groups: "x.Hint =..."
};

class ComponentTexts {
public:
    // A later registration for the same class (with no narrower test) replaces
    // the earlier one.
    static void registerKind(const ComponentTextKind& kind);
    // The kind registered for the object's most derived class that has one;
    // nullptr when the language files leave this object alone. Valid until the
    // next registration.
    static const ComponentTextKind* kindOf(const QObject* object);
};

} // namespace dv
