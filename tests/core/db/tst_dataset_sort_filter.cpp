// Client-side sort, filter, criteria, locate, incremental search and sums.
#include "DatasetTestDb.h"
#include "ErrorOf.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetCollation.h"
#include "core/db/DbErrors.h"
#include <QRandomGenerator>
#include <QtTest>
#include <numeric>

using namespace dv;
using dv::test::DatasetTestDb;
using dv::test::errorOf;

namespace {

QStringList column(Dataset& ds, const QString& field) {
    QStringList out;
    Field* f = ds.fieldByName(field);
    for (int i = 0; i < ds.recordCount(); ++i)
        out << ds.displayText(i, f);
    return out;
}

} // namespace

class TestDatasetSortFilter : public QObject {
    Q_OBJECT

    std::unique_ptr<DatasetTestDb> m_db;
    std::unique_ptr<Dataset> m_ds;

    // Rows in this insertion order (ids 1..8).
    Dataset& open() {
        m_ds = std::make_unique<Dataset>(m_db->connection(), QStringLiteral("SQL_Paciente"));
        m_ds->setSql("select * from paciente");
        m_ds->open();
        return *m_ds;
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void init() {
        m_db = std::make_unique<DatasetTestDb>();
        struct Row {
            const char* name;
            const char* birth;
            qint64 saldo;
            int deps;
            const char* note;
        };
        const Row rows[] = {
            {"Eduardo", "1990-05-01 00:00:00", 150000, 2, "alérgico a penicilina"},
            {"Érica", "1985-12-24 00:00:00", -2500, 0, nullptr},
            {"ana", "2001-01-10 00:00:00", 0, 10, "Maria José indicou"},
            {"Álvaro", nullptr, 99999, 1, ""},
            {"Beatriz", "1985-12-24 13:00:00", 50, 3, "joão e maria"},
            {"Ana", "1979-07-07 00:00:00", 100000, 1, "mariana"},
            {nullptr, "2010-02-02 00:00:00", 7, 9, "sem nome"},
            {"Zé", "1990-05-01 00:00:00", 150000, 2, "Maria"},
        };
        for (const Row& r : rows)
            m_db->connection()->execute(
                "insert into paciente (paciente_nome, paciente_data_nascimento, paciente_saldo,"
                " paciente_num_dependentes, paciente_anotacao, convenio_id) values (:n, :d, :s, :k, :a, 1)",
                {{"n", ParamType::String, r.name ? QVariant(QString::fromUtf8(r.name)) : QVariant()},
                 {"d", ParamType::String, r.birth ? QVariant(QString::fromLatin1(r.birth)) : QVariant()},
                 {"s", ParamType::Currency, QVariant::fromValue(Currency::fromRaw(r.saldo))},
                 {"k", ParamType::Integer, r.deps},
                 {"a", ParamType::String, r.note ? QVariant(QString::fromUtf8(r.note)) : QVariant()}});
    }
    void cleanup() {
        m_ds.reset();
        m_db.reset();
    }

    void sortOrders_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("expectedIds");
        // Text: accents and case do not separate letters; equal names keep the query's order.
        QTest::newRow("text asc") << "paciente_nome ASC"
                                  << "7 4 3 6 5 1 2 8";
        QTest::newRow("text desc") << "paciente_nome DESC"
                                   << "8 2 1 5 3 6 4 7";
        QTest::newRow("no direction") << "paciente_nome"
                                      << "7 4 3 6 5 1 2 8";
        QTest::newRow("money by value") << "paciente_saldo ASC"
                                        << "2 3 7 5 4 6 1 8";
        QTest::newRow("date by value, nulls first") << "paciente_data_nascimento"
                                                    << "4 6 2 5 1 8 3 7";
        QTest::newRow("integer desc, stable") << "paciente_num_dependentes DESC"
                                              << "3 7 5 1 8 4 6 2";
        QTest::newRow("two keys") << "paciente_saldo DESC, paciente_nome DESC"
                                  << "8 1 6 4 5 7 3 2";
        QTest::newRow("query order") << ""
                                     << "1 2 3 4 5 6 7 8";
    }
    void sortOrders() {
        QFETCH(QString, sort);
        QFETCH(QString, expectedIds);
        Dataset& ds = open();
        ds.setSort(sort);
        QCOMPARE(ds.sort(), sort);
        QCOMPARE(column(ds, "paciente_id").join(' '), expectedIds);
    }

    void sortKeepsTheCurrentRowAndRejectsWhatCannotSort() {
        Dataset& ds = open();
        QVERIFY(ds.locate("paciente_nome", "Beatriz"));
        ds.setSort("paciente_nome");
        QCOMPARE(ds.fieldByName("paciente_nome")->asString(), QString("Beatriz"));
        QCOMPARE(ds.recNo(), 5);
        QCOMPARE(errorOf([&] { ds.setSort("paciente_foto"); }),
                 QString("Field 'paciente_foto' cannot be used for sorting"));
        QCOMPARE(errorOf([&] { ds.setSort("paciente_nome UP"); }),
                 QString("Sort order not supported: 'paciente_nome UP'"));
        QCOMPARE(errorOf([&] { ds.setSort("xyz"); }), QString("Field 'xyz' not found"));
        QCOMPARE(ds.sort(), QString("paciente_nome"));
        // A sort set before opening applies when the dataset opens.
        ds.close();
        ds.open();
        QCOMPARE(ds.displayText(0, ds.fieldByName("paciente_id")), QString("7"));
    }

    // The short cut of text sorting must agree with the collator on any text.
    void textOrderAgreesWithTheCollator() {
        const QString alphabet = QString::fromUtf8("aAáÁàâãÃbcçÇdeéÉêfgiíoóôõÕuúüÜnñzZ 09-'.ªº");
        QRandomGenerator rng(2024);
        QStringList words;
        for (int i = 0; i < 400; ++i) {
            QString w;
            const int len = int(rng.bounded(0, 9));
            for (int k = 0; k < len; ++k)
                w += alphabet[int(rng.bounded(alphabet.size()))];
            words << w;
        }
        words << "Ana"
              << "Álvaro"
              << "Beatriz"
              << "Érica"
              << "Eduardo"
              << "ana"
              << "ANA"
              << "Ána";
        // Repeats in other case and accents, and names the collator calls equal, so that
        // ties must keep the query's order both ways.
        for (const QString& w : QStringList(words.mid(0, 120)))
            words << w.toUpper() << w;
        words << QString() << ""
              << "  "
              << "Ana";
        auto check = [&](const QStringList& names) {
            Connection* c = m_db->connection();
            {
                Transaction t(*c);
                c->execute("delete from paciente");
                for (const QString& w : names)
                    c->execute("insert into paciente (paciente_nome) values (:n)",
                               {{"n", ParamType::String, w.isNull() ? QVariant() : QVariant(w)}});
                t.commit();
            }
            Dataset& ds = open();
            const QStringList ids = column(ds, "paciente_id");
            // The collator's own stable order over the query order, nulls first.
            QCollator& collator = DatasetCollation::collator();
            for (const bool descending : {false, true}) {
                QList<int> expected(names.size());
                std::iota(expected.begin(), expected.end(), 0);
                std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                    const QString &x = names[a], &y = names[b];
                    const int order = x.isNull() || y.isNull() ? int(!x.isNull()) - int(!y.isNull())
                                                               : collator.compare(x, y);
                    return descending ? order > 0 : order < 0;
                });
                QStringList expectedIds;
                for (int i : expected)
                    expectedIds << ids[i];
                ds.setSort(descending ? "paciente_nome DESC" : "paciente_nome");
                QCOMPARE(column(ds, "paciente_id"), expectedIds);
            }
        };
        // Mostly distinct names, then a column of a few values repeated (cities).
        check(words);
        if (QTest::currentTestFailed()) return;
        QStringList few;
        for (int k = 0; k < 4; ++k)
            few += words.mid(0, 60);
        check(few);
        if (QTest::currentTestFailed()) return;
        // Rows that come nearly in order (a query ordered by the name's bytes) or
        // already in the collator's order take the merge of the few out of place.
        QStringList names;
        for (const char* first : {"Ana", "Álvaro", "André", "Antônio", "ana", "Beatriz", "Cecília", "Cláudio",
                                  "José", "Josefa", "JOSÉ", "João", "Joana", "Júlia", "Maria", "Mário"})
            for (const char* last : {"da Silva", "Souza", "Simões", "Araújo", "Conceição", "de Andrade", "Dias"})
                names << QString::fromUtf8(first) + QLatin1Char(' ') + QString::fromUtf8(last);
        names << names.mid(0, 30);
        QStringList bytewise = names;
        std::stable_sort(bytewise.begin(), bytewise.end(), [](const QString& a, const QString& b) {
            return a.toUtf8().toLower() < b.toUtf8().toLower();
        });
        check(bytewise);
        if (QTest::currentTestFailed()) return;
        QStringList collated = words + names;
        std::stable_sort(collated.begin(), collated.end(), [](const QString& a, const QString& b) {
            return a.isNull() != b.isNull() ? a.isNull() : DatasetCollation::collator().compare(a, b) < 0;
        });
        check(collated);
        if (QTest::currentTestFailed()) return;
        // A long list, whose keys are made in two halves at once.
        QStringList many;
        for (int i = 0; many.size() < 21000; ++i)
            many << collated[i % collated.size()] + QStringLiteral(" %1").arg(i % 13);
        check(many);
    }

    void filterText_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expectedIds");
        QTest::newRow("text, any case") << "paciente_nome = 'ANA'"
                                        << "3 6";
        QTest::newRow("quote inside") << "paciente_nome = 'D''Ávila'"
                                      << "";
        QTest::newRow("number") << "paciente_num_dependentes = 2"
                                << "1 8";
        QTest::newRow("and") << "paciente_num_dependentes = 2 AND paciente_nome = 'Zé'"
                             << "8";
        QTest::newRow("not equal keeps nulls") << "paciente_nome <> 'ana'"
                                               << "1 2 4 5 7 8";
        QTest::newRow("money") << "paciente_saldo >= 10"
                               << "1 6 8";
        QTest::newRow("date, day first") << "paciente_data_nascimento = '24/12/1985'"
                                         << "2";
        QTest::newRow("date, month first") << "paciente_data_nascimento < #12/24/1985#"
                                           << "6";
    }
    void filterText() {
        QFETCH(QString, filter);
        QFETCH(QString, expectedIds);
        Dataset& ds = open();
        ds.setFilter(filter);
        QCOMPARE(ds.recordCount(), 8); // not before Filtered
        ds.setFiltered(true);
        QCOMPARE(column(ds, "paciente_id").join(' '), expectedIds);
        ds.setFiltered(false);
        QCOMPARE(ds.recordCount(), 8);
    }

    void badFiltersAreRefused_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("error");
        QTest::newRow("or")
            << "paciente_nome = 'a' or paciente_nome = 'b'"
            << "Filter expression not supported: 'paciente_nome = 'a' or paciente_nome = 'b''. "
               "Use column = 'value', optionally joined with and";
        QTest::newRow("like") << "paciente_nome like 'a%'"
                              << "Filter expression not supported: 'paciente_nome like 'a%''. "
                                 "Use column = 'value', optionally joined with and";
        QTest::newRow("unclosed") << "paciente_nome = 'a"
                                  << "Filter expression not supported: 'paciente_nome = 'a'. "
                                     "Use column = 'value', optionally joined with and";
        QTest::newRow("unknown field") << "nome = 'a'"
                                       << "Field 'nome' not found";
        QTest::newRow("not a number")
            << "paciente_num_dependentes = 'x'"
            << "'x' não é um número inteiro válido para o campo 'paciente_num_dependentes'";
    }
    void badFiltersAreRefused() {
        QFETCH(QString, filter);
        QFETCH(QString, error);
        Dataset& ds = open();
        ds.setFiltered(true);
        QCOMPARE(errorOf([&] { ds.setFilter(filter); }), error);
        QCOMPARE(ds.recordCount(), 8);
        QVERIFY(ds.filter().isEmpty());
    }

    void criteria_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedIds");
        QTest::newRow("substring, any case") << "paciente_anotacao"
                                             << "MARIA"
                                             << "3 5 6 8";
        QTest::newRow("accents as typed") << "paciente_anotacao"
                                          << "joão"
                                          << "5";
        QTest::newRow("accent missing") << "paciente_anotacao"
                                        << "joao"
                                        << "";
        QTest::newRow("or") << "paciente_anotacao"
                            << "penicilina or sem"
                            << "1 7";
        QTest::newRow("and") << "paciente_anotacao"
                             << "maria and josé"
                             << "3";
        QTest::newRow("phrase") << "paciente_anotacao"
                                << "e maria"
                                << "5";
        QTest::newRow("null") << "paciente_anotacao"
                              << "null"
                              << "2 4";
        QTest::newRow("null or word") << "paciente_nome"
                                      << "null or zé"
                                      << "7 8";
        QTest::newRow("wildcard") << "paciente_anotacao"
                                  << "ma%ia"
                                  << "3 5 6 8";
        QTest::newRow("wildcard order") << "paciente_anotacao"
                                        << "indicou%maria"
                                        << "";
        QTest::newRow("date by value") << "paciente_data_nascimento"
                                       << "24/12/1985"
                                       << "2 5";
        QTest::newRow("date short form") << "paciente_data_nascimento"
                                         << "1/5/90"
                                         << "1 8";
        QTest::newRow("date as text") << "paciente_data_nascimento"
                                      << "1985"
                                      << "2 5";
        QTest::newRow("money with comma") << "paciente_saldo"
                                          << "9,9999"
                                          << "4";
        QTest::newRow("money negative") << "paciente_saldo"
                                        << "-0,25"
                                        << "2";
        QTest::newRow("integer") << "paciente_num_dependentes"
                                 << "10"
                                 << "3";
        QTest::newRow("integer or") << "paciente_num_dependentes"
                                    << "0 or 9"
                                    << "2 7";
    }
    void criteria() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, expectedIds);
        Dataset& ds = open();
        ds.setCriteria(Criteria{{field, text}});
        QCOMPARE(column(ds, "paciente_id").join(' '), expectedIds);
        ds.clearCriteria();
        QCOMPARE(ds.recordCount(), 8);
    }

    void criteriaCombineWithTheFilterAndEachOther() {
        Dataset& ds = open();
        ds.setSort("paciente_nome");
        ds.setFilter("paciente_num_dependentes = 1");
        ds.setFiltered(true);
        QCOMPARE(column(ds, "paciente_id").join(' '), QString("4 6"));
        ds.setCriteria(Criteria{{"paciente_anotacao", "null or maria"}}, "filter");
        QCOMPARE(column(ds, "paciente_id").join(' '), QString("4 6"));
        ds.setCriteria(Criteria{{"paciente_nome", "an"}}, "locate");
        QCOMPARE(column(ds, "paciente_id").join(' '), QString("6"));
        ds.clearCriteria("locate");
        QCOMPARE(column(ds, "paciente_id").join(' '), QString("4 6"));
        // Filter and criteria survive closing and opening.
        ds.close();
        ds.open();
        QCOMPARE(column(ds, "paciente_id").join(' '), QString("4 6"));
        QCOMPARE(errorOf([&] {
                     ds.setCriteria(Criteria{{"nada", "x"}});
                 }),
                 QString("Field 'nada' not found"));
    }

    void locate() {
        Dataset& ds = open();
        QVERIFY(ds.locate("PACIENTE_NOME", "Zé"));
        QCOMPARE(ds.recNo(), 8);
        QVERIFY(!ds.locate("paciente_nome", "zé"));
        QCOMPARE(ds.recNo(), 8); // not found: no move
        QVERIFY(ds.locate("paciente_nome", "zé", LocateOption::CaseInsensitive));
        QVERIFY(ds.locate("paciente_nome", "ANA", LocateOption::CaseInsensitive));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 3);
        QVERIFY(ds.locate("paciente_nome", "Be", LocateOption::PartialKey));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 5);
        QVERIFY(!ds.locate("paciente_nome", "be", LocateOption::PartialKey));
        QVERIFY(ds.locate("paciente_nome", "be", LocateOption::PartialKey | LocateOption::CaseInsensitive));
        // Two columns, values given in any type the field reads.
        QVERIFY(ds.locate("paciente_saldo;paciente_num_dependentes", {"15,00", "2"}));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 1);
        QVERIFY(ds.locate("paciente_data_nascimento;paciente_saldo", {QDate(1990, 5, 1), 15}));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 1);
        QVERIFY(ds.locate("paciente_nome", QVariant()));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 7);
        // The first row in the current order wins.
        ds.setSort("paciente_nome DESC");
        QVERIFY(ds.locate("paciente_num_dependentes", 2));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 8);
        // The same row again from the index the second look-up builds (the first walks).
        ds.first();
        QVERIFY(ds.locate("paciente_num_dependentes", 2));
        QCOMPARE(ds.fieldByName("paciente_id")->asInteger(), 8);
        QCOMPARE(errorOf([&] { ds.locate("paciente_nome;paciente_id", {"Ana"}); }),
                 QString("Locate on 'paciente_nome;paciente_id' needs 2 values"));
        QCOMPARE(ds.lookup("paciente_id", {6}, "paciente_nome").toString(), QString("Ana"));
        QVERIFY(!ds.lookup("paciente_id", {60}, "paciente_nome").isValid());
    }

    void incrementalSearch_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expectedId"); // 0: not found, no move
        const QString name = "paciente_nome";
        QTest::newRow("binary, accent-insensitive") << name << name << "al" << 4;
        QTest::newRow("binary, accent typed") << name << name << "ÁLV" << 4;
        QTest::newRow("binary, first of equals") << name << name << "ana" << 3;
        QTest::newRow("binary, e") << name << name << "É" << 1;
        QTest::newRow("binary, none") << name << name << "Bz" << 0;
        QTest::newRow("binary, past the end") << name << name << "zz" << 0;
        QTest::newRow("scan, other sort") << "paciente_id DESC" << name << "a" << 6;
        QTest::newRow("scan, number") << "paciente_num_dependentes"
                                      << "paciente_num_dependentes"
                                      << "1" << 4;
    }
    void incrementalSearch() {
        QFETCH(QString, sort);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(int, expectedId);
        Dataset& ds = open();
        ds.setSort(sort);
        ds.last();
        Field* id = ds.fieldByName("paciente_id");
        const int before = id->asInteger();
        QCOMPARE(ds.seekPrefix(field, typed), expectedId != 0);
        QCOMPARE(id->asInteger(), expectedId ? expectedId : before);
    }

    void exactCurrencySums() {
        Dataset& ds = open();
        QCOMPARE(ds.sumCurrency("paciente_saldo").value(),
                 Currency::fromRaw(150000 - 2500 + 99999 + 50 + 100000 + 7 + 150000));
        ds.setCriteria(Criteria{{"paciente_num_dependentes", "2"}});
        QCOMPARE(ds.sumCurrency("paciente_saldo").value(), Currency::fromRaw(300000));
        ds.setCriteria(Criteria{{"paciente_nome", "ninguém"}});
        QVERIFY(!ds.sumCurrency("paciente_saldo").has_value());
        ds.clearCriteria();
        // Many small amounts add up exactly.
        ds.first();
        ds.edit();
        ds.fieldByName("paciente_saldo")->setAsString("0,1");
        QCOMPARE(ds.sumCurrency("paciente_saldo").value(),
                 Currency::fromRaw(1000 - 2500 + 99999 + 50 + 100000 + 7 + 150000));
        ds.cancel();
        QCOMPARE(ds.sumCurrency("paciente_num_dependentes").value(), Currency::fromUnits(28));
        QCOMPARE(errorOf([&] { ds.sumCurrency("paciente_nome"); }),
                 QString("Field 'paciente_nome' cannot be summed"));
    }
};

QTEST_GUILESS_MAIN(TestDatasetSortFilter)
#include "tst_dataset_sort_filter.moc"
