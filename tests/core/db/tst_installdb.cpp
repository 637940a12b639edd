// The installation database the build generates: encrypted, consistent, seeded
// with the rows the system relies on, and guarding its parent-child relations.
#include "TempDb.h"
#include "core/db/DbErrors.h"
#include "core/db/Engine.h"
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sodium.h>

using namespace dv;

namespace {

const char* const kPassword = "5316428850";

// Every form name the screen opener can create.
const QStringList kForms = {
    "frmUsuario",
    "frmUsuario_Manut",
    "frmModulo",
    "frmModulo_Manut",
    "frmModulo_Menu_Manut",
    "frmBackup",
    "frmGrupo",
    "frmGrupo_Manut",
    "frmServico",
    "frmServico_Manut",
    "frmPaciente",
    "frmPaciente_Manut",
    "frmContato",
    "frmContato_Manut",
    "frmContasPagar",
    "frmContasPagar_Manut",
    "frmConsulta",
    "frmConsulta_Manut",
    "frmConvenio",
    "frmConvenio_Manut",
    "frmAgenda_Consulta",
    "frmAgenda_Manut",
    "frmSelecaoContasReceber",
    "frmSelecaoContasRecebidas",
    "frmEstoque",
    "frmEstoque_Manut",
    "frmIcone",
    "frmIcone_Manut",
    "frmDentista",
    "frmDentista_Manut",
    "frmEmpresa",
    "frmEmpresa_Manut",
    "frmDente",
    "frmDente_Manut",
    "frmConfirmacao",
    "frmRetorno",
    "frmAuditoria",
    "frmAniversario",
    "frmDocumentoModelo",
    "frmDocumentoModelo_Manut",
    "frmMedicamento",
    "frmMedicamento_Manut",
    "frmPaciente_Documentos",
    "frmAnonimizacao",
};

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult runCli(const QString& program, const QStringList& args, const QByteArray& input) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

bool validCnpj(const QString& s) {
    if (s.size() != 14) return false;
    auto digit = [&](int n, std::initializer_list<int> weights) {
        int sum = 0, i = 0;
        for (int w : weights)
            sum += s[i++].digitValue() * w;
        const int r = sum % 11;
        return (r < 2 ? 0 : 11 - r) == s[n].digitValue();
    };
    return digit(12, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}) &&
           digit(13, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
}

} // namespace

class TestInstallDb : public QObject {
    Q_OBJECT

    std::unique_ptr<test::InstallDbCopy> m_copy;
    std::unique_ptr<Connection> m_db;

    // Rows of a query as lists of texts (NULL reads as a null QString).
    QList<QStringList> rows(const QString& sql, const Params& p = {}) {
        auto c = m_db->query(sql, p);
        QList<QStringList> out;
        while (c->next()) {
            QStringList r;
            for (int i = 0; i < c->columns().size(); ++i)
                r << (c->isNull(i) ? QString() : QString::fromUtf8(c->utf8(i)));
            out << r;
        }
        return out;
    }
    QString one(const QString& sql, const Params& p = {}) {
        const auto r = rows(sql, p);
        return r.isEmpty() ? QString() : r.first().value(0);
    }
    QStringList column(const QString& sql) {
        QStringList out;
        for (const auto& r : rows(sql))
            out << r.value(0);
        return out;
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_copy = std::make_unique<test::InstallDbCopy>();
        QVERIFY(test::onServer() || QFile::exists(m_copy->file));
        m_db = Connection::open(m_copy->connectionString(), QStringLiteral("/"));
    }
    void cleanup() {
        m_db.reset();
        m_copy.reset();
    }

    // Without the key the file is noise; with it, it is a sound database.
    void fileIsEncrypted() {
        if (test::onServer()) QSKIP("the embedded file only");
        const QString plain = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        const QString cipher = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
        if (plain.isEmpty() || cipher.isEmpty()) QSKIP("sqlite3 and sqlcipher command-line tools are needed");
        m_db.reset(); // nothing holds the file open

        const CliResult unkeyed = runCli(plain, {m_copy->file}, "select count(*) from sqlite_master;\n");
        QVERIFY2(unkeyed.err.contains(QLatin1String("file is not a database")), qPrintable(unkeyed.err));
        QVERIFY(!unkeyed.out.contains(QLatin1String("usuario")));

        const CliResult wrongKey =
            runCli(cipher, {m_copy->file}, "PRAGMA key='wrong';\nselect count(*) from sqlite_master;\n");
        QVERIFY2(wrongKey.err.contains(QLatin1String("is not a database")), qPrintable(wrongKey.err));

        const CliResult keyed = runCli(cipher, {m_copy->file},
                                       QByteArray("PRAGMA key='") + kPassword +
                                           "';\nPRAGMA integrity_check;\nPRAGMA foreign_key_check;\n"
                                           "select name from sqlite_master where type = 'table' and "
                                           "sql like '%paracela_data_pagamento%';\n");
        QCOMPARE(keyed.exitCode, 0);
        QVERIFY2(keyed.err.isEmpty(), qPrintable(keyed.err));
        const QStringList lines = keyed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("ok"));
        QCOMPARE(lines.value(1), QStringLiteral("parcela")); // no foreign-key violations listed before it
    }

    // dv_makedb writes beside the target and renames over it only when the whole build succeeded.
    void generatorReplacesOnlyOnSuccess_data() {
        QTest::addColumn<QString>("script"); // empty: the real schema scripts
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("message");
        QTest::newRow("broken script") << "CREATE TABLE a (x INTEGER);\n\nINSERT INTO nowhere VALUES (1);\n"
                                       << "2.3.4.5" << false << "01_broken.sql:3: no such table: nowhere";
        QTest::newRow("script ends the transaction") << "CREATE TABLE a (x INTEGER);\nCOMMIT;\n"
                                                     << "2.3.4.5" << false << "must not end";
        QTest::newRow("no administrator")
            << "CREATE TABLE usuario (usuario_login VARCHAR(30), usuario_senha VARCHAR(128));\n"
            << "2.3.4.5" << false << "administrator";
        QTest::newRow("malformed version") << ""
                                           << "1.0" << false << "X.Y.Z.W";
        QTest::newRow("real schema") << ""
                                     << "2.3.4.5" << true << "";
    }
    void generatorReplacesOnlyOnSuccess() {
        QFETCH(QString, script);
        QFETCH(QString, version);
        QFETCH(bool, ok);
        QFETCH(QString, message);
        if (test::onServer()) QSKIP("the embedded file only; the server's is serverGenerator");
        const QString makedb = QStringLiteral(DV_APP_DIR "/../schema/dv_makedb");
        if (!QFile::exists(makedb)) QSKIP("dv_makedb is not beside the application folder");
        m_db.reset();

        QTemporaryDir work;
        QString sqlDir = QStringLiteral(DV_SOURCE_DIR "/schema/sqlite");
        if (!script.isEmpty()) {
            sqlDir = work.filePath(QStringLiteral("sql"));
            QDir().mkpath(sqlDir);
            QFile f(sqlDir + QStringLiteral("/01_broken.sql"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(script.toUtf8());
        }
        const QString out = work.filePath(QStringLiteral("banco/DB.mdb"));
        QDir().mkpath(work.filePath(QStringLiteral("banco")));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("previous database");
        old.close();

        QProcess p;
        p.start(makedb, {"--out", out, "--sql", sqlDir, "--version", version, "--password", "outra-senha"});
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode() == 0, ok);
        QVERIFY2(err.contains(message), qPrintable(err));
        // Nothing is left beside the target but the target itself.
        QCOMPARE(QDir(work.filePath(QStringLiteral("banco"))).entryList(QDir::Files), QStringList{"DB.mdb"});

        QFile result(out);
        QVERIFY(result.open(QIODevice::ReadOnly));
        if (!ok) {
            QCOMPARE(result.readAll(), QByteArray("previous database"));
            return;
        }
        // The new file is keyed with the given password and records the given release.
        auto db = Connection::open(
            QStringLiteral("Data Source=%1;Jet OLEDB:Database Password=outra-senha").arg(out),
            QStringLiteral("/"));
        auto c = db->query(QStringLiteral("select Sistema_Release from configuracao"));
        QVERIFY(c->next());
        QCOMPARE(QString::fromUtf8(c->utf8(0)), version);
        QVERIFY_THROWS_EXCEPTION(
            EngineError, Connection::open(QStringLiteral("Data Source=%1;Jet OLEDB:Database Password=%2")
                                              .arg(out, QLatin1String(kPassword)),
                                          QStringLiteral("/"))
                             ->query(QStringLiteral("select count(*) from sqlite_master")));
    }

    void administrator() {
        QCOMPARE(rows("select grupo_nome, grupo_ativo from grupo where grupo_id = 1"),
                 (QList<QStringList>{{"Administradores", "S"}}));
        const auto admin =
            rows("select usuario_id, usuario_nome, usuario_ativo, grupo_id, usuario_senha, usuario_confirma "
                 "from usuario where usuario_login = 'admin'");
        QCOMPARE(admin.size(), 1);
        QCOMPARE(admin[0][1], QStringLiteral("Administrador"));
        QCOMPARE(admin[0][2], QStringLiteral("S"));
        QCOMPARE(admin[0][3], QStringLiteral("1"));
        QVERIFY(admin[0][5].isEmpty()); // no copy of the password is kept

        // The password is stored as an Argon2id hash, never as typed.
        const QByteArray hash = admin[0][4].toLatin1();
        QVERIFY2(hash.startsWith("$argon2id$"), hash.constData());
        QVERIFY(sodium_init() >= 0);
        QCOMPARE(crypto_pwhash_str_verify(hash.constData(), "admin", 5), 0);
        QVERIFY(crypto_pwhash_str_verify(hash.constData(), "Admin", 5) != 0);
        QVERIFY(crypto_pwhash_str_verify(hash.constData(), "5316428850", 10) != 0);
        // The column is declared wide enough for the hash.
        for (const ColumnInfo& c : m_db->tableColumns(QStringLiteral("usuario")))
            if (c.name.compare(QLatin1String("usuario_senha"), Qt::CaseInsensitive) == 0)
                QVERIFY(c.size >= hash.size());

        // The administrator's preferences are the first row every screen reads.
        QCOMPARE(rows("select usuario_id, skin, pref_fundo, pref_gride from Preferencia"),
                 (QList<QStringList>{{admin[0][0], "SKIN0081.SKN", "", "16053492"}}));
    }

    void screensAndPermissions() {
        const QStringList names = column("select form_nome from Formulario");
        QCOMPARE(QSet<QString>(names.begin(), names.end()), QSet<QString>(kForms.begin(), kForms.end()));
        QCOMPARE(names.size(), kForms.size());
        for (const auto& r :
             rows("select form_nome, form_descricao, form_ativo, form_tipo, form_classe from Formulario")) {
            QVERIFY2(!r[1].trimmed().isEmpty(), qPrintable(r[0]));
            QCOMPARE(r[2], QStringLiteral("S"));
            QVERIFY2(QStringLiteral("LMDSP").contains(r[3]) && r[3].size() == 1, qPrintable(r[0]));
            QCOMPARE(r[4], QLatin1Char('T') + r[0]);
        }
        // Module screens are the developer's: never offered in the permission editor.
        QCOMPARE(
            one("select count(*) from Formulario where form_nome like 'frmModulo%' and form_tipo <> 'S'"),
            QStringLiteral("0"));
        QCOMPARE(one("select count(*) from Formulario where form_tipo = 'S'"), QStringLiteral("3"));

        // The administrator group may open every screen, with every right.
        QCOMPARE(
            one("select count(*) from Formulario f where not exists (select 1 from grupo_permissao p "
                "where p.grupo_id = 1 and p.form_nome = f.form_nome and form_novo = 'S' and form_editar = "
                "'S' "
                "and form_excluir = 'S' and form_filtrar = 'S' and form_imprimir = 'S' and form_html = 'S' "
                "and form_excel = 'S' and form_outros = 'S')"),
            QStringLiteral("0"));
        QCOMPARE(one("select count(*) from grupo_permissao"), QString::number(kForms.size()));
    }

    void menuTree() {
        QVERIFY(one("select count(*) from menu_sistema where sub_menu_id = 0 and menu_ativo = 'S'").toInt() >=
                3);
        // Every entry opens a registered screen, and every entry hangs under a group.
        QCOMPARE(one("select count(*) from menu_sistema m where not exists "
                     "(select 1 from Formulario f where f.form_nome = m.form_nome)"),
                 QStringLiteral("0"));
        QCOMPARE(one("select count(*) from menu_sistema m where sub_menu_id <> 0 and not exists "
                     "(select 1 from menu_sistema g where g.menu_id = m.menu_id and g.sub_menu_id = 0)"),
                 QStringLiteral("0"));
        // The tree shows names in text(30) and always has help text beside it.
        QCOMPARE(one("select count(*) from menu_sistema where length(menu_nome) > 30 or menu_nome = '' "
                     "or ifnull(menu_ajuda, '') = ''"),
                 QStringLiteral("0"));
        // Maintenance screens need their list's current row: they are not menu entries.
        QCOMPARE(one("select count(*) from menu_sistema where form_nome like '%_Manut'"),
                 QStringLiteral("0"));
    }

    void installationRow() {
        const auto r = rows("select Sistema_Nome, Sistema_Release, Sistema_DataUpdate from configuracao");
        QCOMPARE(r.size(), 1);
        QCOMPARE(r[0][0], QStringLiteral("Dentrivale"));
        QCOMPARE(r[0][1], QStringLiteral(DV_VERSION));
        QVERIFY(QDateTime::fromString(r[0][2], QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid());
    }

    void codeTables_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("27 states") << "select count(*) from UF"
                                   << "27";
        QTest::newRow("SP") << "select uf_nome from UF where uf_id = 'SP'"
                            << "São Paulo";
        QTest::newRow("supplier type")
            << "select tipo_contato_nome from tipo_contato where tipo_contato_id = 1"
            << "Fornecedor";
        QTest::newRow("tooth locations")
            << "select group_concat(local_dente_id, ',') from (select local_dente_id from local_dente "
               "order by local_dente_id)"
            << "DI,DS,Q1,Q2,Q3,Q4,TO";
        QTest::newRow("location names")
            << "select count(*) from local_dente where ifnull(local_dente_nome, '') = ''"
            << "0";
        QTest::newRow("skin") << "select count(*) from skin where skin = 'SKIN0081.SKN'"
                              << "1";
        QTest::newRow("particular plan") << "select count(*) from convenio where convenio_nome = 'Particular'"
                                         << "1";
        QTest::newRow("payment forms") << "select count(*) from forma_pagamento where forma_pagamento_nome "
                                          "in ('Dinheiro', 'PIX', 'Cheque')"
                                       << "3";
        QTest::newRow("anamnesis ordered 1..n")
            << "select count(*) = max(anamnese_ordem) and min(anamnese_ordem) = 1 and count(distinct "
               "anamnese_ordem) "
               "= count(*) and count(*) >= 12 from anamnese"
            << "1";
        QTest::newRow("one company") << "select count(*) from empresa"
                                     << "1";
        QTest::newRow("branches") << "select count(*) > 0 from ramo"
                                  << "1";
        QTest::newRow("units") << "select count(*) > 0 from unidade where unidade_id = 'UN'"
                               << "1";
        QTest::newRow("payable kinds") << "select count(*) > 0 from tipo_conta"
                                       << "1";
        QTest::newRow("reports registered") << "select count(*) from Relatorio"
                                            << "16";
    }
    void codeTables() {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(one(sql), expected);
    }

    void companyCnpjIsValid() {
        const QString cnpj = one("select empresa_cgc from empresa");
        QVERIFY2(validCnpj(cnpj), qPrintable(cnpj));
    }

    // Deleting a parent that still has children fails and keeps both; once the
    // children are gone the same delete works.
    void parentWithChildrenCannotBeDeleted_data() {
        QTest::addColumn<QString>("child"); // one more child row of patient 1 / consultation 1, if any
        QTest::addColumn<QString>("childTable");
        QTest::addColumn<QString>("deleteParent");
        QTest::newRow("consultation items") << "insert into item_consulta (consulta_id, servico_id, "
                                               "dente_id, local_dente_id, item_consulta_valor) "
                                               "values (1, 0, 0, 'TO', 0)"
                                            << "item_consulta"
                                            << "delete from consulta where consulta_id = 1";
        QTest::newRow("installments") << "insert into parcela (consulta_id, paciente_id, parcela_numero, "
                                         "parcela_valor) values (1, 1, 1, 100)"
                                      << "parcela"
                                      << "delete from consulta where consulta_id = 1";
        QTest::newRow("documents")
            << "insert into documento (consulta_id, paciente_id, doc_nome) values (1, 1, 'Receita')"
            << "documento"
            << "delete from consulta where consulta_id = 1";
        QTest::newRow("patient answers") << "insert into anamnese_paciente (paciente_id, anamnese_id, "
                                            "anamnese_resposta) values (1, 1, 'N')"
                                         << "anamnese_paciente"
                                         << "delete from paciente where paciente_id = 1";
        QTest::newRow("patient photos") << "insert into foto (paciente_id, foto_titulo) values (1, 'Foto')"
                                        << "foto"
                                        << "delete from paciente where paciente_id = 1";
        QTest::newRow("patient consultations") << ""
                                               << "consulta"
                                               << "delete from paciente where paciente_id = 1";
        QTest::newRow("group permissions") << ""
                                           << "grupo_permissao"
                                           << "delete from grupo where grupo_id = 1";
    }
    void parentWithChildrenCannotBeDeleted() {
        QFETCH(QString, child);
        QFETCH(QString, childTable);
        QFETCH(QString, deleteParent);
        m_db->execute("insert into paciente (paciente_id, paciente_nome, convenio_id) values (1, 'Ana', 1)");
        m_db->execute("insert into consulta (consulta_id, paciente_id, dentista_id, forma_pagamento_id) "
                      "values (1, 1, 1, 1)");
        if (!child.isEmpty()) m_db->execute(child);
        const QString childCount = QStringLiteral("select count(*) from %1").arg(childTable);
        const QString before = one(childCount);
        QVERIFY(before.toInt() > 0);

        try {
            m_db->execute(deleteParent);
            QFAIL("a parent with children was deleted");
        } catch (const DatabaseError& e) {
            QVERIFY2(
                e.message().contains(QStringLiteral("table '%1' includes related records").arg(childTable)),
                qPrintable(e.message()));
        }
        QCOMPARE(one(childCount), before);

        for (const char* leaf :
             {"item_consulta", "parcela", "documento", "anamnese_paciente", "foto", "grupo_permissao"})
            m_db->execute(QStringLiteral("delete from %1").arg(QLatin1String(leaf)));
        if (deleteParent.contains(QLatin1String("paciente"))) m_db->execute("delete from consulta");
        QCOMPARE(m_db->execute(deleteParent), qint64(1));
    }

    void childNeedsParent_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("item of no consultation") << "insert into item_consulta (consulta_id, servico_id, "
                                                    "dente_id, local_dente_id) values (999, 1, 0, 'TO')";
        QTest::newRow("consultation of no patient")
            << "insert into consulta (paciente_id, dentista_id, forma_pagamento_id) values (999, 1, 1)";
        QTest::newRow("permission of no group")
            << "insert into grupo_permissao (grupo_id, form_nome) values (999, 'frmPaciente')";
    }
    void childNeedsParent() {
        QFETCH(QString, sql);
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_db->execute(sql));
    }

    // Lookups the screens leave at 0 (no tooth, no icon) are not references.
    void zeroLookupsAreAccepted() {
        m_db->execute("insert into paciente (paciente_id, paciente_nome, convenio_id) values (1, 'Ana', 0)");
        m_db->execute("insert into consulta (consulta_id, paciente_id, dentista_id, forma_pagamento_id) "
                      "values (1, 1, 0, 0)");
        QCOMPARE(
            m_db->execute(
                "insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, icone_id) "
                "values (1, 0, 0, 'TO', 0)"),
            qint64(1));
    }

    // The remaining amount that receipts read follows the net and paid amounts.
    void installmentRemainder() {
        const auto money = [](const char* text) { return QVariant::fromValue(*Currency::parse(text)); };
        const auto remainder = [&] {
            auto c = m_db->query("select parcela_valor_restante from parcela");
            return c->next() ? c->currency(0) : Currency::fromRaw(-1);
        };
        m_db->execute("insert into paciente (paciente_id, paciente_nome) values (1, 'Ana')");
        m_db->execute("insert into consulta (consulta_id, paciente_id) values (1, 1)");
        m_db->execute(
            "insert into parcela (parcela_id, consulta_id, paciente_id, parcela_valor_liquido, "
            "parcela_valor_pago) values (1, 1, 1, :l, :p)",
            {{"l", ParamType::Currency, money("100,00")}, {"p", ParamType::Currency, money("25,00")}});
        QCOMPARE(remainder(), *Currency::parse("75,00"));
        m_db->execute("update parcela set parcela_valor_pago = :p where parcela_id = 1",
                      {{"p", ParamType::Currency, money("100,00")}});
        QCOMPARE(remainder(), Currency());
        m_db->execute("update parcela set parcela_valor_liquido = null, parcela_valor_pago = null");
        QCOMPARE(remainder(), Currency());
    }

    // The server's tables are the embedded ones, translated: same tables, columns,
    // types, widths and keys.
    void serverSchemaMirrorsTheEmbeddedOne() {
        if (!test::onServer()) QSKIP("compares the server database with the embedded one");
        auto embedded = Connection::open(
            QStringLiteral("Data Source=%1;Jet OLEDB:Database Password=%2").arg(DV_INSTALL_DB, kPassword),
            "/");
        QStringList tables;
        for (auto c = embedded->query("select name from sqlite_master where type = 'table' and name not like "
                                      "'sqlite%' order by name");
             c->next();)
            tables << QString::fromUtf8(c->utf8(0));
        QVERIFY(tables.contains("paciente"));
        QStringList serverTables;
        for (auto c = m_db->query("select tablename from pg_tables where schemaname = 'public'"); c->next();)
            serverTables << QString::fromUtf8(c->utf8(0));
        QCOMPARE(serverTables.size(), tables.size());
        const auto describe = [](const QList<ColumnInfo>& cols) {
            QStringList out;
            for (const ColumnInfo& c : cols)
                out << QStringLiteral("%1 %2 %3%4%5")
                           .arg(c.name.toLower())
                           .arg(int(c.type))
                           .arg(c.size)
                           .arg(c.primaryKey ? " key" : "")
                           .arg(c.notNull && !c.primaryKey ? " not null" : "");
            return out;
        };
        for (const QString& t : tables)
            QCOMPARE(describe(m_db->tableColumns(t)), describe(embedded->tableColumns(t)));
        // Seed rows came across, the generated ones too.
        for (const char* sql : {"select count(*) from Formulario", "select count(*) from UF"}) {
            auto c = embedded->query(sql);
            QVERIFY(c->next());
            QCOMPARE(one(sql), QString::fromUtf8(c->utf8(0)));
        }
        const QByteArray hash =
            one("select usuario_senha from usuario where usuario_login = 'admin'").toLatin1();
        QCOMPARE(crypto_pwhash_str_verify(hash.constData(), "admin", 5), 0);
    }

    // dv_makedb --postgres fills an empty database and refuses one with tables.
    void serverGenerator() {
        if (!test::onServer()) QSKIP("creates a server database");
        const QString makedb = QStringLiteral(DV_APP_DIR "/../schema/dv_makedb");
        const QString url = m_copy->connectionString().section("Data Source=", 1).section(';', 0, 0);
        QProcess p;
        p.start(makedb, {"--postgres", url, "--sql", DV_SOURCE_DIR "/schema/sqlite", "--version", "2.3.4.5"});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("already has tables"));
        QCOMPARE(one("select Sistema_Release from configuracao"), QStringLiteral(DV_VERSION));
    }
};

QTEST_GUILESS_MAIN(TestInstallDb)
#include "tst_installdb.moc"
