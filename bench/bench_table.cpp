// The summary table, the shared measurements of memory and the bare SQLite loop.
#include "bench_table.h"
#include "core/db/Engine.h"
#include "core/db/SqlDialect.h"
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <sqlcipher/sqlite3.h>

namespace dv::bench {

namespace {

std::vector<Figure>& gathered() {
    static std::vector<Figure> list;
    return list;
}

long statusKb(const QByteArray& key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return 0;
}

double middle(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

void addFigure(const Figure& figure) {
    gathered().push_back(figure);
    const QByteArray file = qgetenv("DV_BENCH_FIGURES");
    if (file.isEmpty()) return;
    QFile out(QString::fromLocal8Bit(file));
    if (!out.open(QIODevice::Append)) return;
    QString note = figure.note;
    note.replace(QLatin1Char('\t'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    out.write((QStringList{figure.name, QString::number(figure.value, 'g', 10), figure.unit,
                           QString::number(figure.target, 'g', 10), note}
                   .join(QLatin1Char('\t')) +
               QLatin1Char('\n'))
                  .toUtf8());
}

const std::vector<Figure>& figures() {
    return gathered();
}

std::vector<Figure> readFigures(const QString& file) {
    std::vector<Figure> list;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) return list;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (parts.size() < 5) continue;
        list.push_back({parts[0], parts[1].toDouble(), parts[2], parts[3].toDouble(), parts[4]});
    }
    return list;
}

void printTable(const std::vector<Figure>& list) {
    std::printf("\n%-46s %12s %12s  %-7s %s\n", "figure", "measured", "target", "verdict", "notes");
    for (const Figure& f : list) {
        const QString value = QString::number(f.value, 'f', f.value < 10 ? 3 : 1) + QLatin1Char(' ') + f.unit;
        const QString target = f.target < 0 ? QStringLiteral("-")
                                            : QStringLiteral("<= ") + QString::number(f.target, 'g', 6) +
                                                  QLatin1Char(' ') + f.unit;
        const char* verdict = f.target < 0 ? "info" : (f.value <= f.target ? "MET" : "MISSED");
        std::printf("%-46s %12s %12s  %-7s %s\n", qPrintable(f.name), qPrintable(value), qPrintable(target),
                    verdict, qPrintable(f.note));
    }
}

QString perRunRatios(const std::vector<double>& a, const std::vector<double>& b) {
    QStringList out;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        out << QString::number(b[i] > 0 ? a[i] / b[i] : 0, 'f', 2);
    return out.join(QLatin1Char(' '));
}

QString runsNote(const std::vector<double>& values, const QString& unit) {
    QStringList out;
    for (double x : values)
        out << QString::number(x, 'f', x < 10 ? 2 : (x < 100 ? 1 : 0));
    return QStringLiteral("runs ") + out.join(QLatin1Char(' ')) + QLatin1Char(' ') + unit;
}

double medianRatio(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> r;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (b[i] > 0) r.push_back(a[i] / b[i]);
    return middle(r);
}

long residentKb() {
    return statusKb("VmRSS:");
}

long peakResidentKb() {
    return statusKb("VmHWM:");
}

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

LoopResult bareLoop(sqlite3* db, const QByteArray& sql) {
    LoopResult r;
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "dv_bench: %s\n", sqlite3_errmsg(db));
        return r;
    }
    const int n = sqlite3_column_count(s);
    volatile qint64 sink = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        ++r.rows;
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER:
                sink = sink + sqlite3_column_int64(s, c);
                r.rawBytes += 8;
                break;
            case SQLITE_FLOAT:
                sink = sink + qint64(sqlite3_column_double(s, c));
                r.rawBytes += 8;
                break;
            case SQLITE_TEXT: {
                const unsigned char* p = sqlite3_column_text(s, c);
                const int bytes = sqlite3_column_bytes(s, c);
                sink = sink + (bytes ? p[0] : 0);
                r.rawBytes += bytes;
                break;
            }
            case SQLITE_BLOB:
                sink = sink + sqlite3_column_bytes(s, c);
                break;
            default:
                break;
            }
        }
    }
    sqlite3_finalize(s);
    r.ms = double(t.nsecsElapsed()) / 1e6;
    return r;
}

QByteArray datasetSelect(Connection& connection, const QString& table, const QString& order) {
    QStringList list;
    for (const ColumnInfo& c : connection.tableColumns(table)) {
        const QString q = QLatin1Char('"') + c.name + QLatin1Char('"');
        list << (c.type == FieldType::Blob ? QStringLiteral("length(%1) AS %1").arg(q) : q);
    }
    list << QStringLiteral("rowid AS ") + sql::rowIdAlias();
    return QStringLiteral("select %1 from %2 order by %3")
        .arg(list.join(QStringLiteral(", ")), table, order)
        .toUtf8();
}

} // namespace dv::bench
