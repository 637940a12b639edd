#include "PatientAnonymiser.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/db/AuditChain.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"

namespace dv::anonymisation {

namespace {
constexpr int kDefaultYears = 20;

Params patientParam(qint64 patient) {
    return {{QStringLiteral("paciente_id"), ParamType::Integer, patient}};
}

void anonymiseOne(Connection& db, qint64 patient) {
    const Params id = patientParam(patient);
    db.execute(
        QStringLiteral(
            "update paciente set paciente_nome = :nome, paciente_profissao = null, paciente_rg = null, "
            "paciente_cpf = null, paciente_endereco = null, paciente_numero = null, paciente_complemento = "
            "null, "
            "paciente_bairro = null, paciente_cidade = null, paciente_cep = null, paciente_fone = null, "
            "paciente_fone_comercial = null, paciente_celular = null, paciente_data_nascimento = null, "
            "paciente_email = null, paciente_anotacao = null, paciente_orgao = null, paciente_matricula = "
            "null, "
            "paciente_titular = null, paciente_registro = null, paciente_foto = null, paciente_ativo = 'N' "
            "where paciente_id = :paciente_id"),
        id + Params{{QStringLiteral("nome"), ParamType::Text,
                     QStringLiteral("PACIENTE ANONIMIZADO %1").arg(patient)}});
    db.execute(QStringLiteral("delete from foto where paciente_id = :paciente_id"), id);
    db.execute(QStringLiteral("update anamnese_paciente set anamnese_anotacao = null where paciente_id = "
                              ":paciente_id and anamnese_anotacao is not null"),
               id);
    // Documents print the patient's name and documents in their text.
    db.execute(
        QStringLiteral("update documento set doc_texto = null where doc_texto is not null and "
                       "(paciente_id = :paciente_id or consulta_id in (select consulta_id from consulta "
                       "where paciente_id = :paciente_id))"),
        id);
    db.execute(QStringLiteral("update agenda set agenda_observacao = null, agenda_motivo_falta_atraso = null "
                              "where paciente_id = :paciente_id and (agenda_observacao is not null or "
                              "agenda_motivo_falta_atraso is not null)"),
               id);
    db.execute(QStringLiteral("update retorno_tentativa set tentativa_obs = null where paciente_id = "
                              ":paciente_id and tentativa_obs is not null"),
               id);

    // The trail: the rows this transaction just wrote still hold the old values and are
    // sealed as they are left here; the sealed ones keep their digest.
    const QStringList tables = personalTables();
    Params inTables = id;
    QStringList names;
    for (int i = 0; i < tables.size(); ++i) {
        names << QStringLiteral(":t%1").arg(i);
        inTables << Param{QStringLiteral("t%1").arg(i), ParamType::String, tables[i]};
    }
    db.execute(QStringLiteral("update auditoria set auditoria_antes = :marca where auditoria_paciente = "
                              ":paciente_id and auditoria_hash is null and auditoria_antes is not null and "
                              "auditoria_tabela in (%1)")
                   .arg(names.join(QStringLiteral(", "))),
               inTables + Params{{QStringLiteral("marca"), ParamType::String,
                                  QString::fromLatin1(kRedactedAuditValues)}});
    redactAuditValues(db, patient, tables);

    db.execute(QStringLiteral("insert into paciente_anonimizado (paciente_id, anonimizado_data, "
                              "anonimizado_usuario) values (:paciente_id, :data, :usuario)"),
               id + Params{{QStringLiteral("data"), ParamType::DateTime, services().clock().now()},
                           {QStringLiteral("usuario"), ParamType::Text, session().userLogin().left(30)}});
}
} // namespace

int retentionYears(Connection& db) {
    auto cur = db.query(QStringLiteral("select Sistema_RetencaoAnos from configuracao"));
    if (!cur->next() || cur->isNull(0)) return kDefaultYears;
    const qint64 years = cur->integer(0);
    return years >= 1 && years <= 100 ? int(years) : kDefaultYears;
}

void setRetentionYears(Connection& db, int years) {
    if (years < 1 || years > 100)
        throw PlainError(QStringLiteral("O prazo de guarda deve ser de 1 a 100 anos."));
    db.execute(QStringLiteral("update configuracao set Sistema_RetencaoAnos = :anos"),
               {{QStringLiteral("anos"), ParamType::Integer, years}});
}

QString candidatesSql() {
    // Only the day of the latest consultation is shown and compared. One walk in
    // patient order over a narrow patient index, each patient's latest day looked up
    // right behind it on the consultations' index, so each page is read once; the
    // day is looked up again only for the rows kept. The anonymised and the booked
    // patients are few: each set is read once, not looked up per patient.
    return QStringLiteral(
        "SELECT paciente.paciente_id, paciente.paciente_nome, paciente.paciente_cpf, "
        "paciente.paciente_data_cadastro, (select max(c.consulta_data) from consulta c where c.paciente_id = "
        "paciente.paciente_id) as consulta_data "
        "FROM paciente INDEXED BY ix_paciente_anonimizacao_id "
        "where paciente.paciente_id not in (select a.paciente_id from paciente_anonimizado a) "
        "and paciente.paciente_id not in (select agenda.paciente_id from agenda where "
        "agenda.agenda_data_consulta >= :hoje and agenda.paciente_id is not null) "
        "and coalesce((select max(c.consulta_data) from consulta c where c.paciente_id = "
        "paciente.paciente_id), paciente.paciente_data_cadastro) < :limite");
}

QString candidatesOrder() {
    return QStringLiteral("paciente_nome, paciente_id");
}

QStringList personalTables() {
    return {QStringLiteral("paciente"), QStringLiteral("foto"), QStringLiteral("anamnese_paciente"),
            QStringLiteral("documento"), QStringLiteral("agenda")};
}

void anonymise(Connection& db, const QList<qint64>& patients) {
    Transaction t(db);
    for (qint64 patient : patients)
        anonymiseOne(db, patient);
    t.commit();
}

} // namespace dv::anonymisation
