#include "U_frmConvenio.h"
#include "SharedLists.h"
#include "core/CodeTexts.h"
#include "core/db/Dataset.h"
#include "reporting/ReportConnections.h"

using dv::FieldDef;

TfrmConvenio::TfrmConvenio(QWidget* parent)
    : TfrmModelo4(parent, QStringLiteral("frmConvenio"), QStringLiteral("Convênio")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from convenio order by convenio_nome")};
    SQL_Consulta->addField(
        FieldDef::column(QStringLiteral("convenio_nome"), QStringLiteral("Convênio"), 50).asRequired());
    SQL_Consulta->addField(FieldDef::column(QStringLiteral("convenio_id"), QStringLiteral("Id"), 10));
    dv::reportConnections().add(QStringLiteral("Rv_Convenio"), SQL_Consulta, this);
}

TfrmConvenio::~TfrmConvenio() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmConvenio::btnExcluirClick() {
    if (dv::refuseWhileInUse(SQL_Consulta, QStringLiteral("convenio_id"), QStringLiteral("convenio_nome"),
                             QStringLiteral("select count(*) from paciente where convenio_id = :convenio_id"),
                             dv::text("O convênio \"%1\" tem %2 paciente(s) e não pode ser excluído.")))
        return;
    TfrmModelo4::btnExcluirClick();
}
