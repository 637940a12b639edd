#include "SchemaUpgrade.h"
#include "Engine.h"
#include "PgEngine.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace dv {

namespace {

int stepNumber(const QString& fileName) {
    static const QRegularExpression re(QStringLiteral("^(\\d+)_.*\\.sql$"));
    const auto m = re.match(fileName);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QString readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw PlainError(QStringLiteral("%1: cannot read").arg(path));
    return QString::fromUtf8(f.readAll());
}

// The statement without its leading comments and blanks.
QString statementHead(const QString& statement) {
    static const QRegularExpression lead(QStringLiteral("^(\\s|--[^\\n]*(\\n|$))*"));
    return statement.mid(lead.match(statement).capturedLength());
}

bool isTriggerStatement(const QString& statement) {
    static const QRegularExpression re(QStringLiteral("^(create|drop)\\s+trigger\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re.match(statementHead(statement)).hasMatch();
}

void runStep(Connection& db, const SchemaStep& step) {
    auto* server = dynamic_cast<PgEngine*>(&db);
    for (const QString& statement : sqlStatements(step.sql)) {
        // The server file of the same number holds the triggers in its own language.
        if (server && isTriggerStatement(statement)) continue;
        db.execute(statementHead(statement)); // the server translates what starts with CREATE/ALTER TABLE
    }
    if (server && !step.serverSql.trimmed().isEmpty()) server->executeScript(step.serverSql);
}

} // namespace

QList<SchemaStep> shippedSchemaSteps() {
    const QDir embedded(QStringLiteral(":/schema/sqlite/upgrades"));
    const QDir server(QStringLiteral(":/schema/postgresql/upgrades"));
    QList<SchemaStep> steps;
    for (const QString& name : embedded.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        SchemaStep s{stepNumber(name), name, readText(embedded.filePath(name)), QString()};
        if (s.number < 2)
            throw PlainError(
                QStringLiteral("%1: a schema step is named NNN_what.sql, NNN from 002").arg(name));
        if (server.exists(name)) s.serverSql = readText(server.filePath(name));
        steps << s;
    }
    return steps;
}

int schemaVersionOf(const QList<SchemaStep>& steps) {
    int v = 1;
    for (const SchemaStep& s : steps)
        v = qMax(v, s.number);
    return v;
}

namespace {
// The schema version of the recorded steps: the highest, or 1 without a record.
int versionOf(const QSet<int>& recorded) {
    return recorded.isEmpty() ? 1 : *std::max_element(recorded.begin(), recorded.end());
}
} // namespace

int schemaVersion(Connection& db) {
    return versionOf(recordedSteps(db));
}

QSet<int> recordedSteps(Connection& db) {
    QSet<int> out;
    // Databases of the first version have no record of steps at all.
    try {
        db.tableColumns(QStringLiteral("esquema_passo"));
    } catch (const EngineError&) {
        return out;
    }
    auto c = db.query(QStringLiteral("select passo_numero from esquema_passo"));
    while (c->next())
        out.insert(int(c->integer(0)));
    return out;
}

QStringList sqlStatements(const QString& script) {
    QStringList out;
    const QByteArray utf8 = script.toUtf8();
    QByteArray pending;
    qsizetype start = 0;
    // A ';' ends a statement only where the engine says the text so far is complete
    // (not inside a string, a comment or a trigger body).
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != ';') continue;
        pending = utf8.mid(start, i - start + 1);
        if (!sqlite3_complete(pending.constData())) continue;
        const QString statement = QString::fromUtf8(pending).trimmed();
        if (!statementHead(statement).startsWith(QLatin1Char(';'))) out << statement;
        start = i + 1;
    }
    const QString rest = QString::fromUtf8(utf8.mid(start)).trimmed();
    if (!statementHead(rest).isEmpty()) out << rest;
    return out;
}

UpgradeOutcome upgradeSchema(Connection& db, const QList<SchemaStep>& steps, const QString& backupFolder,
                             const QString& release, const QDateTime& now) {
    UpgradeOutcome outcome;
    const QSet<int> had = recordedSteps(db);
    outcome.from = versionOf(had);
    const int target = schemaVersionOf(steps);
    if (outcome.from > target) throw SchemaTooNew(outcome.from, target);
    outcome.to = outcome.from;
    // Steps are missing by what the database recorded, not by number alone: one made
    // between releases may lack a step numbered below its highest.
    QList<SchemaStep> missing;
    for (const SchemaStep& s : steps)
        if (had.isEmpty() ? s.number > outcome.from : !had.contains(s.number)) missing << s;
    if (missing.isEmpty()) return outcome;
    // Something that is not a Dentrivale database (an empty file, another program's)
    // is left alone: reading it then says what is missing.
    if (outcome.from == 1) {
        try {
            db.tableColumns(QStringLiteral("configuracao"));
        } catch (const EngineError&) {
            return outcome;
        }
    }

    // Nothing is changed before a copy of the database as it was has proved sound.
    QDir().mkpath(backupFolder);
    const QString stem = QDir(backupFolder)
                             .filePath(QStringLiteral("bkp_DBDentrivale_esquema%1_%2")
                                           .arg(outcome.from)
                                           .arg(now.toString(QStringLiteral("yyyy-MM-dd_HHmmss"))));
    // A retry after a failed step keeps the first copy as well.
    outcome.backupFile = stem + db.backupExtension();
    for (int n = 2; QFileInfo::exists(outcome.backupFile); ++n)
        outcome.backupFile = QStringLiteral("%1_%2%3").arg(stem).arg(n).arg(db.backupExtension());
    try {
        db.backupTo(outcome.backupFile);
    } catch (const Error& e) {
        throw SchemaBackupFailed(e.message());
    }

    for (const SchemaStep& s : missing) {
        try {
            Transaction t(db);
            runStep(db, s);
            db.execute(QStringLiteral("insert into esquema_passo (passo_numero, passo_nome, passo_data) "
                                      "values (:numero, :nome, :data)"),
                       {{QStringLiteral("numero"), ParamType::Integer, s.number},
                        {QStringLiteral("nome"), ParamType::String, s.name},
                        {QStringLiteral("data"), ParamType::DateTime, now}});
            if (&s == &missing.last() && !release.isEmpty())
                db.execute(QStringLiteral("update configuracao set Sistema_Release = :release, "
                                          "Sistema_DataUpdate = :data"),
                           {{QStringLiteral("release"), ParamType::String, release},
                            {QStringLiteral("data"), ParamType::DateTime, now}});
            t.commit();
        } catch (const Error& e) {
            throw SchemaStepFailed(s, e.message(), outcome.backupFile);
        }
        outcome.to = qMax(outcome.to, s.number);
    }
    return outcome;
}

} // namespace dv
