#include "AuditChain.h"
#include <QCryptographicHash>

namespace dv {

namespace {

const QString kColumns = QStringLiteral(
    "auditoria_id, auditoria_data, auditoria_estacao, auditoria_usuario, auditoria_tabela, auditoria_chave, "
    "auditoria_acao, auditoria_paciente, auditoria_antes, auditoria_depois, auditoria_hash");

QVariant text(Cursor& c, int i) {
    return c.isNull(i) ? QVariant() : QVariant(QString::fromUtf8(c.utf8(i)));
}

AuditRow readRow(Cursor& c) {
    AuditRow r;
    r.id = c.integer(0);
    r.when = c.dateTime(1);
    r.workstation = text(c, 2);
    r.user = text(c, 3);
    r.table = text(c, 4);
    r.key = text(c, 5);
    r.action = text(c, 6);
    r.patient = c.isNull(7) ? QVariant() : QVariant(c.integer(7));
    r.before = text(c, 8);
    r.after = text(c, 9);
    return r;
}

// Each field with its length, so that no two different rows read alike.
void addField(QByteArray& out, const QVariant& v) {
    if (v.isNull()) {
        out += "-;";
        return;
    }
    const QByteArray utf8 = v.toString().toUtf8();
    out += QByteArray::number(utf8.size()) + ':' + utf8 + ';';
}

} // namespace

QString auditHash(const AuditRow& r, const QString& previousHash) {
    QByteArray content;
    addField(content, QString::number(r.id));
    addField(content, r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (const QVariant* v :
         {&r.workstation, &r.user, &r.table, &r.key, &r.action, &r.patient, &r.before, &r.after})
        addField(content, *v);
    addField(content, previousHash);
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

// Databases not yet upgraded have no trail (the steps that make it run under the seal).
bool hasTrail(Connection& c) {
    const QString sql =
        c.engineName() == QLatin1String("sqlcipher")
            ? QStringLiteral("select count(*) from sqlite_master where type = 'table' and name = 'auditoria'")
            : QStringLiteral("select count(*) from pg_tables where schemaname = current_schema() and "
                             "tablename = 'auditoria'");
    auto cur = c.query(sql);
    return cur->next() && cur->integer(0) > 0;
}

void AuditSeal::begun(Connection& c) {
    if (!m_hasTrail && !(m_hasTrail = hasTrail(c))) return;
    auto cur = c.query(QStringLiteral("select max(auditoria_id) from auditoria"));
    m_mark = cur->next() && !cur->isNull(0) ? cur->integer(0) : 0;
}

void AuditSeal::committing(Connection& c) {
    if (!m_hasTrail) return;
    QList<AuditRow> rows;
    {
        auto cur = c.query(QStringLiteral("select %1 from auditoria where auditoria_id > :mark and "
                                          "auditoria_hash is null order by auditoria_id")
                               .arg(kColumns),
                           {{QStringLiteral("mark"), ParamType::Integer, m_mark}});
        while (cur->next())
            rows << readRow(*cur);
    }
    if (rows.isEmpty()) return;
    QString previous;
    {
        auto cur = c.query(QStringLiteral("select auditoria_hash from auditoria where auditoria_id < :id "
                                          "order by auditoria_id desc limit 1"),
                           {{QStringLiteral("id"), ParamType::Integer, rows.first().id}});
        if (cur->next() && !cur->isNull(0)) previous = QString::fromUtf8(cur->utf8(0));
    }
    const QString user = m_user ? m_user() : QString();
    const QString workstation = m_workstation ? m_workstation() : QString();
    for (AuditRow& r : rows) {
        r.user = user.isEmpty() ? QVariant() : QVariant(user);
        r.workstation = workstation.isEmpty() ? QVariant() : QVariant(workstation);
        previous = auditHash(r, previous);
        c.execute(
            QStringLiteral("update auditoria set auditoria_usuario = :usuario, auditoria_estacao = :estacao, "
                           "auditoria_hash = :hash where auditoria_id = :id"),
            {{QStringLiteral("usuario"), ParamType::String, r.user},
             {QStringLiteral("estacao"), ParamType::String, r.workstation},
             {QStringLiteral("hash"), ParamType::String, previous},
             {QStringLiteral("id"), ParamType::Integer, r.id}});
    }
}

AuditCheck checkAuditChain(Connection& c) {
    AuditCheck check;
    auto cur = c.query(QStringLiteral("select %1 from auditoria order by auditoria_id").arg(kColumns));
    QString previous;
    while (cur->next()) {
        ++check.rowsChecked;
        const AuditRow r = readRow(*cur);
        if (cur->isNull(10)) {
            check.brokenRow = r.id;
            check.problem = AuditCheck::NotSealed;
            return check;
        }
        const QString stored = QString::fromUtf8(cur->utf8(10));
        if (auditHash(r, previous) != stored) {
            check.brokenRow = r.id;
            check.problem = AuditCheck::Mismatch;
            return check;
        }
        previous = stored;
    }
    return check;
}

} // namespace dv
