// The patient list's dataset on the benchmark database, against the bare SQLite loop
// over the same statement on a connection opened with the same settings.
#include "bench_list.h"
#include "bench_table.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "core/db/PgEngine.h"
#include "core/db/PgInstall.h"
#include "core/db/SqlCipherEngine.h"
#include "toolkit/DBGrid.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>

namespace dv::bench {

double median(std::vector<double> v);

namespace {

const char* kPassword = "5316428850";
const char* kListSql = "select * from paciente order by paciente_nome";

double timeMs(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// The list's columns with the picture as its length, for the server's loop.
const char* kNoBlobSql =
    "select paciente_id, paciente_nome, paciente_profissao, paciente_rg, paciente_cpf, paciente_endereco, "
    "paciente_numero, paciente_complemento, paciente_bairro, paciente_cidade, paciente_cep, uf_id, "
    "paciente_ativo, "
    "paciente_fone, paciente_fone_comercial, paciente_celular, paciente_data_nascimento, paciente_email, "
    "paciente_anotacao, paciente_sexo, paciente_data_cadastro, paciente_orgao, paciente_matricula, "
    "paciente_num_dependentes, paciente_titular, paciente_registro, convenio_id, length(paciente_foto) "
    "from paciente order by paciente_nome";

// The floor on the server: libpq reading the same rows and touching every value.
double bareServerLoop(const QString& url) {
    PGconn* c = PQconnectdb(url.toUtf8().constData());
    QByteArray sql(kNoBlobSql);
    sql.replace("length(", "octet_length(");
    QElapsedTimer t;
    t.start();
    PGresult* r = PQexec(c, sql.constData());
    volatile qint64 sink = 0;
    for (int row = 0; row < PQntuples(r); ++row)
        for (int col = 0; col < PQnfields(r); ++col)
            sink = sink + *PQgetvalue(r, row, col);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    PQclear(r);
    PQfinish(c);
    return ms;
}

// Copies the patients into the server database, once: the list reads nothing else.
void prepareServer(const QString& file, const QString& url) {
    dv::SqlCipherEngine source(file, QString::fromLatin1(kPassword));
    dv::PgEngine target(url);
    auto count = [](dv::Connection& c) {
        auto cur = c.query(QStringLiteral("select count(*) from paciente"));
        return cur->next() ? cur->integer(0) : -1;
    };
    if (target.tableNames().contains(QStringLiteral("paciente"))) {
        if (count(target) == count(source)) return;
        throw dv::PlainError(QStringLiteral("%1 holds other patients; give an empty database").arg(url));
    }
    std::printf("copying the patients to the server (once)...\n");
    dv::Transaction t(target);
    QFile prelude(QStringLiteral(DV_SCHEMA_SQL_DIR "/../postgresql/00_prelude.sql"));
    if (!prelude.open(QIODevice::ReadOnly))
        throw dv::PlainError(prelude.fileName() + QStringLiteral(": cannot read"));
    target.executeScript(QString::fromUtf8(prelude.readAll()));
    auto ddl = source.query(QStringLiteral("select sql from sqlite_master where name = 'paciente'"));
    ddl->next();
    target.execute(QString::fromUtf8(ddl->utf8(0)));
    dv::copyTableRows(source, target, QStringLiteral("paciente"), {QStringLiteral("paciente_foto")});
    target.execute(QStringLiteral("CREATE INDEX ix_paciente_nome ON paciente (paciente_nome)"));
    t.commit();
    target.execute(QStringLiteral("analyze paciente"));
}

struct ListFigures {
    std::vector<double> bare, open, query, firstSort, shown, sortOther, search, filter;
    std::vector<double> bareCpu, openCpu; // the process's CPU time, every thread
    size_t memory = 0;
    qint64 rows = 0;
};

// The list's dataset, its data source and the program's grid, as the screen holds them.
struct ListView {
    explicit ListView(dv::Connection& conn)
        : ds(&conn, QStringLiteral("SQL_Consulta")), source(&ds, QStringLiteral("dsConsulta")) {
        ds.setSql(QString::fromLatin1(kListSql));
        grid.resize(1200, 800);
        grid.setDataSource(&source);
    }
    // Query, first sort, grid shown; each step's milliseconds kept.
    void open() {
        QElapsedTimer t;
        t.start();
        ds.open();
        steps[0] = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        ds.setSort(QStringLiteral("paciente_nome ASC"));
        steps[1] = double(t.nsecsElapsed()) / 1e6;
        t.restart();
        grid.show();
        QApplication::processEvents();
        steps[2] = double(t.nsecsElapsed()) / 1e6;
    }
    double steps[3] = {0, 0, 0};
    dv::Dataset ds;
    dv::DataSource source;
    dv::DBGrid grid;
};

// The list as the screen opens it, then a sort by another column, prefix searches
// of typed keys and a criteria filter.
void measureList(dv::Connection& conn, ListFigures& f) {
    ListView view(conn);
    const double cpu = processCpuMs();
    f.open.push_back(timeMs([&] { view.open(); }));
    f.openCpu.push_back(processCpuMs() - cpu);
    f.query.push_back(view.steps[0]);
    f.firstSort.push_back(view.steps[1]);
    f.shown.push_back(view.steps[2]);
    dv::Dataset& ds = view.ds;
    f.memory = ds.memoryBytes();
    f.rows = ds.recordCount();
    f.sortOther.push_back(timeMs([&] { ds.setSort(QStringLiteral("paciente_cidade ASC")); }));
    ds.setSort(QStringLiteral("paciente_nome ASC"));
    const QStringList keys{QStringLiteral("M"),      QStringLiteral("Ma"),    QStringLiteral("Mar"),
                           QStringLiteral("Mari"),   QStringLiteral("Maria"), QStringLiteral("Maria "),
                           QStringLiteral("Maria d")};
    const double keysMs = timeMs([&] {
        for (const QString& k : keys)
            ds.seekPrefix(QStringLiteral("paciente_nome"), k);
    });
    f.search.push_back(keysMs / keys.size());
    f.filter.push_back(timeMs([&] {
        ds.setCriteria(dv::Criteria{{QStringLiteral("paciente_nome"), QStringLiteral("silva or souza")}});
    }));
    ds.clearCriteria();
}

} // namespace

int patientList(const QString& file, int runs, const QString& server) {
    if (!server.isEmpty()) prepareServer(file, server);
    ListFigures embedded, remote;
    LoopResult b;
    const QString key = QString::fromLatin1(kPassword);
    // Both sides on a fresh connection opened as the program opens it (key, page cache,
    // pragmas): the engine's page cache cold, the file in the OS cache for both.
    const auto fair = [&] {
        dv::SqlCipherEngine conn(file, key);
        const QByteArray sql =
            datasetSelect(conn, QStringLiteral("paciente"), QStringLiteral("paciente_nome"));
        const double cpu = processCpuMs();
        b = bareLoop(conn.handle(), sql);
        embedded.bareCpu.push_back(processCpuMs() - cpu);
        embedded.bare.push_back(b.ms);
    };
    const auto measured = [&] {
        dv::SqlCipherEngine conn(file, key);
        measureList(conn, embedded);
    };
    for (int run = 0; run < runs; ++run) {
        // Alternating which goes first, so the load of the machine hits both alike.
        if (run % 2 == 0) {
            fair();
            measured();
        } else {
            measured();
            fair();
        }
        if (!server.isEmpty()) {
            remote.bare.push_back(bareServerLoop(server));
            dv::PgEngine conn(server);
            measureList(conn, remote);
        }
    }
    const double ratio = medianRatio(embedded.open, embedded.bare);
    std::printf("patient list over %lld rows (medians of %d runs; fresh connections, page cache cold, "
                "file in the OS cache)\n",
                b.rows, runs);
    std::printf("  bare loop, same statement and settings %8.1f ms\n", median(embedded.bare));
    std::printf("  open + first sort + grid shown         %8.1f ms   ratio %.2f (per run %s)\n",
                median(embedded.open), ratio, qPrintable(perRunRatios(embedded.open, embedded.bare)));
    std::printf("    of which query and rows read         %8.1f ms\n", median(embedded.query));
    std::printf("    first sort                           %8.1f ms\n", median(embedded.firstSort));
    std::printf("    grid shown                           %8.1f ms\n", median(embedded.shown));
    std::printf("  processor time, all threads: open %.1f ms, bare loop %.1f ms, ratio %.2f\n",
                median(embedded.openCpu), median(embedded.bareCpu),
                medianRatio(embedded.openCpu, embedded.bareCpu));
    std::printf("  sort by another column                 %8.1f ms\n", median(embedded.sortOther));
    std::printf("  prefix search, per key                 %8.3f ms\n", median(embedded.search));
    std::printf("  criteria filter                        %8.1f ms\n", median(embedded.filter));
    addFigure({QStringLiteral("list open / bare loop (dataset, cold)"), ratio, QStringLiteral("x"), 1.15,
               QStringLiteral("%1 vs %2 ms; per run %3")
                   .arg(median(embedded.open), 0, 'f', 1)
                   .arg(median(embedded.bare), 0, 'f', 1)
                   .arg(perRunRatios(embedded.open, embedded.bare))});
    addFigure({QStringLiteral("list open CPU, all threads / bare loop CPU"),
               medianRatio(embedded.openCpu, embedded.bareCpu), QStringLiteral("x"), -1,
               QStringLiteral("%1 vs %2 ms; rows stored on a second thread")
                   .arg(median(embedded.openCpu), 0, 'f', 1)
                   .arg(median(embedded.bareCpu), 0, 'f', 1)});
    addFigure({QStringLiteral("list sort by another column (dataset)"), median(embedded.sortOther),
               QStringLiteral("ms"), 100, runsNote(embedded.sortOther)});
    addFigure({QStringLiteral("list prefix search per key (dataset)"), median(embedded.search),
               QStringLiteral("ms"), -1, QStringLiteral("without key events")});
    addFigure({QStringLiteral("list criteria filter (dataset)"), median(embedded.filter),
               QStringLiteral("ms"), 200, runsNote(embedded.filter)});
    if (server.isEmpty()) return 0;
    std::printf("\nboth engines side by side (%lld rows; the server's copy has no pictures)\n", remote.rows);
    std::printf("                                  embedded      server\n");
    const auto row = [](const char* what, double a, double s, const char* unit) {
        std::printf("  %-30s %9.3f %11.3f %s\n", what, a, s, unit);
    };
    row("bare loop of the engine's C API", median(embedded.bare), median(remote.bare), "ms");
    row("open + first sort + grid shown", median(embedded.open), median(remote.open), "ms");
    row("  ratio to its bare loop", ratio, medianRatio(remote.open, remote.bare), "");
    row("sort by another column", median(embedded.sortOther), median(remote.sortOther), "ms");
    row("prefix search, per key", median(embedded.search), median(remote.search), "ms");
    row("criteria filter", median(embedded.filter), median(remote.filter), "ms");
    row("dataset memory", embedded.memory / 1e6, remote.memory / 1e6, "MB");
    addFigure({QStringLiteral("server list open / its bare libpq loop"),
               medianRatio(remote.open, remote.bare), QStringLiteral("x"), -1,
               perRunRatios(remote.open, remote.bare)});
    return 0;
}

int patientListMemory(const QString& file) {
    const QString key = QString::fromLatin1(kPassword);
    size_t datasetBytes = 0;
    int cacheBytes = 0;
    long before = 0, after = 0;
    qint64 rows = 0;
    {
        dv::SqlCipherEngine conn(file, key);
        before = residentKb();
        ListView view(conn);
        view.open();
        after = residentKb();
        datasetBytes = view.ds.memoryBytes();
        rows = view.ds.recordCount();
        int high = 0;
        sqlite3_db_status(conn.handle(), SQLITE_DBSTATUS_CACHE_USED, &cacheBytes, &high, 0);
    }
    const long peak = peakResidentKb();
    // Counted afterwards, on its own connection, so that it adds nothing to the figures above.
    dv::SqlCipherEngine conn(file, key);
    const LoopResult raw = bareLoop(
        conn.handle(), datasetSelect(conn, QStringLiteral("paciente"), QStringLiteral("paciente_nome")));
    const double kept = double(datasetBytes) + cacheBytes;
    std::printf("patient list memory in a fresh process, %lld rows\n", rows);
    std::printf("  raw non-blob bytes        %8.1f MB\n", raw.rawBytes / 1e6);
    std::printf("  dataset rows              %8.1f MB\n", datasetBytes / 1e6);
    std::printf("  engine page cache         %8.1f MB\n", cacheBytes / 1e6);
    std::printf("  resident before / after   %8.1f / %.1f MB (grew %.1f MB), peak %.1f MB\n", before / 1e3,
                after / 1e3, (after - before) / 1e3, peak / 1e3);
    addFigure({QStringLiteral("list memory (rows + page cache) / raw bytes"), kept / double(raw.rawBytes),
               QStringLiteral("x"), 1.5,
               QStringLiteral("rows %1 MB + page cache %2 MB; raw %3 MB")
                   .arg(datasetBytes / 1e6, 0, 'f', 1)
                   .arg(cacheBytes / 1e6, 0, 'f', 1)
                   .arg(raw.rawBytes / 1e6, 0, 'f', 1)});
    addFigure({QStringLiteral("list memory: resident growth / raw bytes"),
               double(after - before) * 1e3 / double(raw.rawBytes), QStringLiteral("x"), -1,
               QStringLiteral("RSS %1 -> %2 MB, peak %3 MB")
                   .arg(before / 1e3, 0, 'f', 1)
                   .arg(after / 1e3, 0, 'f', 1)
                   .arg(peak / 1e3, 0, 'f', 1)});
    return 0;
}

} // namespace dv::bench
