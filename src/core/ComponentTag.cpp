#include "ComponentTag.h"
#include "db/Field.h"
#include <QObject>
#include <QVariant>

namespace dv {

int componentTag(const QObject* component) {
    if (!component) return 0;
    if (const auto* field = qobject_cast<const Field*>(component)) return field->tag();
    bool ok = false;
    const int tag = component->property("tag").toInt(&ok);
    return ok ? tag : 0;
}

void setComponentTag(QObject* component, int tag) {
    if (auto* field = qobject_cast<Field*>(component))
        field->setTag(tag);
    else if (component)
        component->setProperty("tag", tag);
}

} // namespace dv
