// Two workstations on one database: neither overwrites the other's work unseen,
// and the agenda's (dentist, day, hour) key holds across them.
#include "ErrorOf.h"
#include "TempDb.h"
#include "core/ErrorTranslator.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QtTest>

using namespace dv;
using dv::test::errorOf;

class TestTwoWorkstations : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempDb> m_t;
    std::unique_ptr<Connection> m_other;
    std::unique_ptr<Dataset> m_a, m_b;

    // The same patient list open at the reception (a) and in a surgery (b).
    void openBoth(const QString& sql = QStringLiteral("select * from paciente")) {
        m_a = std::make_unique<Dataset>(m_t->db.get(), QStringLiteral("SQL_Paciente"));
        m_b = std::make_unique<Dataset>(m_other.get(), QStringLiteral("SQL_Paciente"));
        for (Dataset* d : {m_a.get(), m_b.get()}) {
            d->setSql(sql);
            d->open();
        }
    }
    QString stored(const QString& column) {
        auto c = m_t->db->query(QStringLiteral("select %1 from paciente where paciente_id = 1").arg(column));
        return c->next() ? QString::fromUtf8(c->utf8(0)) : QStringLiteral("<none>");
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_t = std::make_unique<test::TempDb>();
        Connection& c = *m_t->db;
        c.execute("CREATE TABLE paciente (paciente_id INTEGER PRIMARY KEY AUTOINCREMENT,"
                  " paciente_nome VARCHAR(100) COLLATE NOCASE, paciente_fone VARCHAR(20) COLLATE NOCASE,"
                  " paciente_data_cadastro DATETIME, paciente_foto BLOB)");
        c.execute("INSERT INTO paciente (paciente_nome, paciente_fone) VALUES ('Ana', '1111')");
        c.execute("CREATE TABLE agenda (agenda_id INTEGER PRIMARY KEY AUTOINCREMENT, paciente_id INTEGER,"
                  " dentista_id INTEGER, agenda_data_consulta DATETIME, hora_id VARCHAR(5) COLLATE NOCASE)");
        c.execute(
            "CREATE UNIQUE INDEX ux_agenda_horario ON agenda (dentista_id, agenda_data_consulta, hora_id)");
        m_other = m_t->openAnother();
    }
    void cleanup() {
        m_a.reset();
        m_b.reset();
        m_other.reset();
        m_t.reset();
    }

    // The later save of a field the other workstation changed is refused with a
    // clear message, and the row shows what is stored now; saved again, it wins
    // knowingly.
    void laterSaveOfTheSameFieldIsRefused() {
        openBoth();
        m_a->edit();
        m_a->fieldByName("paciente_nome")->setAsString("Ana Souza");
        m_a->post();

        m_b->edit();
        m_b->fieldByName("paciente_nome")->setAsString("Ana Lima");
        const QString error = errorOf([&] { m_b->post(); });
        QCOMPARE(ErrorTranslator::translateText(error).text,
                 QStringLiteral("O registro foi alterado por outro usuário. Os dados foram recarregados."));
        QCOMPARE(stored("paciente_nome"), QStringLiteral("Ana Souza"));
        QCOMPARE(m_b->state(), DatasetState::Browse);
        QCOMPARE(m_b->fieldByName("paciente_nome")->asString(), QStringLiteral("Ana Souza"));

        m_b->edit();
        m_b->fieldByName("paciente_nome")->setAsString("Ana Lima");
        m_b->post();
        QCOMPARE(stored("paciente_nome"), QStringLiteral("Ana Lima"));
    }

    // Changes to different fields of the same row both stay: only changed columns are written.
    void changesToDifferentFieldsBothStay() {
        openBoth();
        m_a->edit();
        m_a->fieldByName("paciente_nome")->setAsString("Ana Souza");
        m_a->post();
        m_b->edit();
        m_b->fieldByName("paciente_fone")->setAsString("2222");
        m_b->post();
        QCOMPARE(stored("paciente_nome"), QStringLiteral("Ana Souza"));
        QCOMPARE(stored("paciente_fone"), QStringLiteral("2222"));
    }

    // A value stored in another spelling (a date without its time) is the value that
    // was read: no refusal. A row deleted meanwhile still cannot be located.
    void sameValuesAnotherSpellingAndVanishedRows() {
        m_t->db->execute("update paciente set paciente_data_cadastro = '2026-01-05'");
        openBoth();
        m_b->edit();
        m_b->fieldByName("paciente_data_cadastro")->setAsDateTime(QDateTime(QDate(2026, 2, 1), QTime(0, 0)));
        m_b->post();
        QVERIFY(stored("paciente_data_cadastro").startsWith(QLatin1String("2026-02-01")));

        m_a->refresh();
        m_t->db->execute("delete from paciente where paciente_id = 1");
        m_b->edit();
        m_b->fieldByName("paciente_nome")->setAsString("Ana B");
        QVERIFY(
            errorOf([&] { m_b->post(); }).startsWith(QLatin1String("Row cannot be located for updating")));
        QCOMPARE(m_b->state(), DatasetState::Edit);
        m_b->cancel();
    }

    // Both desks book the same dentist, day and hour: the second booking is refused
    // with the key-violation text the error translator knows.
    void doubleBookingIsRefused() {
        const auto book = [](Connection* c) {
            Dataset d(c, QStringLiteral("SQL_Agenda"));
            d.setSql(QStringLiteral("select * from agenda where agenda_id = 0"));
            d.open();
            d.append();
            d.fieldByName("paciente_id")->setAsInteger(1);
            d.fieldByName("dentista_id")->setAsInteger(3);
            d.fieldByName("agenda_data_consulta")->setAsDateTime(QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
            d.fieldByName("hora_id")->setAsString(QStringLiteral("08:30"));
            d.post();
        };
        book(m_t->db.get());
        const QString error = errorOf([&] { book(m_other.get()); });
        QVERIFY2(error.startsWith(QLatin1String("Key violation on '")), qPrintable(error));
        QCOMPARE(ErrorTranslator::translateText(error).text.left(32),
                 QStringLiteral("Registro com chave duplicada. Ca"));
        auto c = m_t->db->query(QStringLiteral("select count(*) from agenda"));
        QVERIFY(c->next());
        QCOMPARE(c->integer(0), 1);
    }
};

QTEST_GUILESS_MAIN(TestTwoWorkstations)
#include "tst_two_workstations.moc"
