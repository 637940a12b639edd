#include "AuditChain.h"
#include "DbErrors.h"
#include <QCryptographicHash>

namespace dv {

namespace {

const QString kColumns = QStringLiteral(
    "auditoria_id, auditoria_data, auditoria_estacao, auditoria_usuario, auditoria_tabela, auditoria_chave, "
    "auditoria_acao, auditoria_paciente, auditoria_antes, auditoria_depois, auditoria_hash");

// The digest column came with a later step than the trail: the steps in between run
// under the seal too.
bool hasDigestColumn(Connection& c) {
    if (c.engineName() == QLatin1String("sqlcipher")) {
        try {
            c.query(QStringLiteral("select auditoria_resumo from auditoria where 0 = 1"))->next();
            return true;
        } catch (const EngineError&) {
            return false;
        }
    }
    auto cur = c.query(QStringLiteral("select count(*) from information_schema.columns where table_schema = "
                                      "current_schema() and table_name = 'auditoria' and column_name = "
                                      "'auditoria_resumo'"));
    return cur->next() && cur->integer(0) > 0;
}

QString columnsOf(Connection& c) {
    return kColumns + (hasDigestColumn(c) ? QStringLiteral(", auditoria_resumo") : QStringLiteral(", null"));
}

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
    r.valuesDigest = text(c, 11);
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

QString sha256(const QByteArray& content) {
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

// A redacted row holds the marker (or nothing) where its values were.
bool isRedacted(const QVariant& v) {
    return v.isNull() || v.toString() == QLatin1String(kRedactedAuditValues);
}

} // namespace

QString auditValuesDigest(const QVariant& before, const QVariant& after) {
    QByteArray content;
    addField(content, before);
    addField(content, after);
    return sha256(content);
}

QString auditHash(const AuditRow& r, const QString& previousHash) {
    QByteArray content;
    addField(content, QString::number(r.id));
    addField(content, r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (const QVariant* v : {&r.workstation, &r.user, &r.table, &r.key, &r.action, &r.patient})
        addField(content, *v);
    addField(content,
             r.valuesDigest.isNull() ? auditValuesDigest(r.before, r.after) : r.valuesDigest.toString());
    addField(content, previousHash);
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
}

QString auditHashFirstVersion(const AuditRow& r, const QString& previousHash) {
    QByteArray content;
    addField(content, QString::number(r.id));
    addField(content, r.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (const QVariant* v :
         {&r.workstation, &r.user, &r.table, &r.key, &r.action, &r.patient, &r.before, &r.after})
        addField(content, *v);
    addField(content, previousHash);
    return sha256(content);
}

namespace {
// Sealed as the program seals now, or by an earlier release with the values in the
// content (a row whose values were removed always carries its digest).
bool sealedAsStored(const AuditRow& r, const QString& previous, const QString& stored) {
    return auditHash(r, previous) == stored ||
           (r.valuesDigest.isNull() && auditHashFirstVersion(r, previous) == stored);
}
} // namespace

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
                               .arg(m_hasDigest || (m_hasDigest = hasDigestColumn(c))
                                        ? kColumns + QStringLiteral(", auditoria_resumo")
                                        : kColumns + QStringLiteral(", null")),
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
    auto cur = c.query(QStringLiteral("select %1 from auditoria order by auditoria_id").arg(columnsOf(c)));
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
        // Values written over a digest are a change like any other.
        const bool valuesKept = r.valuesDigest.isNull() || (isRedacted(r.before) && isRedacted(r.after));
        if (!valuesKept || !sealedAsStored(r, previous, stored)) {
            check.brokenRow = r.id;
            check.problem = AuditCheck::Mismatch;
            return check;
        }
        previous = stored;
    }
    return check;
}

qint64 redactAuditValues(Connection& c, qint64 patient, const QStringList& tables) {
    if (tables.isEmpty()) return 0;
    Params params{{QStringLiteral("paciente"), ParamType::Integer, patient}};
    QStringList names;
    for (int i = 0; i < tables.size(); ++i) {
        names << QStringLiteral(":t%1").arg(i);
        params << Param{QStringLiteral("t%1").arg(i), ParamType::String, tables[i]};
    }
    struct Values {
        qint64 id;
        QVariant before, after;
    };
    QList<std::pair<AuditRow, QString>> sealed;
    {
        auto cur = c.query(QStringLiteral("select %1 from auditoria where auditoria_paciente = :paciente and "
                                          "auditoria_hash is not null and auditoria_resumo is null and "
                                          "auditoria_tabela in (%2) order by auditoria_id")
                               .arg(columnsOf(c), names.join(QStringLiteral(", "))),
                           params);
        while (cur->next())
            sealed.append({readRow(*cur), QString::fromUtf8(cur->utf8(10))});
    }
    QList<Values> rows;
    for (const auto& [r, stored] : sealed) {
        QString previous;
        auto prev = c.query(QStringLiteral("select auditoria_hash from auditoria where auditoria_id < :id "
                                           "order by auditoria_id desc limit 1"),
                            {{QStringLiteral("id"), ParamType::Integer, r.id}});
        if (prev->next() && !prev->isNull(0)) previous = QString::fromUtf8(prev->utf8(0));
        // A row sealed by an earlier release covers its values themselves: removing
        // them would make the trail read as altered, so it stays as sealed.
        if (auditHash(r, previous) == stored) rows << Values{r.id, r.before, r.after};
    }
    const QString marker = QString::fromLatin1(kRedactedAuditValues);
    for (const Values& v : rows)
        c.execute(QStringLiteral("update auditoria set auditoria_resumo = :resumo, auditoria_antes = :antes, "
                                 "auditoria_depois = :depois where auditoria_id = :id"),
                  {{QStringLiteral("resumo"), ParamType::String, auditValuesDigest(v.before, v.after)},
                   {QStringLiteral("antes"), ParamType::String, v.before.isNull() ? QVariant() : marker},
                   {QStringLiteral("depois"), ParamType::String, v.after.isNull() ? QVariant() : marker},
                   {QStringLiteral("id"), ParamType::Integer, v.id}});
    return rows.size();
}

} // namespace dv
