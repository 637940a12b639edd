#include "SqlDialect.h"
#include <QRegularExpression>
#include "WallClock.h"

namespace dv::sql {

namespace {

// Calls f(begin, end) for each stretch of the text that is outside quoted
// literals and quoted identifiers, and copies quoted parts unchanged.
template <typename F> QString mapOutsideQuotes(const QString& sql, F f) {
    QString out;
    out.reserve(sql.size() + 16);
    int i = 0;
    const int n = sql.size();
    while (i < n) {
        int j = i;
        while (j < n && sql[j] != QLatin1Char('\'') && sql[j] != QLatin1Char('"'))
            ++j;
        out += f(QStringView(sql).mid(i, j - i));
        if (j >= n) break;
        const QChar q = sql[j];
        int k = j + 1;
        while (k < n) {
            if (sql[k] == q) {
                if (k + 1 < n && sql[k + 1] == q) {
                    k += 2;
                    continue;
                }
                break;
            }
            ++k;
        }
        out += QStringView(sql).mid(j, qMin(k + 1, n) - j);
        i = k + 1;
    }
    return out;
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

PreparedText bindNames(const QString& sql, const std::function<QString(int)>& placeholder) {
    PreparedText p;
    p.text = mapOutsideQuotes(sql, [&](QStringView part) {
        QString out;
        int i = 0;
        while (i < part.size()) {
            const QChar c = part[i];
            const bool prevColon = i > 0 && part[i - 1] == QLatin1Char(':');
            if (c == QLatin1Char(':') && !prevColon && i + 1 < part.size() &&
                (part[i + 1].isLetter() || part[i + 1] == QLatin1Char('_'))) {
                int j = i + 1;
                while (j < part.size() && isNameChar(part[j]))
                    ++j;
                const QString name = part.mid(i + 1, j - i - 1).toString().toLower();
                int index = int(p.names.indexOf(name));
                if (index < 0) {
                    p.names.append(name);
                    index = int(p.names.size()) - 1;
                }
                out += placeholder(index + 1);
                i = j;
            } else {
                out += c;
                ++i;
            }
        }
        return out;
    });
    return p;
}

QString translateDateLiterals(const QString& sql) {
    if (!sql.contains(QLatin1Char('#'))) return sql;
    static const QRegularExpression re(
        QStringLiteral("#\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*#"));
    return mapOutsideQuotes(sql, [](QStringView part) {
        QString s = part.toString();
        QString out;
        qsizetype last = 0;
        auto it = re.globalMatch(s);
        while (it.hasNext()) {
            const auto m = it.next();
            out += QStringView(s).mid(last, m.capturedStart() - last);
            const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
            const QTime t(m.captured(4).isEmpty() ? 0 : m.captured(4).toInt(),
                          m.captured(5).isEmpty() ? 0 : m.captured(5).toInt(),
                          m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
            if (d.isValid() && t.isValid())
                out += QLatin1Char('\'') + isoText(wallClock(d, t)) + QLatin1Char('\'');
            else
                out += m.captured(0); // left for the engine to reject
            last = m.capturedEnd();
        }
        out += QStringView(s).mid(last);
        return out;
    });
}

std::optional<QDateTime> monthFirstDate(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    if (text.size() > 24 || !text.contains(QLatin1Char('/'))) return std::nullopt;
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    const QTime t(m.captured(4).isEmpty() ? 0 : m.captured(4).toInt(),
                  m.captured(5).isEmpty() ? 0 : m.captured(5).toInt(),
                  m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
    if (!d.isValid() || !t.isValid()) return std::nullopt;
    return wallClock(d, t);
}

QString isoText(const QDateTime& dt) {
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime fromIsoText(QStringView s) {
    auto num = [&](int from, int len, bool& ok) {
        int v = 0;
        for (int i = from; i < from + len; ++i) {
            if (i >= s.size() || !s[i].isDigit()) {
                ok = false;
                return 0;
            }
            v = v * 10 + (s[i].unicode() - '0');
        }
        return v;
    };
    bool ok = true;
    if (s.size() < 10) return QDateTime();
    const int y = num(0, 4, ok), mo = num(5, 2, ok), d = num(8, 2, ok);
    int h = 0, mi = 0, se = 0;
    if (s.size() >= 16) {
        h = num(11, 2, ok);
        mi = num(14, 2, ok);
        if (s.size() >= 19) se = num(17, 2, ok);
    }
    if (!ok) return QDateTime();
    const QDate date(y, mo, d);
    const QTime time(h, mi, se);
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return wallClock(date, time);
}

QString singleTableOfSelect(const QString& sql) {
    static const QRegularExpression select(QStringLiteral("^\\s*select\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!select.match(sql).hasMatch()) return QString();
    // The FROM of the select itself: a sub-select's (in the columns or the conditions)
    // names another table.
    const int from = topLevelFrom(sql);
    if (from < 0) return QString();
    static const QRegularExpression re(
        QStringLiteral("^from\\s+([A-Za-z_][A-Za-z0-9_]*)\\s*(?:$|\\s+(where|order|group)\\b)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql.mid(from));
    if (!m.hasMatch()) return QString();
    static const QRegularExpression join(QStringLiteral("\\bjoin\\b|\\bunion\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (join.match(sql).hasMatch()) return QString();
    return m.captured(1);
}

QString singleTableOfSelectStar(const QString& sql) {
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+"),
                                       QRegularExpression::CaseInsensitiveOption);
    if (!re.match(sql).hasMatch()) return QString();
    return singleTableOfSelect(sql);
}

namespace {

// Walks the text outside quoted literals and names from `from`, giving each
// character with the parenthesis depth before it, until visit returns true;
// the index where it stopped, or -1.
template <typename F> int scanOutsideQuotes(const QString& sql, int from, F visit) {
    int depth = 0;
    QChar quote;
    for (int i = from; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            continue;
        }
        if (visit(i, c, depth)) return i;
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
    }
    return -1;
}

} // namespace

int topLevelFrom(const QString& sql) {
    return scanOutsideQuotes(sql, 0, [&](int i, QChar, int depth) {
        return depth == 0 && i + 4 <= sql.size() &&
               QStringView(sql).mid(i, 4).compare(QLatin1String("from"), Qt::CaseInsensitive) == 0 &&
               (i == 0 || !sql[i - 1].isLetterOrNumber()) &&
               (i + 4 == sql.size() || !(sql[i + 4].isLetterOrNumber() || sql[i + 4] == QLatin1Char('_')));
    });
}

int closingParen(const QString& sql, int open) {
    return scanOutsideQuotes(sql, open,
                             [](int, QChar c, int depth) { return c == QLatin1Char(')') && depth == 1; });
}

bool aggregates(const QString& sql) {
    static const QRegularExpression aggregate(
        QStringLiteral("\\b(distinct|group\\s+by|sum|count|max|min|avg)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return aggregate.match(sql).hasMatch();
}

} // namespace dv::sql
