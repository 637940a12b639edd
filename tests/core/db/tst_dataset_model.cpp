// The table model over a data source, checked by QAbstractItemModelTester while the
// dataset goes through everything a grid sees.
#include "DatasetTestDb.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetModel.h"
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

using namespace dv;
using dv::test::DatasetTestDb;

class TestDatasetModel : public QObject {
    Q_OBJECT

    std::unique_ptr<DatasetTestDb> m_db;
    std::unique_ptr<Dataset> m_ds;
    std::unique_ptr<DataSource> m_source;
    std::unique_ptr<DatasetModel> m_model;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    QString cell(int row, const QString& field, int role = Qt::DisplayRole) {
        const int c = m_model->columnOf(m_ds->fieldByName(field));
        return m_model->data(m_model->index(row, c), role).toString();
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_db = std::make_unique<DatasetTestDb>();
        m_db->addPatient("Carla", 1, "S");
        m_db->addPatient("Ana", 1, "N");
        m_db->addPatient("Bruno", 2, "S");
        m_ds = std::make_unique<Dataset>(m_db->connection(), "SQL_Paciente");
        m_ds->setSql("select * from paciente");
        m_ds->addField({.name = "paciente_nome", .displayLabel = "Nome"});
        m_ds->addField({.name = "paciente_ativo", .displayLabel = "Ativo"});
        m_ds->addField({.name = "paciente_saldo", .displayLabel = "Saldo", .displayFormat = "R$ #,##0.00"});
        m_ds->addField({.name = "paciente_foto", .displayLabel = "Foto"});
        m_source = std::make_unique<DataSource>(m_ds.get(), "dsPaciente");
        m_model = std::make_unique<DatasetModel>(m_source.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup() {
        m_tester.reset();
        m_model.reset();
        m_source.reset();
        m_ds.reset();
        m_db.reset();
    }

    void columnsAndRoles() {
        QCOMPARE(m_model->rowCount(), 0);
        QCOMPARE(m_model->columnCount(), 4); // declared fields; the others are hidden
        m_ds->open();
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(m_model->headerData(0, Qt::Horizontal).toString(), QString("Nome"));
        QCOMPARE(cell(1, "paciente_nome"), QString("Ana"));
        m_db->connection()->execute(
            "update paciente set paciente_saldo = :s, paciente_foto = x'FFD8FF'"
            " where paciente_nome = 'Ana'",
            {{"s", ParamType::Currency, QVariant::fromValue(Currency::fromRaw(12345600))}});
        m_ds->refresh();
        QCOMPARE(cell(1, "paciente_saldo"), QString("R$ 1.234,56"));
        QCOMPARE(m_model->data(m_model->index(1, 2), Qt::EditRole).value<Currency>(),
                 Currency::fromRaw(12345600));
        QVERIFY(m_model->data(m_model->index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
        // Flags as check boxes, when asked.
        QCOMPARE(cell(1, "paciente_ativo"), QString("N"));
        m_model->setCheckColumn(m_ds->fieldByName("paciente_ativo"));
        QCOMPARE(m_model->data(m_model->index(0, 1), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m_model->data(m_model->index(1, 1), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(m_model->flags(m_model->index(1, 1)) & Qt::ItemIsUserCheckable);
        QVERIFY(m_model->setData(m_model->index(1, 1), int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(m_ds->state(), DatasetState::Edit);
        QCOMPARE(m_ds->recNo(), 2);
        m_ds->post();
        QCOMPARE(m_db->scalar("select paciente_ativo from paciente where paciente_nome = 'Ana'").toString(),
                 QString("S"));
        // Pictures through the decoder the widget layer gives; no photo, no decoration.
        int decoded = 0;
        m_model->setPictureColumn(m_ds->fieldByName("paciente_foto"), [&decoded](const QByteArray& b, QSize) {
            ++decoded;
            return QVariant(b.size());
        });
        QCOMPARE(m_model->data(m_model->index(1, 3), Qt::DecorationRole).toInt(), 3);
        QCOMPARE(m_model->data(m_model->index(1, 3), Qt::DecorationRole).toInt(), 3);
        QCOMPARE(decoded, 1);
        QVERIFY(!m_model->data(m_model->index(0, 3), Qt::DecorationRole).isValid());
    }

    void followsTheDataset() {
        m_ds->open();
        QSignalSpy inserted(m_model.get(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(m_model.get(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(m_model.get(), &QAbstractItemModel::dataChanged);
        QSignalSpy reset(m_model.get(), &QAbstractItemModel::modelReset);
        m_ds->append();
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(m_model->rowCount(), 4);
        m_ds->fieldByName("paciente_nome")->setAsString("Dora");
        QVERIFY(changed.count() >= 1);
        QCOMPARE(cell(3, "paciente_nome"), QString("Dora"));
        m_ds->cancel();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(m_model->rowCount(), 3);
        m_ds->append();
        m_ds->fieldByName("paciente_nome")->setAsString("Dora");
        m_ds->post();
        QCOMPARE(m_model->rowCount(), 4);
        m_ds->setSort("paciente_nome");
        QCOMPARE(reset.count(), 1);
        QCOMPARE(cell(0, "paciente_nome"), QString("Ana"));
        m_ds->setCriteria(Criteria{{"paciente_nome", "a"}});
        QCOMPARE(m_model->rowCount(), 3);
        m_ds->clearCriteria();
        m_ds->first();
        m_ds->deleteRecord();
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(cell(0, "paciente_nome"), QString("Bruno"));
        // Changes while controls are disabled arrive as one reset.
        reset.clear();
        m_ds->disableControls();
        m_ds->append();
        m_ds->fieldByName("paciente_nome")->setAsString("Eva");
        m_ds->post();
        m_ds->first();
        m_ds->deleteRecord();
        QCOMPARE(m_model->rowCount(), 3); // not told yet
        m_ds->enableControls();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(m_model->rowCount(), 3);
        QCOMPARE(cell(2, "paciente_nome"), QString("Eva"));
        m_ds->close();
        QCOMPARE(m_model->rowCount(), 0);
    }

    void dataSourceTellsStateAndFields() {
        QSignalSpy state(m_source.get(), &DataSource::stateChanged);
        QList<Field*> fields;
        connect(m_source.get(), &DataSource::dataChanged, this, [&fields](Field* f) { fields << f; });
        m_ds->open();
        QCOMPARE(state.count(), 1);
        m_source->edit(); // what a control does before writing
        QCOMPARE(m_ds->state(), DatasetState::Edit);
        fields.clear();
        m_ds->fieldByName("paciente_nome")->setAsString("Carla Dias");
        QCOMPARE(fields, QList<Field*>{m_ds->fieldByName("paciente_nome")});
        m_ds->post();
        QCOMPARE(state.count(), 3);
        QCOMPARE(fields.last(), nullptr);
    }
};

QTEST_MAIN(TestDatasetModel)
#include "tst_dataset_model.moc"
