// Every change of an audited table leaves a sealed row in the trail, in the same
// transaction, and the chain check names the first row changed, removed or
// written behind the program's back.
#include "TempDb.h"
#include "core/db/AuditChain.h"
#include "core/db/Engine.h"
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace dv;

namespace {

struct Trail {
    QString table, key, action;
    QJsonObject before, after;
    QString user, workstation;
    qint64 patient = 0;
};

QList<Trail> trail(Connection& db, const QString& where = QString()) {
    QList<Trail> out;
    auto c =
        db.query(QStringLiteral("select auditoria_tabela, auditoria_chave, auditoria_acao, auditoria_antes, "
                                "auditoria_depois, auditoria_usuario, auditoria_estacao, auditoria_paciente "
                                "from auditoria %1 order by auditoria_id")
                     .arg(where));
    auto text = [&](int i) { return c->isNull(i) ? QString() : QString::fromUtf8(c->utf8(i)); };
    while (c->next())
        out << Trail{text(0),
                     text(1),
                     text(2),
                     QJsonDocument::fromJson(text(3).toUtf8()).object(),
                     QJsonDocument::fromJson(text(4).toUtf8()).object(),
                     text(5),
                     text(6),
                     c->isNull(7) ? 0 : c->integer(7)};
    return out;
}

qint64 lastAuditId(Connection& db) {
    auto c = db.query(QStringLiteral("select max(auditoria_id) from auditoria"));
    return c->next() && !c->isNull(0) ? c->integer(0) : 0;
}

const char* const kPatient =
    "insert into paciente (paciente_id, paciente_nome, paciente_cpf, paciente_ativo) "
    "values (501, 'Joana Prado', '52998224725', 'S')";

} // namespace

class TestAuditTrail : public QObject {
    Q_OBJECT

    std::unique_ptr<test::InstallDbCopy> m_copy;
    std::unique_ptr<Connection> m_db;
    AuditSeal m_seal{[] { return QStringLiteral("ana"); }, [] { return QStringLiteral("RECEPCAO-1"); }};

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_db.reset();
        m_copy = std::make_unique<test::InstallDbCopy>();
        m_db = Connection::open(m_copy->connectionString(), QString());
        m_db->setTransactionObserver(&m_seal);
    }
    void cleanup() { m_db.reset(), m_copy.reset(); }

    void newDatabaseHasAnEmptyWholeTrail() {
        QCOMPARE(lastAuditId(*m_db), 0);
        const AuditCheck check = checkAuditChain(*m_db);
        QCOMPARE(check.brokenRow, 0);
    }

    // Insert, update and delete outside any transaction: only changed columns, old beside new.
    void insertUpdateDeleteAreRecordedAndSealed() {
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(
            QStringLiteral("update paciente set paciente_nome = 'Joana P. Lima', paciente_ativo = 'S' "
                           "where paciente_id = 501"));
        m_db->execute(QStringLiteral("update paciente set paciente_ativo = 'S' where paciente_id = 501"));
        m_db->execute(QStringLiteral("delete from paciente where paciente_id = 501"));
        const QList<Trail> t = trail(*m_db);
        QCOMPARE(t.size(), 3); // the update that changed nothing leaves nothing
        QCOMPARE(t[0].action, QStringLiteral("I"));
        QCOMPARE(t[0].after.value("paciente_nome").toString(), QStringLiteral("Joana Prado"));
        QVERIFY(t[0].before.isEmpty());
        QCOMPARE(t[1].action, QStringLiteral("U"));
        QCOMPARE(t[1].before.keys(), QStringList{"paciente_nome"});
        QCOMPARE(t[1].before.value("paciente_nome").toString(), QStringLiteral("Joana Prado"));
        QCOMPARE(t[1].after.value("paciente_nome").toString(), QStringLiteral("Joana P. Lima"));
        QCOMPARE(t[2].action, QStringLiteral("D"));
        QCOMPARE(t[2].before.value("paciente_cpf").toString(), QStringLiteral("52998224725"));
        for (const Trail& r : t) {
            QCOMPARE(r.table, QStringLiteral("paciente"));
            QCOMPARE(r.key, QStringLiteral("501"));
            QCOMPARE(r.patient, 501);
            QCOMPARE(r.user, QStringLiteral("ana"));
            QCOMPARE(r.workstation, QStringLiteral("RECEPCAO-1"));
        }
        const AuditCheck check = checkAuditChain(*m_db);
        QCOMPARE(check.brokenRow, 0);
        QCOMPARE(check.rowsChecked, 3);
    }

    // A multi-row operation is recorded row by row in its own transaction, and a
    // rollback takes its trail with it.
    void multiRowOperationsAndRollback() {
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(QStringLiteral("insert into consulta (consulta_id, paciente_id, consulta_valor) "
                                     "values (601, 501, 3000000)"));
        {
            Transaction t(*m_db);
            for (int n = 1; n <= 3; ++n)
                m_db->execute(QStringLiteral("insert into parcela (consulta_id, paciente_id, parcela_numero, "
                                             "parcela_valor, parcela_valor_liquido) values (601, 501, :n, "
                                             "1000000, 1000000)"),
                              {{QStringLiteral("n"), ParamType::Integer, n}});
            t.commit();
        }
        const qint64 before = lastAuditId(*m_db);
        {
            Transaction t(*m_db);
            m_db->execute(QStringLiteral("delete from parcela where consulta_id = 601"));
            m_db->execute(QStringLiteral("update grupo_permissao set form_novo = 'N' where grupo_id = 1"));
        } // rolled back
        QCOMPARE(lastAuditId(*m_db), before);
        // The installments and the automatic remaining amount each leave their rows.
        const QList<Trail> inserted =
            trail(*m_db, QStringLiteral("where auditoria_tabela = 'parcela' and auditoria_acao = 'I'"));
        QCOMPARE(inserted.size(), 3);
        for (const Trail& r : inserted)
            QCOMPARE(r.patient, 501);
        // Permission ">>": every row of the group in one statement.
        m_db->execute(QStringLiteral("update grupo_permissao set form_excluir = 'N' where grupo_id = 1"));
        const QList<Trail> grants = trail(
            *m_db, QStringLiteral("where auditoria_tabela = 'grupo_permissao' and auditoria_acao = 'U'"));
        QVERIFY(grants.size() > 10);
        QCOMPARE(grants.first().before.value("form_excluir").toString(), QStringLiteral("S"));
        QCOMPARE(grants.first().after.value("form_excluir").toString(), QStringLiteral("N"));
        QVERIFY(grants.first().key.startsWith(QLatin1String("1/frm")));
        QCOMPARE(checkAuditChain(*m_db).brokenRow, 0);
    }

    // Item rows name their consultation's patient; passwords are never copied.
    void itemsNameThePatientAndPasswordsStayOut() {
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(QStringLiteral("insert into consulta (consulta_id, paciente_id) values (601, 501)"));
        m_db->execute(
            QStringLiteral("insert into item_consulta (consulta_id, servico_id, item_consulta_valor) "
                           "values (601, 1, 1200000)"));
        QCOMPARE(trail(*m_db, QStringLiteral("where auditoria_tabela = 'item_consulta'")).value(0).patient,
                 501);
        m_db->execute(
            QStringLiteral("update usuario set usuario_senha = 'novo-hash-secreto' where usuario_id = 1"));
        const Trail t = trail(*m_db, QStringLiteral("where auditoria_tabela = 'usuario'")).value(0);
        QCOMPARE(t.after.value("usuario_senha").toString(), QStringLiteral("***"));
        QCOMPARE(t.before.value("usuario_senha").toString(), QStringLiteral("***"));
    }

    // Edits behind the program's back: a connection without the seal stands for any
    // other tool; the check names the first row that is not as sealed.
    void tamperingIsDetected_data() {
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<int>("brokenOffset"); // from the second of three rows
        QTest::addColumn<int>("problem");
        QTest::newRow("row changed")
            << "update auditoria set auditoria_depois = '{}' where auditoria_id = :id" << 0
            << int(AuditCheck::Mismatch);
        QTest::newRow("row deleted") << "delete from auditoria where auditoria_id = :id" << 1
                                     << int(AuditCheck::Mismatch);
        QTest::newRow("user rewritten")
            << "update auditoria set auditoria_usuario = 'bruno' where auditoria_id = :id" << 0
            << int(AuditCheck::Mismatch);
        QTest::newRow("patient changed unsealed")
            << "update paciente set paciente_nome = 'Outra' where paciente_id = 501 and :id > 0" << 2
            << int(AuditCheck::NotSealed);
    }
    void tamperingIsDetected() {
        QFETCH(QString, tamper);
        QFETCH(int, brokenOffset);
        QFETCH(int, problem);
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'B' where paciente_id = 501"));
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'C' where paciente_id = 501"));
        const qint64 second = lastAuditId(*m_db) - 1;
        m_db->setTransactionObserver(nullptr);
        m_db->execute(tamper, {{QStringLiteral("id"), ParamType::Integer, second}});
        m_db->setTransactionObserver(&m_seal);
        const AuditCheck check = checkAuditChain(*m_db);
        QCOMPARE(int(check.problem), problem);
        QCOMPARE(check.brokenRow, second + brokenOffset);
        // Later changes through the program do not launder the unsealed row.
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'D' where paciente_id = 501"));
        QCOMPARE(checkAuditChain(*m_db).brokenRow, second + brokenOffset);
    }

    // A trail sealed by an earlier release (the values themselves in each hash) still
    // checks after the upgrade, goes on with rows sealed now, keeps its rows when a
    // patient is anonymised, and a change to it is still found.
    void rowsSealedByTheFirstReleaseStillCheck() {
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'B' where paciente_id = 501"));
        m_db->setTransactionObserver(nullptr);
        QList<AuditRow> rows;
        {
            auto c = m_db->query(QStringLiteral(
                "select auditoria_id, auditoria_data, auditoria_estacao, auditoria_usuario, "
                "auditoria_tabela, "
                "auditoria_chave, auditoria_acao, auditoria_paciente, auditoria_antes, auditoria_depois "
                "from auditoria order by auditoria_id"));
            const auto text = [&](int i) {
                return c->isNull(i) ? QVariant() : QVariant(QString::fromUtf8(c->utf8(i)));
            };
            while (c->next())
                rows << AuditRow{c->integer(0),
                                 c->dateTime(1),
                                 text(2),
                                 text(3),
                                 text(4),
                                 text(5),
                                 text(6),
                                 c->isNull(7) ? QVariant() : QVariant(c->integer(7)),
                                 text(8),
                                 text(9),
                                 {}};
        }
        QVERIFY(rows.size() >= 2);
        QString previous;
        for (const AuditRow& r : rows) {
            previous = auditHashFirstVersion(r, previous);
            m_db->execute(QStringLiteral("update auditoria set auditoria_hash = :h where auditoria_id = :id"),
                          {{QStringLiteral("h"), ParamType::String, previous},
                           {QStringLiteral("id"), ParamType::Integer, r.id}});
        }
        m_db->setTransactionObserver(&m_seal);
        QCOMPARE(checkAuditChain(*m_db).brokenRow, 0);
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'C' where paciente_id = 501"));
        QCOMPARE(checkAuditChain(*m_db).brokenRow, 0);
        // Only the row sealed now loses its values; the earlier ones stay as sealed.
        QCOMPARE(redactAuditValues(*m_db, 501, {QStringLiteral("paciente")}), 1);
        QCOMPARE(checkAuditChain(*m_db).brokenRow, 0);
        m_db->setTransactionObserver(nullptr);
        m_db->execute(QStringLiteral("update auditoria set auditoria_depois = '{}' where auditoria_id = :id"),
                      {{QStringLiteral("id"), ParamType::Integer, rows.first().id}});
        m_db->setTransactionObserver(&m_seal);
        QCOMPARE(checkAuditChain(*m_db).brokenRow, rows.first().id);
    }

    // The sqlcipher tool itself: its change to a trail row is found and named.
    void sqlcipherToolEditIsDetected() {
        if (test::onServer()) QSKIP("the embedded database file");
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
        if (tool.isEmpty()) QSKIP("the sqlcipher tool is not installed");
        m_db->execute(QString::fromUtf8(kPatient));
        m_db->execute(QStringLiteral("update paciente set paciente_nome = 'B' where paciente_id = 501"));
        const qint64 first = lastAuditId(*m_db) - 1;
        m_db.reset();
        QProcess p;
        p.start(tool, {m_copy->file});
        QVERIFY(p.waitForStarted());
        p.write(QStringLiteral("PRAGMA key='5316428850';\nupdate auditoria set auditoria_depois = "
                               "replace(auditoria_depois, 'Joana', 'Joanna') where auditoria_id = %1;\n")
                    .arg(first)
                    .toUtf8());
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        m_db = Connection::open(m_copy->connectionString(), QString());
        const AuditCheck check = checkAuditChain(*m_db);
        QCOMPARE(check.problem, AuditCheck::Mismatch);
        QCOMPARE(check.brokenRow, first);
    }
};

QTEST_GUILESS_MAIN(TestAuditTrail)
#include "tst_audit_trail.moc"
