#include "OfficeForms.h"
#include "core/U_dm.h"
#include "toolkit/DBLookupCombo.h"

namespace dv::office {

void setUfLookup(DBLookupCombo* box) {
    box->setLookup(dm().dsUF, QStringLiteral("uf_id"), {QStringLiteral("uf_id"), QStringLiteral("uf_nome")},
                   {QStringLiteral("UF"), QStringLiteral("Nome")});
    box->setDisplayWidths({4, 24});
}

void reopenShared(Dataset* shared) {
    if (shared->isEditing()) return; // someone is typing into it: leave it be
    ControlsDisabled off(shared);
    shared->close();
    shared->open();
}

} // namespace dv::office
