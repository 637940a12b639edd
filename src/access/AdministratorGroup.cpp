#include "AdministratorGroup.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/db/Dataset.h"

namespace dv {

bool isProtectedAdministratorGroup(const Dataset* groups) {
    if (session().developerMode() || !groups || !groups->isActive() || groups->isEmpty()) return false;
    const Field* id = groups->findField(QStringLiteral("grupo_id"));
    return id && !id->isNull() && id->asInteger() == 1;
}

bool refuseAdministratorGroup(const Dataset* groups) {
    if (!isProtectedAdministratorGroup(groups)) return false;
    services().dialogs().information(dv::text("O Grupo Administrador não pode ser modificado nem excluído!"));
    return true;
}

} // namespace dv
