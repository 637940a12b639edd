// Benchmarks on generated data. Medians of several runs, offscreen.
//   dv_bench --generate FILE [--scale F] [--seed N]    make a benchmark database
//   dv_bench --patient-list FILE [--runs N] [--server URL]
//                                                        the patient list figures; with --server the
//                                                        same figures on PostgreSQL beside them (the
//                                                        patients are copied into URL's empty database
//                                                        first, pictures left out)
//   dv_bench --patient-screens FILE [--runs N]           the patient screens through the application
//   dv_bench --agenda FILE [--runs N]                    one dentist's day refreshed through the agenda
//   dv_bench --consultation-record FILE [--runs N]       a 300-item consultation record opened, chart included
//   dv_bench --installments FILE [--runs N]              120 installments generated on the record
#include "bench_agenda.h"
#include "bench_installments.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetModel.h"
#include "core/db/DbErrors.h"
#include "core/db/PgEngine.h"
#include "core/db/PgInstall.h"
#include "core/db/SqlCipherEngine.h"
#include "bench_patient_screens.h"
#include "gen_data.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <libpq-fe.h>
#include <sqlcipher/sqlite3.h>

namespace {

const char* kPassword = "5316428850";
const char* kListSql = "select * from paciente order by paciente_nome";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timeMs(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

struct BareResult {
    double ms = 0;
    qint64 rows = 0;
    qint64 rawBytes = 0; // bytes of the non-blob values
};

// The floor: a plain C loop over the same rows with sqlite3_step, reading every value.
BareResult bareLoop(const QString& file, const char* sql = kListSql) {
    BareResult r;
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_key(db, kPassword, int(strlen(kPassword)));
    sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr); // key derivation
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    const int n = sqlite3_column_count(s);
    volatile qint64 sink = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        ++r.rows;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER: sink = sink + sqlite3_column_int64(s, c); r.rawBytes += 8; break;
            case SQLITE_FLOAT: sink = sink + qint64(sqlite3_column_double(s, c)); r.rawBytes += 8; break;
            case SQLITE_TEXT: {
                const unsigned char* p = sqlite3_column_text(s, c);
                const int bytes = sqlite3_column_bytes(s, c);
                sink = sink + (bytes ? p[0] : 0);
                r.rawBytes += bytes;
                break;
            }
            case SQLITE_BLOB: sink = sink + sqlite3_column_bytes(s, c); break;
            default: break;
            }
        }
    }
    sqlite3_finalize(s);
    r.ms = double(t.nsecsElapsed()) / 1e6;
    sqlite3_close_v2(db);
    return r;
}

// The same rows without the picture column: the floor for a loader that leaves pictures out.
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
    std::vector<double> bare, open, sortOther, search, filter;
    size_t memory = 0;
    long rssDelta = 0;
    qint64 rows = 0;
};

// The list as the screen opens it: query, first sort, grid shown; then a sort by
// another column, keystrokes of the incremental search and a criteria filter.
void measureList(dv::Connection& conn, ListFigures& f) {
    const long rssBefore = rssKb();
    dv::Dataset ds(&conn, QStringLiteral("SQL_Consulta"));
    ds.setSql(QString::fromLatin1(kListSql));
    dv::DataSource source(&ds, QStringLiteral("dsConsulta"));
    dv::DatasetModel model(&source);
    QTableView grid;
    grid.resize(1200, 800);
    grid.setModel(&model);
    grid.verticalHeader()->setDefaultSectionSize(18);
    f.open.push_back(timeMs([&] {
        ds.open();
        ds.setSort(QStringLiteral("paciente_nome ASC"));
        grid.show();
        QApplication::processEvents();
    }));
    f.memory = ds.memoryBytes();
    f.rssDelta = rssKb() - rssBefore;
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

int patientList(const QString& file, int runs, const QString& server) {
    if (!server.isEmpty()) prepareServer(file, server);
    std::vector<double> bareNoBlob;
    BareResult b;
    ListFigures embedded, remote;
    for (int run = 0; run < runs; ++run) {
        b = bareLoop(file);
        embedded.bare.push_back(b.ms);
        bareNoBlob.push_back(bareLoop(file, kNoBlobSql).ms);
        {
            dv::SqlCipherEngine conn(file, QString::fromLatin1(kPassword));
            conn.query(QStringLiteral("select count(*) from sqlite_master"))->next();
            measureList(conn, embedded);
        }
        if (!server.isEmpty()) {
            remote.bare.push_back(bareServerLoop(server));
            dv::PgEngine conn(server);
            measureList(conn, remote);
        }
    }
    const double ratio = median(embedded.open) / median(embedded.bare);
    std::printf("patient list over %lld rows (medians of %d runs)\n", b.rows, runs);
    std::printf("  bare sqlite3_step loop          %8.1f ms\n", median(embedded.bare));
    std::printf("  bare loop, pictures left out    %8.1f ms\n", median(bareNoBlob));
    std::printf(
        "  open + first sort + grid shown  %8.1f ms   ratio %.2f to select *, %.2f to the loop without "
        "pictures (target <= 1.30)\n",
        median(embedded.open), ratio, median(embedded.open) / median(bareNoBlob));
    std::printf("  sort by another column          %8.1f ms   (target <= 150)\n", median(embedded.sortOther));
    std::printf("  incremental search, per key     %8.3f ms   (target <= 5)\n", median(embedded.search));
    std::printf("  criteria filter                 %8.1f ms   (target <= 200)\n", median(embedded.filter));
    std::printf(
        "  raw non-blob bytes %.1f MB; dataset holds %.1f MB (%.2f x, target <= 1.50); RSS grew %.1f MB\n",
        b.rawBytes / 1e6, embedded.memory / 1e6, double(embedded.memory) / double(b.rawBytes),
        embedded.rssDelta / 1e3);
    if (server.isEmpty()) return 0;
    std::printf("\nboth engines side by side (%lld rows; the server's copy has no pictures)\n", remote.rows);
    std::printf("                                  embedded      server\n");
    const auto row = [](const char* what, double a, double s, const char* unit) {
        std::printf("  %-30s %9.3f %11.3f %s\n", what, a, s, unit);
    };
    row("bare loop of the engine's C API", median(bareNoBlob), median(remote.bare), "ms");
    row("open + first sort + grid shown", median(embedded.open), median(remote.open), "ms");
    row("  ratio to its bare loop", median(embedded.open) / median(bareNoBlob),
        median(remote.open) / median(remote.bare), "");
    row("sort by another column", median(embedded.sortOther), median(remote.sortOther), "ms");
    row("incremental search, per key", median(embedded.search), median(remote.search), "ms");
    row("criteria filter", median(embedded.filter), median(remote.filter), "ms");
    row("dataset memory", embedded.memory / 1e6, remote.memory / 1e6, "MB");
    row("RSS growth", embedded.rssDelta / 1e3, remote.rssDelta / 1e3, "MB");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString generate, list, screens, server, agenda, record, installments;
    double scale = 1.0;
    quint32 seed = 1;
    int runs = 5;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--generate")) generate = args[i + 1];
        else if (args[i] == QLatin1String("--patient-list")) list = args[i + 1];
        else if (args[i] == QLatin1String("--patient-screens")) screens = args[i + 1];
        else if (args[i] == QLatin1String("--consultation-record")) record = args[i + 1];
        else if (args[i] == QLatin1String("--scale")) scale = args[i + 1].toDouble();
        else if (args[i] == QLatin1String("--seed")) seed = args[i + 1].toUInt();
        else if (args[i] == QLatin1String("--runs")) runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--server")) server = args[i + 1];
        else if (args[i] == QLatin1String("--agenda")) agenda = args[i + 1];
        else if (args[i] == QLatin1String("--installments")) installments = args[i + 1];
    }
    if ((generate.isEmpty() && list.isEmpty() && screens.isEmpty() && agenda.isEmpty() && record.isEmpty() &&
         installments.isEmpty()) ||
        scale <= 0) {
        std::fprintf(stderr, "usage: dv_bench --generate FILE [--scale F] [--seed N]\n"
                             "       dv_bench --patient-list FILE [--runs N] [--server URL]\n"
                             "       dv_bench --patient-screens FILE [--runs N]\n"
                             "       dv_bench --agenda FILE [--runs N]\n"
                             "       dv_bench --consultation-record FILE [--runs N]\n"
                             "       dv_bench --installments FILE [--runs N]\n");
        return 2;
    }
    try {
        if (!generate.isEmpty()) {
            const dv::bench::Generated g = dv::bench::generateDatabase(generate, dv::bench::Volumes().scaled(scale), seed);
            std::printf("%s: %lld patients (%lld photos), %lld answers, %lld consultations, %lld items, "
                        "%lld installments, %lld appointments; %.1f MB in %.1f s\n",
                        qPrintable(generate), g.patients, g.photos, g.answers, g.consultations, g.items,
                        g.installments, g.appointments, double(g.bytes) / 1e6, g.seconds);
        }
        if (!list.isEmpty()) return patientList(list, runs, server);
        if (!screens.isEmpty()) return dv::bench::patientScreens(app, screens, runs);
        if (!agenda.isEmpty()) return dv::bench::agendaDay(app, agenda, runs);
        if (!record.isEmpty()) return dv::bench::consultationRecord(app, record, runs);
        if (!installments.isEmpty()) return dv::bench::installmentGeneration(app, installments, runs);
    } catch (const dv::Error& e) {
        std::fprintf(stderr, "dv_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
