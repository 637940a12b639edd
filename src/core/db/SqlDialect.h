#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace dv::sql {

// The statement with ":name" parameters replaced by the engine's placeholders.
struct PreparedText {
    QString text;
    QStringList names; // lower-case parameter names, placeholder i (1-based) is names[i-1]
};

// Replaces each ":name" outside quoted literals with placeholder(index), index 1-based;
// the same name (without regard to case) reuses its index.
PreparedText bindNames(const QString& sql, const std::function<QString(int)>& placeholder);

// "#mm/dd/yyyy#" and "#mm/dd/yyyy hh:nn:ss#" literals outside quotes become
// ISO text literals '2026-12-01 00:00:00'.
QString translateDateLiterals(const QString& sql);

// A text holding a month-first date, "mm/dd/yyyy" or "mm/dd/yyyy hh:nn[:ss]"
// (single-digit day and month accepted); nullopt for anything else.
std::optional<QDateTime> monthFirstDate(const QString& text);

// The storage text of a date-time: "YYYY-MM-DD HH:MM:SS".
QString isoText(const QDateTime& dt);
// Reads storage text back ("YYYY-MM-DD", "YYYY-MM-DD HH:MM[:SS[.fff]]", "T" separator too).
QDateTime fromIsoText(QStringView text);

// "select * from <table> [rest]" over one table (no join, no comma list of tables):
// the table name, or empty.
QString singleTableOfSelectStar(const QString& sql);
// The table of a select over one table (any column list), or empty.
QString singleTableOfSelect(const QString& sql);

// Position of the top-level "from" of a select, or -1.
int topLevelFrom(const QString& sql);
// Index of the parenthesis closing the one at `open`, outside quotes; -1 when none.
int closingParen(const QString& sql, int open);
// Whether a select aggregates (a row identity cannot be added to it).
bool aggregates(const QString& sql);
// The name given to the row identity column a query appends.
inline QString rowIdAlias() {
    return QStringLiteral("__dv_rowid");
}

} // namespace dv::sql
