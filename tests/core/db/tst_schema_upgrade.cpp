// An installation of the first schema version, with a clinic's rows, upgrades to
// the program's version after a verified backup and then looks exactly like a
// freshly generated database; a newer database is refused and a failing step
// leaves the database as it was before that step.
#include "AppFolder.h"
#include "ScriptedServices.h"
#include "TempDb.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"
#include "core/db/PgDialect.h"
#include "core/db/PgEngine.h"
#include "core/db/PgInstall.h"
#include "core/db/SchemaUpgrade.h"
#include "core/db/SqlCipherEngine.h"
#include <QCryptographicHash>
#include <QDir>
#include <QProcess>
#include <QtTest>

using namespace dv;

namespace {

const QString kKey = QStringLiteral("5316428850");
const QDateTime kNow(QDate(2027, 3, 1), QTime(9, 30));

// A clinic's rows in the first version, each keyed 9001 so that they can be told
// from the seed rows.
const char* const kClinicRows[] = {
    "insert into dentista (dentista_id, dentista_nome, dentista_ativo) values (9001, 'Ana Souza', 'S')",
    "insert into paciente (paciente_id, paciente_nome, paciente_cpf, paciente_ativo, convenio_id, "
    "paciente_data_cadastro) values (9001, 'Maria da Conceição', '52998224725', 'S', 1, '2020-01-05 "
    "00:00:00')",
    "insert into anamnese_paciente (paciente_id, anamnese_id, anamnese_resposta) values (9001, 1, 'S')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_valor, "
    "consulta_aprovado, forma_pagamento_id) values (9001, 9001, 9001, '2020-02-01 00:00:00', 1200000, 'S', "
    "1)",
    "insert into item_consulta (item_consulta_id, consulta_id, servico_id, dente_id, local_dente_id, "
    "item_consulta_valor, item_consulta_concluido) values (9001, 9001, 1, 16, 'Q1', 1200000, 'S')",
    "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_numero, parcela_data, "
    "parcela_vencimento, parcela_valor, parcela_valor_liquido, parcela_valor_pago, parcela_quitada) values "
    "(9001, 9001, 9001, 1, '2020-02-01 00:00:00', '2020-03-01 00:00:00', 1200000, 1200000, 0, 'N')",
    "insert into agenda (agenda_id, paciente_id, agenda_data_cadastro, agenda_data_consulta, hora_id, "
    "dentista_id) values (9001, 9001, '2020-01-20 00:00:00', '2020-02-01 00:00:00', '08:30', 9001)",
};

// Where each table keeps the clinic's rows (the rest are seed rows).
const QList<QPair<QString, QString>> kClinicKeys = {
    {"dentista", "dentista_id"}, {"paciente", "paciente_id"},           {"anamnese_paciente", "paciente_id"},
    {"consulta", "consulta_id"}, {"item_consulta", "item_consulta_id"}, {"parcela", "parcela_id"},
    {"agenda", "agenda_id"},
};

// Values that differ between any two generated databases.
const QStringList kVolatile = {"usuario_senha", "sistema_dataupdate", "passo_data"};

// The first schema version: the base files alone, as dv_makedb made them before steps existed.
QString makeBaseDatabase(const QString& folder) {
    const QString sqlDir = folder + QStringLiteral("/base-sql");
    QDir().mkpath(sqlDir);
    const QDir source(QStringLiteral(DV_SOURCE_DIR "/schema/sqlite"));
    for (const QString& f : source.entryList({QStringLiteral("*.sql")}, QDir::Files))
        QFile::copy(source.filePath(f), sqlDir + QLatin1Char('/') + f);
    const QString out = folder + QStringLiteral("/base.mdb");
    QProcess p;
    p.start(QStringLiteral(DV_APP_DIR "/../schema/dv_makedb"),
            {"--out", out, "--sql", sqlDir, "--version", "0.9.0.1", "--pictures", DV_APP_DIR "/../pictures"});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        qFatal("dv_makedb failed: %s", p.readAllStandardError().constData());
    SqlCipherEngine db(out, kKey);
    Transaction t(db);
    for (const char* sql : kClinicRows)
        db.execute(QString::fromUtf8(sql));
    t.commit();
    return out;
}

QStringList tables(Connection& db) {
    const QString sql =
        db.engineName() == QLatin1String("sqlcipher")
            ? QStringLiteral("select lower(name) from sqlite_master where type = 'table' and name "
                             "not like 'sqlite%' order by 1")
            : QStringLiteral("select tablename from pg_tables where schemaname = current_schema() "
                             "order by 1");
    QStringList out;
    auto c = db.query(sql);
    while (c->next())
        out << QString::fromUtf8(c->utf8(0));
    return out;
}

// Tables, columns, indexes and triggers as the engine describes them.
QStringList shape(Connection& db) {
    QStringList sql;
    if (db.engineName() == QLatin1String("sqlcipher"))
        sql << QStringLiteral("select type || ' ' || name || ' ' || tbl_name || ' ' || ifnull(sql, '') "
                              "from sqlite_master where name not like 'sqlite%'");
    else
        sql << QStringLiteral("select table_name || '.' || column_name || ' ' || data_type || ' ' || "
                              "coalesce(character_maximum_length, 0) || ' ' || is_nullable || ' ' || "
                              "coalesce(collation_name, '') from information_schema.columns "
                              "where table_schema = current_schema()")
            << QStringLiteral("select indexname || ' ' || indexdef from pg_indexes "
                              "where schemaname = current_schema()")
            << QStringLiteral("select tgname || ' ' || tgrelid::regclass::text from pg_trigger "
                              "where not tgisinternal")
            << QStringLiteral("select proname from pg_proc where pronamespace = "
                              "(select oid from pg_namespace where nspname = current_schema())");
    QStringList out;
    for (const QString& s : sql) {
        auto c = db.query(s);
        while (c->next())
            out << QString::fromUtf8(c->utf8(0));
    }
    out.sort();
    return out;
}

// Every row of a table as text (pictures by their digest), sorted; `where` picks rows.
QStringList rows(Connection& db, const QString& table, const QString& where = QString()) {
    auto c = db.query(QStringLiteral("select * from %1 %2").arg(table, where));
    QStringList out;
    while (c->next()) {
        QStringList values;
        for (int i = 0; i < c->columns().size(); ++i) {
            const ColumnInfo& col = c->columns()[i];
            if (kVolatile.contains(col.name.toLower()) || col.rowIdentity ||
                col.name.toLower() == sql::pgRowIdColumn())
                continue;
            // The test cluster's installation database is made without the pictures.
            if (col.type == FieldType::Blob && test::onServer())
                values << QStringLiteral("<picture>");
            else if (c->isNull(i))
                values << QStringLiteral("<null>");
            else if (col.type == FieldType::Blob)
                values << QString::fromLatin1(
                    QCryptographicHash::hash(c->blob(i), QCryptographicHash::Sha1).toHex());
            else
                values << QString::fromUtf8(c->utf8(i));
        }
        out << values.join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

QString clinicWhere(const QString& table, bool clinic) {
    for (const auto& [t, key] : kClinicKeys)
        if (t == table) return QStringLiteral("where %1 %2 9001").arg(key, clinic ? "=" : "<>");
    return clinic ? QStringLiteral("where 1 = 0") : QString();
}

} // namespace

class TestSchemaUpgrade : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_base; // the first version with the clinic's rows, never changed

    // The base database on the engine under test.
    struct Opened {
        std::unique_ptr<Connection> db;
        QString serverDb;
        ~Opened() {
            db.reset();
            if (serverDb.isEmpty()) return;
            try {
                PgEngine admin(test::serverUrl(QStringLiteral("postgres")));
                admin.execute(QStringLiteral("drop database if exists %1 with (force)").arg(serverDb));
            } catch (...) {
            }
        }
    };
    std::unique_ptr<Opened> openBase(const QString& name) {
        auto o = std::make_unique<Opened>();
        const QString file = m_dir.filePath(name + QStringLiteral(".mdb"));
        QFile::copy(m_base, file);
        QFile(file).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        if (!test::onServer()) {
            o->db = std::make_unique<SqlCipherEngine>(file, kKey);
            return o;
        }
        o->serverDb = QStringLiteral("dv_upg_%1").arg(name);
        PgEngine admin(test::serverUrl(QStringLiteral("postgres")));
        admin.execute(QStringLiteral("drop database if exists %1 with (force)").arg(o->serverDb));
        admin.execute(QStringLiteral("create database %1 template template0").arg(o->serverDb));
        SqlCipherEngine source(file, kKey);
        auto target = std::make_unique<PgEngine>(test::serverUrl(o->serverDb));
        createServerDatabase(source, *target, QStringLiteral(DV_SOURCE_DIR "/schema/postgresql"));
        o->db = std::move(target);
        return o;
    }
    // A connection afresh (table shapes are cached per connection).
    std::unique_ptr<Connection> reopen(Opened& o) {
        if (o.serverDb.isEmpty()) return std::make_unique<SqlCipherEngine>(o.db->databaseFile(), kKey);
        return std::make_unique<PgEngine>(test::serverUrl(o.serverDb));
    }

private slots:
    void initTestCase() {
        DV_REQUIRE_SERVER_IF_ASKED();
        QVERIFY(m_dir.isValid());
        m_base = makeBaseDatabase(m_dir.path());
    }

    void upgradesTheFirstVersionToAFreshDatabase() {
        auto base = openBase(QStringLiteral("full"));
        QCOMPARE(schemaVersion(*base->db), 1);
        QStringList clinicBefore;
        for (const auto& [table, key] : kClinicKeys)
            clinicBefore << rows(*base->db, table, clinicWhere(table, true));

        const QList<SchemaStep> steps = shippedSchemaSteps();
        QVERIFY(!steps.isEmpty());
        test::InstallDbCopy freshCopy;
        auto fresh = Connection::open(freshCopy.connectionString(), QString());
        const QString release = rows(*fresh, QStringLiteral("configuracao")).value(0).section('|', 1, 1);
        const QString backups = m_dir.filePath(QStringLiteral("Backup"));
        const UpgradeOutcome o = upgradeSchema(*base->db, steps, backups, release, kNow);
        QCOMPARE(o.from, 1);
        QCOMPARE(o.to, schemaVersionOf(steps));

        // The backup is the database as it was, whole.
        QVERIFY(QFileInfo::exists(o.backupFile));
        QVERIFY(o.backupFile.startsWith(backups));
        if (!test::onServer()) {
            SqlCipherEngine copy(o.backupFile, kKey);
            QCOMPARE(schemaVersion(copy), 1);
            QCOMPARE(rows(copy, QStringLiteral("paciente"), clinicWhere(QStringLiteral("paciente"), true)),
                     QStringList{clinicBefore[1]});
        }

        auto upgraded = reopen(*base);
        QCOMPARE(schemaVersion(*upgraded), schemaVersionOf(steps));
        QCOMPARE(shape(*upgraded), shape(*fresh));
        QCOMPARE(tables(*upgraded), tables(*fresh));
        // The trail of the upgraded database holds what the steps changed; a new one starts empty.
        for (const QString& table : tables(*fresh))
            if (table != QLatin1String("auditoria")) QCOMPARE(rows(*upgraded, table, clinicWhere(table, false)),
                     rows(*fresh, table, clinicWhere(table, false)));
        // Every row of the clinic is still there with the values it had.
        QStringList clinicAfter;
        for (const auto& [table, key] : kClinicKeys) {
            const QStringList now = rows(*upgraded, table, clinicWhere(table, true));
            QCOMPARE(now.size(), 1);
            clinicAfter << now;
        }
        for (int i = 0; i < clinicBefore.size(); ++i)
            QVERIFY2(clinicAfter[i].startsWith(clinicBefore[i]), qPrintable(clinicAfter[i]));

        // Once up to date, start-up does nothing more (no second backup).
        const UpgradeOutcome again = upgradeSchema(*upgraded, steps, backups, release, kNow.addSecs(60));
        QCOMPARE(again.from, again.to);
        QVERIFY(again.backupFile.isEmpty());
        QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 1);
    }

    void refusesADatabaseNewerThanTheProgram() {
        test::InstallDbCopy copy;
        auto db = Connection::open(copy.connectionString(), QString());
        const QList<SchemaStep> steps = shippedSchemaSteps();
        db->execute(
            QStringLiteral("insert into esquema_passo (passo_numero, passo_nome) values (:n, 'futuro')"),
            {{QStringLiteral("n"), ParamType::Integer, schemaVersionOf(steps) + 1}});
        const QString backups = m_dir.filePath(QStringLiteral("Backup-newer"));
        try {
            upgradeSchema(*db, steps, backups, QStringLiteral("1.0.0.1"), kNow);
            QFAIL("a newer database was accepted");
        } catch (const SchemaTooNew& e) {
            QCOMPARE(e.databaseVersion, schemaVersionOf(steps) + 1);
            QCOMPARE(e.programVersion, schemaVersionOf(steps));
        }
        QVERIFY(!QDir(backups).exists());
    }

    // A failing step is undone and named; the steps before it stay applied.
    void failingStepIsRolledBack_data() {
        QTest::addColumn<bool>("afterShipped");
        QTest::newRow("first step") << false;
        QTest::newRow("after the shipped steps") << true;
    }
    void failingStepIsRolledBack() {
        QFETCH(bool, afterShipped);
        auto base = openBase(afterShipped ? QStringLiteral("fail_late") : QStringLiteral("fail_first"));
        QList<SchemaStep> steps = afterShipped ? shippedSchemaSteps() : QList<SchemaStep>();
        const int good = afterShipped ? schemaVersionOf(steps) : 1;
        steps << SchemaStep{good + 1, QStringLiteral("%1_quebrado.sql").arg(good + 1),
                            QStringLiteral("CREATE TABLE passo_teste (x INTEGER);\n"
                                           "INSERT INTO passo_teste (x) VALUES (1);\n"
                                           "INSERT INTO tabela_que_nao_existe (x) VALUES (1);\n"),
                            QString()};
        const QStringList patientsBefore = rows(*base->db, QStringLiteral("paciente"));
        try {
            upgradeSchema(*base->db, steps, m_dir.filePath(QStringLiteral("Backup-fail")), QString(), kNow);
            QFAIL("a failing step was reported as success");
        } catch (const SchemaStepFailed& e) {
            QCOMPARE(e.step, steps.last().name);
            QVERIFY(e.reason.contains(QLatin1String("tabela_que_nao_existe")));
            QVERIFY(QFileInfo::exists(e.backupFile));
        }
        auto after = reopen(*base);
        QCOMPARE(schemaVersion(*after), good);
        QVERIFY(!tables(*after).contains(QStringLiteral("passo_teste")));
        QCOMPARE(rows(*after, QStringLiteral("paciente")).size(), patientsBefore.size());
    }

    // A database made between releases may have a later step and lack an earlier one
    // (steps numbered apart by different work): the earlier one still runs, once.
    void stepBelowTheVersionStillRuns() {
        auto base = openBase(QStringLiteral("gap"));
        const QList<SchemaStep> shipped = shippedSchemaSteps();
        const int top = schemaVersionOf(shipped);
        const SchemaStep early{top + 1, QStringLiteral("%1_cedo.sql").arg(top + 1),
                               QStringLiteral("CREATE TABLE passo_cedo (x INTEGER);\n"), QString()};
        const SchemaStep late{top + 2, QStringLiteral("%1_tarde.sql").arg(top + 2),
                              QStringLiteral("CREATE TABLE passo_tarde (x INTEGER);\n"), QString()};
        const QString backups = m_dir.filePath(QStringLiteral("Backup-gap"));
        upgradeSchema(*base->db, shipped + QList<SchemaStep>{late}, backups, QString(), kNow);
        auto between = reopen(*base);
        QCOMPARE(schemaVersion(*between), top + 2);
        QVERIFY(!tables(*between).contains(QStringLiteral("passo_cedo")));

        const UpgradeOutcome o =
            upgradeSchema(*between, shipped + QList<SchemaStep>{early, late}, backups, QString(), kNow.addSecs(60));
        QCOMPARE(o.from, top + 2);
        QCOMPARE(o.to, top + 2);
        QVERIFY(!o.backupFile.isEmpty());
        auto after = reopen(*base);
        QVERIFY(tables(*after).contains(QStringLiteral("passo_cedo")));
        QCOMPARE(recordedSteps(*after).contains(top + 1), true);
        // Nothing runs twice.
        const UpgradeOutcome again =
            upgradeSchema(*after, shipped + QList<SchemaStep>{early, late}, backups, QString(), kNow.addSecs(120));
        QVERIFY(again.backupFile.isEmpty());
    }

    // Start-up upgrades before the shared datasets read anything, and login's
    // release check then passes; a newer database stops start-up with a clear message.
    void startUpUpgradesOrRefuses() {
        if (test::onServer()) QSKIP("start-up's folder holds the embedded database");
        for (const bool newer : {false, true}) {
            test::ScriptedServices services;
            test::AppFolder folder;
            QFile::remove(folder.databaseFile());
            QFile::copy(m_base, folder.databaseFile());
            QFile(folder.databaseFile()).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            const int program = schemaVersionOf(shippedSchemaSteps());
            if (newer) {
                SqlCipherEngine db(folder.databaseFile(), kKey);
                upgradeSchema(db, shippedSchemaSteps(), folder.path() + QStringLiteral("pre"), QString(),
                              kNow);
                db.execute(
                    QStringLiteral("insert into esquema_passo (passo_numero, passo_nome) values (:n, 'x')"),
                    {{QStringLiteral("n"), ParamType::Integer, program + 5}});
            }
            session().reset();
            {
                Tdm module(folder.path());
                if (newer) {
                    QCOMPARE(services.dialogs.texts().size(), 1);
                    QVERIFY2(services.dialogs.texts().first().contains(
                                 QStringLiteral("versão %1 do esquema, mais nova que a deste programa (%2)")
                                     .arg(program + 5)
                                     .arg(program)),
                             qPrintable(services.dialogs.texts().first()));
                    QVERIFY(!module.SQL_Dentista->isActive());
                } else {
                    QCOMPARE(services.dialogs.texts(), QStringList());
                    QCOMPARE(schemaVersion(*module.ADOConexao()), program);
                    QVERIFY(module.SQL_Dentista->isActive());
                    QCOMPARE(
                        module.SQL_Configuracao->fieldByName(QStringLiteral("Sistema_Release"))->asString(),
                        QStringLiteral(DV_VERSION));
                    QCOMPARE(QDir(folder.path() + QStringLiteral("Backup")).entryList(QDir::Files).size(), 1);
                }
            }
            SqlCipherEngine after(folder.databaseFile(), kKey);
            QCOMPARE(schemaVersion(after), newer ? program + 5 : program);
        }
    }

    // An empty database is no older Dentrivale: it is neither backed up nor changed.
    void leavesAForeignDatabaseAlone() {
        test::TempDb empty;
        const QString backups = m_dir.filePath(QStringLiteral("Backup-empty"));
        const UpgradeOutcome o = upgradeSchema(*empty.db, shippedSchemaSteps(), backups, QString(), kNow);
        QCOMPARE(o.to, 1);
        QVERIFY(o.backupFile.isEmpty());
        QVERIFY(!QDir(backups).exists());
        QVERIFY(tables(*empty.db).isEmpty());
    }

    void statementsAreSplitWhereTheEngineEndsThem() {
        const QStringList s =
            sqlStatements(QStringLiteral("-- a comment; with a semicolon\n"
                                         "CREATE TABLE t (x TEXT DEFAULT 'a;b');\n"
                                         "CREATE TRIGGER tr AFTER INSERT ON t BEGIN\n  UPDATE t SET x = "
                                         "'c;'; DELETE FROM t WHERE 0;\nEND;\n"
                                         "\n-- the end\n"));
        QCOMPARE(s.size(), 2);
        QVERIFY(s[0].endsWith(QLatin1String("DEFAULT 'a;b');")));
        QVERIFY(s[1].startsWith(QLatin1String("CREATE TRIGGER")));
        QVERIFY(s[1].endsWith(QLatin1String("END;")));
    }
};

QTEST_MAIN(TestSchemaUpgrade)
#include "tst_schema_upgrade.moc"
