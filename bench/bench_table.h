#pragma once
#include <QByteArray>
#include <QString>
#include <vector>

struct sqlite3;

namespace dv {
class Connection;
}

namespace dv::bench {

// One line of the summary: what was measured, its value and the target it is held to.
struct Figure {
    QString name;
    double value = 0;
    QString unit;
    double target = -1; // an upper bound; negative: no target (shown for information)
    QString note;       // per-run ratios, the baseline, what bounds it
};

// Adds a line to the table this process prints at its end. When the variable
// DV_BENCH_FIGURES names a file (dv_bench --all sets it for the modes it runs as
// child processes), the line is appended there too.
void addFigure(const Figure& figure);
// Prints the lines gathered so far: figure, value, target, verdict.
void printTable(const std::vector<Figure>& figures);
const std::vector<Figure>& figures();
// The lines a child process appended to the file.
std::vector<Figure> readFigures(const QString& file);

// Per-run ratios a[i] / b[i], as "1.02 0.98 ...".
QString perRunRatios(const std::vector<double>& a, const std::vector<double>& b);
// Each run's value, as "runs 12.3 11.9 ... ms".
QString runsNote(const std::vector<double>& values, const QString& unit = QStringLiteral("ms"));
// Median of the per-run ratios.
double medianRatio(const std::vector<double>& a, const std::vector<double>& b);

// The process's resident set and its peak, in kB, from /proc/self/status.
long residentKb();
long peakResidentKb();

// What the loop over a statement read.
struct LoopResult {
    double ms = 0;
    qint64 rows = 0;
    qint64 rawBytes = 0; // bytes of the non-blob values: text as stored, 8 a number
};
// The floor of a query: prepare, step through every row and touch every value with
// the SQLite C API on a connection opened as the program opens it (key, cache, pragmas).
LoopResult bareLoop(sqlite3* db, const QByteArray& sql);
// Processor time of the whole process, every thread, in milliseconds: the dataset
// stores rows on a second thread, so an open may use more processor than it takes
// on the clock.
double processCpuMs();

// The SQL the engine runs for "select * from <table> order by <order>" when a dataset
// opens it: every column by name, pictures as their length, the row identity last.
QByteArray datasetSelect(Connection& connection, const QString& table, const QString& order);

} // namespace dv::bench
