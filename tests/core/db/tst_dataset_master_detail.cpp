// A detail dataset following its master through a data source.
#include "DatasetTestDb.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QSignalSpy>
#include <QtTest>

using namespace dv;
using dv::test::DatasetTestDb;

class TestDatasetMasterDetail : public QObject {
    Q_OBJECT

    std::unique_ptr<DatasetTestDb> m_db;
    std::unique_ptr<Dataset> m_master, m_detail;
    std::unique_ptr<DataSource> m_ds;
    int m_detailQueries = 0;

    QStringList detailValues() {
        QStringList out;
        if (!m_detail->isActive()) return {"closed"};
        Field* f = m_detail->fieldByName("consulta_valor");
        for (int i = 0; i < m_detail->recordCount(); ++i)
            out << m_detail->displayText(i, f);
        return out;
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_db = std::make_unique<DatasetTestDb>();
        const qint64 ana = m_db->addPatient("Ana"), bia = m_db->addPatient("Bia");
        m_db->addPatient("Caio");
        for (auto [p, v] : {std::pair{ana, 1000000}, {ana, 2500000}, {bia, 700000}})
            m_db->connection()->execute(
                "insert into consulta (paciente_id, consulta_valor) values (:p, :v)",
                {{"p", ParamType::Integer, p},
                 {"v", ParamType::Currency, QVariant::fromValue(Currency::fromRaw(v))}});
        m_master = std::make_unique<Dataset>(m_db->connection(), "SQL_Paciente");
        m_master->sql() = {"select * from paciente", "order by paciente_nome"};
        m_ds = std::make_unique<DataSource>(m_master.get(), "dsPaciente");
        m_detail = std::make_unique<Dataset>(m_db->connection(), "SQL_Consulta");
        m_detail->sql() = {"select * from consulta", "where paciente_id = :PACIENTE_ID",
                           "order by consulta_id"};
        m_detail->setMasterSource(m_ds.get());
        m_detailQueries = 0;
        m_detail->AfterScroll = [this](Dataset&) { ++m_detailQueries; };
        m_master->open();
        m_detail->open();
    }
    void cleanup() {
        m_detail.reset();
        m_ds.reset();
        m_master.reset();
        m_db.reset();
    }

    void followsTheMastersRow() {
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00"}));
        m_master->next();
        QCOMPARE(detailValues(), QStringList{"70,00"});
        QCOMPARE(m_detail->param("paciente_id").value.toInt(), 2);
        m_master->next();
        QCOMPARE(detailValues(), QStringList());
        m_master->first();
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00"}));
        QVERIFY(m_master->locate("paciente_nome", "Bia"));
        QCOMPARE(detailValues(), QStringList{"70,00"});
        // Sorting the master without changing its row does not re-query.
        const int queries = m_detailQueries;
        m_master->setSort("paciente_nome DESC");
        QCOMPARE(m_detailQueries, queries);
    }

    void appendedRowsGetTheMastersKey() {
        m_master->next(); // Bia
        m_detail->append();
        QCOMPARE(m_detail->fieldByName("paciente_id")->asInteger(), 2);
        m_detail->fieldByName("consulta_valor")->setAsString("5,5");
        m_detail->post();
        QCOMPARE(m_db->scalar("select count(*) from consulta where paciente_id = 2").toInt(), 2);
        // A new master row has no key until posted: its detail is empty and follows the post.
        m_master->append();
        QCOMPARE(detailValues(), QStringList());
        m_master->fieldByName("paciente_nome")->setAsString("Duda");
        m_master->post();
        const int duda = m_master->fieldByName("paciente_id")->asInteger();
        QCOMPARE(m_detail->param("paciente_id").value.toInt(), duda);
        m_detail->append();
        QCOMPARE(m_detail->fieldByName("paciente_id")->asInteger(), duda);
        m_detail->post();
        QCOMPARE(detailValues(), QStringList{""});
    }

    void pendingDetailChangesArePostedBeforeFollowing() {
        m_detail->edit();
        m_detail->fieldByName("consulta_valor")->setAsString("1");
        m_master->next();
        QCOMPARE(m_detail->state(), DatasetState::Browse);
        QCOMPARE(m_db->scalar("select consulta_valor from consulta where consulta_id = 1").toLongLong(),
                 10000);
    }

    // Posting the master leaves the values the detail is linked by alone: the detail
    // keeps its rows and its place, its own pending row posted first. Another master
    // row re-queries from the first row.
    void postedMasterKeepsTheDetailsPlace() {
        m_db->connection()->execute("insert into consulta (paciente_id, consulta_valor) values (1, :v)",
                                    {{"v", ParamType::Currency, "4,00"}});
        m_detail->refresh();
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00", "4,00"}));
        m_detail->moveTo(2);
        m_detail->edit();
        m_detail->fieldByName("consulta_valor")->setAsString("5");
        const int queries = m_detailQueries;
        m_master->edit();
        m_master->fieldByName("paciente_nome")->setAsString("Ana Maria");
        m_master->post();
        QCOMPARE(m_detail->state(), DatasetState::Browse);
        QCOMPARE(m_detail->recNo(), 3);
        QCOMPARE(m_detailQueries, queries);
        QCOMPARE(m_db->scalar("select consulta_valor from consulta where consulta_id = 4").toLongLong(),
                 50000);
        m_master->next();
        QCOMPARE(detailValues(), QStringList{"70,00"});
        m_master->prior();
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00", "5,00"}));
        QCOMPARE(m_detail->recNo(), 1);
        QCOMPARE(m_detailQueries, queries + 2);
    }

    // Closing never drops a row being inserted or edited, the detail's that would close
    // with its master included: the caller posts or cancels it first.
    void closingWithAPendingRowRaises() {
        m_detail->edit();
        m_detail->fieldByName("consulta_valor")->setAsString("3");
        for (Dataset* d : {m_detail.get(), m_master.get()}) {
            try {
                d->close();
                QFAIL("closed with a pending row");
            } catch (const DatabaseError& e) {
                QVERIFY2(e.message().contains("SQL_Consulta") && e.message().contains("post or cancel"),
                         e.what());
            }
        }
        QVERIFY(m_master->isActive());
        QCOMPARE(m_detail->state(), DatasetState::Edit);
        QCOMPARE(m_detail->fieldByName("consulta_valor")->asCurrency().raw(), 30000);
        m_detail->cancel();
        m_master->append();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_master->close());
        QCOMPARE(m_master->state(), DatasetState::Insert);
        m_master->cancel();
        m_master->close();
        QVERIFY(!m_master->isActive() && !m_detail->isActive());
    }

    void detailErrorsReachTheMastersCaller() {
        // A pending detail row that cannot be posted keeps the master where it is.
        m_detail->append();
        m_detail->fieldByName("paciente_id")->clear();
        m_detail->fieldByName("consulta_valor")->setAsString("3");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, m_master->next());
        QCOMPARE(m_master->recNo(), 1);
        QCOMPARE(m_detail->state(), DatasetState::Insert);
        m_detail->cancel();
        // A detail that cannot re-query closes; the master's move stands and the error is raised.
        m_db->connection()->execute("drop table consulta");
        QVERIFY_THROWS_EXCEPTION(EngineError, m_master->next());
        QCOMPARE(m_master->recNo(), 2);
        QVERIFY(!m_detail->isActive());
    }

    void closesWithAnEmptyOrClosedMasterAndComesBack() {
        m_master->close();
        QVERIFY(!m_detail->isActive());
        m_master->open();
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00"}));
        // A master with no row left: the detail's pending row is posted, then it closes.
        m_detail->edit();
        m_detail->fieldByName("consulta_valor")->setAsString("7");
        m_master->setFilter("paciente_nome = 'ninguém'");
        m_master->setFiltered(true);
        QVERIFY(!m_detail->isActive());
        QCOMPARE(m_db->scalar("select consulta_valor from consulta where consulta_id = 1").toLongLong(),
                 70000);
        m_master->setFiltered(false);
        QCOMPARE(detailValues(), (QStringList{"7,00", "250,00"}));
        // A detail closed by the code stays closed.
        m_detail->close();
        m_master->next();
        QVERIFY(!m_detail->isActive());
    }

    void suspendedControlsSuspendTheLink() {
        QSignalSpy resets(m_ds.get(), &DataSource::datasetReset);
        QSignalSpy changes(m_ds.get(), &DataSource::dataChanged);
        m_master->disableControls();
        m_master->disableControls();
        for (m_master->first(); !m_master->eof(); m_master->next()) {
        }
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00"})); // still Ana's
        m_master->enableControls();
        QCOMPARE(changes.count(), 0);
        m_master->enableControls();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(detailValues(), QStringList()); // Caio's, the last row
    }

    void refreshOfTheMasterRequeriesTheDetail() {
        m_db->connection()->execute("insert into consulta (paciente_id, consulta_valor) values (1, :v)",
                                    {{"v", ParamType::Currency, "1,00"}});
        m_master->refresh();
        QCOMPARE(detailValues(), (QStringList{"100,00", "250,00", "1,00"}));
    }
};

QTEST_GUILESS_MAIN(TestDatasetMasterDetail)
#include "tst_dataset_master_detail.moc"
