#include "SharedLists.h"
#include "core/Services.h"

namespace dv {

bool refuseWhileInUse(Dataset* list, const QString& keyField, const QString& nameField,
                      const QString& countSql, const QString& message) {
    if (!list->isActive() || list->isEmpty()) return false;
    const qint64 users = countRows(countSql, keyField, list->fieldByName(keyField)->asVariant());
    if (users == 0) return false;
    services().dialogs().warning(message.arg(list->fieldByName(nameField)->asString().trimmed()).arg(users));
    return true;
}

} // namespace dv
