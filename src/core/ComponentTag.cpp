#include "ComponentTag.h"
#include <QObject>
#include <QVariant>

namespace dv {

int componentTag(const QObject* component) {
    if (!component) return 0;
    bool ok = false;
    const int tag = component->property("tag").toInt(&ok);
    return ok ? tag : 0;
}

void setComponentTag(QObject* component, int tag) {
    if (component) component->setProperty("tag", tag);
}

} // namespace dv
