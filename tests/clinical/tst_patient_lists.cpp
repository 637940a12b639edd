// The return and anonymisation lists against their plain per-patient form, on a small
// clinic holding the cases that decide a row: ties on the latest day, bookings before
// and after today, inactive and anonymised patients, several contact attempts, no
// consultation at all, namesakes, accented names. Runs on both engines.
#include "TempDb.h"
#include "clinical/PatientAnonymiser.h"
#include "clinical/ReturnList.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include "core/db/Field.h"
#include <QtTest>

using namespace dv;

namespace {

// The lists as first written, one subquery per patient: plain to read, slow on a
// large clinic. The lists must give exactly their rows, in their order.
const QString kPlainReturns = QStringLiteral(
    "SELECT paciente.paciente_id, paciente.paciente_nome, paciente.paciente_fone, paciente.paciente_celular, "
    "ultima.consulta_data, dentista.dentista_id, dentista.dentista_nome, tentativa.tentativa_data, "
    "tentativa.tentativa_obs FROM paciente INNER JOIN consulta ultima ON ultima.paciente_id = "
    "paciente.paciente_id LEFT JOIN dentista ON dentista.dentista_id = ultima.dentista_id LEFT JOIN "
    "retorno_tentativa tentativa ON tentativa.tentativa_id = (select max(t.tentativa_id) from "
    "retorno_tentativa t where t.paciente_id = paciente.paciente_id) where paciente.paciente_ativo = 'S' "
    "and ultima.consulta_id = (select max(c.consulta_id) from consulta c where c.paciente_id = "
    "paciente.paciente_id and c.consulta_data = (select max(d.consulta_data) from consulta d where "
    "d.paciente_id = paciente.paciente_id)) and ultima.consulta_data < :limite and not exists (select 1 "
    "from agenda where agenda.paciente_id = paciente.paciente_id and agenda.agenda_data_consulta >= :hoje) "
    "order by ultima.consulta_data, paciente.paciente_nome, paciente.paciente_id");

const QString kPlainCandidates = QStringLiteral(
    "SELECT paciente.paciente_id, paciente.paciente_nome, paciente.paciente_cpf, "
    "paciente.paciente_data_cadastro, ultima.consulta_data FROM paciente LEFT JOIN consulta ultima ON "
    "ultima.consulta_id = (select max(c.consulta_id) from consulta c where c.paciente_id = "
    "paciente.paciente_id and c.consulta_data = (select max(d.consulta_data) from consulta d where "
    "d.paciente_id = paciente.paciente_id)) where not exists (select 1 from paciente_anonimizado a where "
    "a.paciente_id = paciente.paciente_id) and not exists (select 1 from agenda where agenda.paciente_id = "
    "paciente.paciente_id and agenda.agenda_data_consulta >= :hoje) and ((ultima.consulta_data is not null "
    "and ultima.consulta_data < :limite) or (ultima.consulta_data is null and "
    "paciente.paciente_data_cadastro < :limite)) order by paciente.paciente_nome, paciente.paciente_id");

QStringList patient(int id, const char* name, const char* active, const char* registered,
                    const QString& cpf = QString()) {
    return {QStringLiteral("insert into paciente (paciente_id, paciente_nome, paciente_cpf, paciente_fone, "
                           "paciente_celular, paciente_ativo, paciente_data_cadastro) values (%1, '%2', "
                           "'%5', '(12) 3333-%1', '(12) 99999-%1', '%3', '%4 00:00:00')")
                .arg(id)
                .arg(QString::fromUtf8(name), QLatin1String(active), QLatin1String(registered),
                     cpf.isEmpty() ? QStringLiteral("CPF %1").arg(id) : cpf)};
}
QString consultation(int id, int patient, int dentist, const char* day) {
    return QStringLiteral("insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, "
                          "consulta_aprovado, forma_pagamento_id) values (%1, %2, %3, '%4', 'S', 1)")
        .arg(id)
        .arg(patient)
        .arg(dentist)
        .arg(QLatin1String(day));
}
QString booking(int patient, const char* day, const char* hour) {
    return QStringLiteral("insert into agenda (paciente_id, dentista_id, agenda_data_consulta, hora_id) "
                          "values (%1, 901, '%2 00:00:00', '%3')")
        .arg(patient)
        .arg(QLatin1String(day), QLatin1String(hour));
}
QString attempt(int id, int patient, const char* when, const char* remark) {
    return QStringLiteral("insert into retorno_tentativa (tentativa_id, paciente_id, tentativa_data, "
                          "tentativa_usuario, tentativa_obs) values (%1, %2, '%3', 'admin', '%4')")
        .arg(id)
        .arg(patient)
        .arg(QLatin1String(when), QString::fromUtf8(remark));
}

QStringList fixture() {
    QStringList rows{
        QStringLiteral("insert into dentista (dentista_id, dentista_nome, dentista_ativo) values (901, "
                       "'ANA LIMA', 'S')"),
        QStringLiteral("insert into dentista (dentista_id, dentista_nome, dentista_ativo) values (902, "
                       "'BRUNO COSTA', 'S')"),
    };
    // Two consultations on her latest day, the later-numbered one with Bruno; an
    // older day carries the highest number of all.
    rows << patient(9001, "ALICE", "S", "2015-01-01") << consultation(8003, 9001, 901, "2025-05-10 00:00:00")
         << consultation(8004, 9001, 902, "2025-05-10 00:00:00")
         << consultation(8090, 9001, 901, "2024-02-01 00:00:00");
    // Booked for later: on neither list. Booked today counts as booked.
    rows << patient(9002, "BRENO", "S", "2001-01-01") << consultation(8010, 9002, 901, "2019-01-01 00:00:00")
         << booking(9002, "2026-04-01", "08:00");
    rows << patient(9003, "CARLA", "S", "2001-01-01") << consultation(8011, 9003, 901, "2019-01-01 00:00:00")
         << booking(9003, "2026-03-16", "09:00");
    // A past appointment only: still due.
    rows << patient(9004, "DARIO", "S", "2001-01-01") << consultation(8012, 9004, 902, "2019-06-01 00:00:00")
         << booking(9004, "2019-06-01", "10:00");
    // Inactive: off the return list, on the anonymisation one.
    rows << patient(9005, "ELISA", "N", "2001-01-01") << consultation(8013, 9005, 901, "2019-01-01 00:00:00");
    // Several attempts: the highest-numbered shows, though not the latest in time.
    rows << patient(9006, "FABIO", "S", "2001-01-01") << consultation(8014, 9006, 901, "2025-01-01 00:00:00")
         << attempt(701, 9006, "2026-03-10 09:00:00", "vai ligar")
         << attempt(702, 9006, "2026-03-01 09:00:00", "não atendeu")
         << attempt(703, 9007, "2026-03-02 09:00:00", "de outro");
    // No consultation: by the registration for anonymisation, never due for a return.
    rows << patient(9007, "GISELE", "S", "2001-01-01") << patient(9008, "HUGO", "S", "2025-12-01");
    // Anonymised already (which also made her inactive).
    rows << patient(9009, "IARA", "N", "2001-01-01") << consultation(8015, 9009, 901, "2019-01-01 00:00:00")
         << QStringLiteral("insert into paciente_anonimizado (paciente_id, anonimizado_data) values (9009, "
                           "'2026-01-01 00:00:00')");
    // Recent; and one whose latest day is the limit itself (not before it).
    rows << patient(9010, "JOAO", "S", "2001-01-01") << consultation(8016, 9010, 901, "2026-02-01 00:00:00")
         << consultation(8017, 9010, 902, "2019-01-01 00:00:00");
    rows << patient(9011, "KARINA", "S", "2001-01-01")
         << consultation(8018, 9011, 902, "2025-09-16 00:00:00");
    // Same latest day as another patient: the name orders them.
    rows << patient(9012, "ABEL", "S", "2001-01-01") << consultation(8019, 9012, 902, "2025-01-01 00:00:00");
    // Namesakes on the same day, their documents in the other order than their codes
    // (the name index would hand them by document); and accented names, which the
    // engine's byte order puts after Z.
    rows << patient(9013, "LUCAS", "S", "2001-01-01", QStringLiteral("CPF 3"))
         << consultation(8020, 9013, 901, "2019-03-01 00:00:00")
         << patient(9014, "LUCAS", "S", "2001-01-01", QStringLiteral("CPF 2"))
         << consultation(8021, 9014, 901, "2019-03-01 00:00:00")
         << patient(9015, "LUCAS", "S", "2001-01-01", QStringLiteral("CPF 1"))
         << consultation(8022, 9015, 901, "2019-03-01 00:00:00");
    rows << patient(9016, "ÉRICA", "S", "2001-01-01") << consultation(8023, 9016, 901, "2019-03-01 00:00:00")
         << patient(9017, "ÁGATA", "S", "2001-01-01") << consultation(8024, 9017, 902, "2019-03-01 00:00:00")
         << patient(9018, "lara", "S", "2001-01-01") << consultation(8025, 9018, 902, "2019-03-01 00:00:00");
    return rows;
}

struct Rows {
    QList<QStringList> values;
    QStringList column(int c) const {
        QStringList out;
        for (const QStringList& row : values)
            out << row.value(c);
        return out;
    }
};

// The rows as the screen shows them: the statement opened in a dataset, given the
// screen's order (none: the statement's own).
Rows read(Connection& db, const QString& sql, const QDate& limit, const QDate& today,
          const QString& order = QString()) {
    Dataset d(&db, QStringLiteral("lista"));
    d.setSql(sql);
    d.setParam(QStringLiteral("limite"), ParamType::DateTime, QDateTime(limit, QTime(0, 0)));
    d.setParam(QStringLiteral("hoje"), ParamType::DateTime, QDateTime(today, QTime(0, 0)));
    d.setSort(order);
    d.open();
    Rows rows;
    for (int r = 0; r < d.recordCount(); ++r) {
        QStringList row;
        for (Field* f : d.fields()) {
            const QVariant v = d.value(r, f);
            row << (v.isNull() ? QStringLiteral("<null>") : v.toString());
        }
        rows.values << row;
    }
    return rows;
}

} // namespace

class TestPatientLists : public QObject {
    Q_OBJECT

    std::unique_ptr<test::InstallDbCopy> m_copy;
    std::unique_ptr<Connection> m_db;

private slots:
    void initTestCase() {
        DV_REQUIRE_SERVER_IF_ASKED();
        m_copy = std::make_unique<test::InstallDbCopy>();
        m_copy->addRows(fixture());
        m_db = Connection::open(m_copy->connectionString(), QStringLiteral("/"));
    }
    void cleanupTestCase() {
        m_db.reset();
        m_copy.reset();
    }

    void sameRowsAsThePlainForm_data() {
        QTest::addColumn<QDate>("limit");
        QTest::addColumn<QDate>("today");
        const QDate today(2026, 3, 16);
        QTest::newRow("six months") << QDate(2025, 9, 16) << today;
        QTest::newRow("a day after the limit") << QDate(2025, 9, 17) << today;
        QTest::newRow("five years") << QDate(2021, 3, 16) << today;
        QTest::newRow("everything past") << QDate(2030, 1, 1) << QDate(2030, 1, 1);
        QTest::newRow("nothing past") << QDate(2000, 1, 1) << today;
    }
    void sameRowsAsThePlainForm() {
        QFETCH(QDate, limit);
        QFETCH(QDate, today);
        // Both in the screen's order: the plain form's own order is the engine's bytes.
        QCOMPARE(read(*m_db, returns::dueSql(), limit, today, returns::dueOrder()).values,
                 read(*m_db, kPlainReturns, limit, today, returns::dueOrder()).values);
        QCOMPARE(read(*m_db, anonymisation::candidatesSql(), limit, today, anonymisation::candidatesOrder())
                     .values,
                 read(*m_db, kPlainCandidates, limit, today, anonymisation::candidatesOrder()).values);
    }

    // What the cases above must come to, so that both forms cannot be wrong alike; also
    // with the rows handed to the screen by code downwards, so that the order cannot
    // lean on how the engine happens to walk its indexes.
    void theDecidingCases_data() {
        QTest::addColumn<QString>("handed");
        QTest::newRow("as the engine walks") << QStringLiteral("%1");
        QTest::newRow("by code downwards")
            << QStringLiteral("select * from (%1) lista order by lista.paciente_id desc");
    }
    void theDecidingCases() {
        QFETCH(QString, handed);
        const QDate today(2026, 3, 16);
        const Rows returns =
            read(*m_db, handed.arg(returns::dueSql()), QDate(2025, 9, 16), today, returns::dueOrder());
        QCOMPARE(returns.column(1), (QStringList{"ÁGATA", "ÉRICA", "lara", "LUCAS", "LUCAS", "LUCAS", "DARIO",
                                                 "ABEL", "FABIO", "ALICE"}));
        QCOMPARE(returns.column(0).mid(3, 3), (QStringList{"9013", "9014", "9015"}));
        QCOMPARE(returns.column(6),
                 (QStringList{"BRUNO COSTA", "ANA LIMA", "BRUNO COSTA", "ANA LIMA", "ANA LIMA", "ANA LIMA",
                              "BRUNO COSTA", "BRUNO COSTA", "ANA LIMA", "BRUNO COSTA"}));
        QCOMPARE(returns.column(8).mid(6), (QStringList{"<null>", "<null>", "não atendeu", "<null>"}));

        const Rows candidates = read(*m_db, handed.arg(anonymisation::candidatesSql()), QDate(2021, 3, 16),
                                     today, anonymisation::candidatesOrder());
        QCOMPARE(candidates.column(1), (QStringList{"ÁGATA", "DARIO", "ELISA", "ÉRICA", "GISELE", "lara",
                                                    "LUCAS", "LUCAS", "LUCAS"}));
        QCOMPARE(candidates.column(0).mid(6), (QStringList{"9013", "9014", "9015"}));
        QCOMPARE(candidates.column(4).at(4), QStringLiteral("<null>"));
    }
};

QTEST_MAIN(TestPatientLists)
#include "tst_patient_lists.moc"
