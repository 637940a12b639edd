// Benchmarks on generated data. Medians of several runs, offscreen.
//   dv_bench --generate FILE [--scale F] [--seed N]    make a benchmark database
//   dv_bench --patient-list FILE [--runs N]              the patient list figures
//   dv_bench --patient-screens FILE [--runs N]           the patient screens through the application
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DatasetModel.h"
#include "core/db/DbErrors.h"
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

int patientList(const QString& file, int runs) {
    // The same rows without the picture column: the floor for a loader that leaves pictures out.
    const char* kNoBlobSql =
        "select paciente_id, paciente_nome, paciente_profissao, paciente_rg, paciente_cpf, paciente_endereco, "
        "paciente_numero, paciente_complemento, paciente_bairro, paciente_cidade, paciente_cep, uf_id, paciente_ativo, "
        "paciente_fone, paciente_fone_comercial, paciente_celular, paciente_data_nascimento, paciente_email, "
        "paciente_anotacao, paciente_sexo, paciente_data_cadastro, paciente_orgao, paciente_matricula, "
        "paciente_num_dependentes, paciente_titular, paciente_registro, convenio_id, length(paciente_foto) "
        "from paciente order by paciente_nome";
    std::vector<double> bare, bareNoBlob, open, sortOther, search, filter;
    BareResult b;
    size_t memory = 0;
    long rssDelta = 0;
    for (int run = 0; run < runs; ++run) {
        b = bareLoop(file);
        bare.push_back(b.ms);
        bareNoBlob.push_back(bareLoop(file, kNoBlobSql).ms);

        dv::SqlCipherEngine conn(file, QString::fromLatin1(kPassword));
        conn.query(QStringLiteral("select count(*) from sqlite_master"))->next();
        const long rssBefore = rssKb();
        dv::Dataset ds(&conn, QStringLiteral("SQL_Consulta"));
        ds.setSql(QString::fromLatin1(kListSql));
        dv::DataSource source(&ds, QStringLiteral("dsConsulta"));
        dv::DatasetModel model(&source);
        QTableView grid;
        grid.resize(1200, 800);
        grid.setModel(&model);
        grid.verticalHeader()->setDefaultSectionSize(18);
        open.push_back(timeMs([&] {
            ds.open();
            ds.setSort(QStringLiteral("paciente_nome ASC"));
            grid.show();
            QApplication::processEvents();
        }));
        memory = ds.memoryBytes();
        rssDelta = rssKb() - rssBefore;

        sortOther.push_back(timeMs([&] { ds.setSort(QStringLiteral("paciente_cidade ASC")); }));
        ds.setSort(QStringLiteral("paciente_nome ASC"));
        const QStringList keys{QStringLiteral("M"), QStringLiteral("Ma"), QStringLiteral("Mar"), QStringLiteral("Mari"),
                               QStringLiteral("Maria"), QStringLiteral("Maria "), QStringLiteral("Maria d")};
        const double keysMs = timeMs([&] {
            for (const QString& k : keys) ds.seekPrefix(QStringLiteral("paciente_nome"), k);
        });
        search.push_back(keysMs / keys.size());
        filter.push_back(timeMs([&] {
            ds.setCriteria(dv::Criteria{{QStringLiteral("paciente_nome"), QStringLiteral("silva or souza")}});
        }));
        ds.clearCriteria();
    }
    const double ratio = median(open) / median(bare);
    std::printf("patient list over %lld rows (medians of %d runs)\n", b.rows, runs);
    std::printf("  bare sqlite3_step loop          %8.1f ms\n", median(bare));
    std::printf("  bare loop, pictures left out    %8.1f ms\n", median(bareNoBlob));
    std::printf("  open + first sort + grid shown  %8.1f ms   ratio %.2f to select *, %.2f to the loop without "
                "pictures (target <= 1.30)\n",
                median(open), ratio, median(open) / median(bareNoBlob));
    std::printf("  sort by another column          %8.1f ms   (target <= 150)\n", median(sortOther));
    std::printf("  incremental search, per key     %8.3f ms   (target <= 5)\n", median(search));
    std::printf("  criteria filter                 %8.1f ms   (target <= 200)\n", median(filter));
    std::printf("  raw non-blob bytes %.1f MB; dataset holds %.1f MB (%.2f x, target <= 1.50); RSS grew %.1f MB\n",
                b.rawBytes / 1e6, memory / 1e6, double(memory) / double(b.rawBytes), rssDelta / 1e3);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString generate, list, screens, record;
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
    }
    if ((generate.isEmpty() && list.isEmpty() && screens.isEmpty() && record.isEmpty()) || scale <= 0) {
        std::fprintf(stderr, "usage: dv_bench --generate FILE [--scale F] [--seed N]\n"
                             "       dv_bench --patient-list FILE [--runs N]\n"
                             "       dv_bench --patient-screens FILE [--runs N]\n"
                             "       dv_bench --consultation-record FILE [--runs N]\n");
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
        if (!list.isEmpty()) return patientList(list, runs);
        if (!screens.isEmpty()) return dv::bench::patientScreens(app, screens, runs);
        if (!record.isEmpty()) return dv::bench::consultationRecord(app, record, runs);
    } catch (const dv::Error& e) {
        std::fprintf(stderr, "dv_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
