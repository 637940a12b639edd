#include "DocumentPrint.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "reporting/ReportConnections.h"

namespace {
const QString kPrint =
    QStringLiteral("select d.doc_id, d.doc_nome, d.doc_data, d.doc_texto, p.paciente_nome as lk_paciente, "
                   "t.dentista_nome as lk_dentista, t.dentista_cro as lk_cro, "
                   "case when d.doc_nome like '%controle especial%' then "
                   "(case when v.via_numero = 1 then '1ª via - farmácia' else '2ª via - paciente' end) else "
                   "'' end as doc_via "
                   "from documento d "
                   "inner join (select 1 as via_numero union all select 2 as via_numero) v "
                   "on v.via_numero = 1 or d.doc_nome like '%controle especial%' "
                   "left join paciente p on p.paciente_id = d.paciente_id "
                   "left join dentista t on t.dentista_id = d.dentista_id "
                   "where d.doc_id = :doc_id order by v.via_numero");
}

DocumentPrint::DocumentPrint(QObject* owner) : QObject(owner) {
    setObjectName(QStringLiteral("DocumentPrint"));
    m_print = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_DocImpressao"), this);
    m_print->sql() = {kPrint};
    dv::reportConnections().add(QStringLiteral("RvDocumento"), m_print, owner);
}

bool DocumentPrint::prepare(qint64 documentId) {
    m_print->close();
    m_print->setParam(QStringLiteral("doc_id"), dv::ParamType::Integer, documentId);
    m_print->open();
    dv::reportConnections().add(QStringLiteral("RvDocumento"), m_print, parent());
    return !m_print->isEmpty();
}
