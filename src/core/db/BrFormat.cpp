#include "BrFormat.h"
#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <functional>
#include "WallClock.h"

namespace dv::br {

namespace {

QString two(int n) {
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString groupThousands(QString digits) {
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    return digits;
}

int expandYear(int year, int digits) {
    if (digits != 2) return year;
    return year >= 90 ? 1900 + year : 2000 + year;
}

// ---- numeric masks ----

struct MaskDigits {
    bool negative = false;
    QString integer;  // without sign, no leading zeros ("" for zero)
    QString fraction; // exactly the requested number of digits
};

// The digits of a value rounded to `decimals` places.
using DigitSource = std::function<MaskDigits(int decimals)>;

struct Token {
    enum Kind { Literal, IntDigit, FracDigit, Point } kind;
    QChar digit; // '0' or '#'
    QString text;
};

struct Section {
    QList<Token> tokens;
    bool grouping = false;
    int intPlaces = 0;
    int intMin = 0; // digits always shown before the point
    int fracPlaces = 0;
    int fracMin = 0; // digits always shown after the point
    bool hasPlaceholders() const { return intPlaces + fracPlaces > 0; }
};

QStringList splitSections(const QString& mask) {
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            cur += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) quote = c;
        if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    return out;
}

Section parseSection(const QString& text) {
    Section s;
    bool afterPoint = false;
    auto literal = [&](const QString& t) {
        if (!s.tokens.isEmpty() && s.tokens.last().kind == Token::Literal)
            s.tokens.last().text += t;
        else
            s.tokens.append({Token::Literal, QChar(), t});
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = int(text.indexOf(c, i + 1));
            const int stop = end < 0 ? int(text.size()) : end;
            literal(text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (afterPoint) {
                s.tokens.append({Token::FracDigit, c, {}});
                ++s.fracPlaces;
                if (c == QLatin1Char('0')) s.fracMin = s.fracPlaces;
            } else {
                s.tokens.append({Token::IntDigit, c, {}});
                ++s.intPlaces;
            }
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            s.tokens.append({Token::Point, QChar(), {}});
        } else if (c == QLatin1Char(',')) {
            s.grouping = true;
        } else {
            literal(QString(c));
        }
    }
    // Digits from the first '0' before the point on are always shown.
    int seen = 0;
    for (const Token& t : s.tokens) {
        if (t.kind != Token::IntDigit) continue;
        if (t.digit == QLatin1Char('0')) {
            s.intMin = s.intPlaces - seen;
            break;
        }
        ++seen;
    }
    return s;
}

QString render(const Section& s, const MaskDigits& d, bool minusSign) {
    QString out;
    if (minusSign) out += QLatin1Char('-');
    if (!s.hasPlaceholders()) {
        for (const Token& t : s.tokens)
            out += t.text;
        return out;
    }
    QString integer = d.integer;
    if (integer.size() < s.intMin) integer = integer.rightJustified(s.intMin, QLatin1Char('0'));
    QString fraction = d.fraction;
    while (fraction.size() > s.fracMin && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    // Integer digits: the first placeholder takes the surplus, the others one each from the right.
    const int surplus = int(integer.size()) - s.intPlaces;
    int intIndex = 0; // placeholder index
    int consumed = 0; // digits of `integer` already written
    int fracIndex = 0;
    for (const Token& t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            // A literal among the integer placeholders shows only after a digit.
            if (intIndex == 0 || intIndex >= s.intPlaces || consumed > 0) out += t.text;
            break;
        case Token::IntDigit: {
            if (s.grouping) {
                if (intIndex == 0) out += groupThousands(integer);
                consumed = int(integer.size());
            } else {
                int take;
                if (intIndex == 0)
                    take = qMax(0, surplus + 1);
                else
                    take = (s.intPlaces - intIndex) <= (int(integer.size()) - consumed) ? 1 : 0;
                out += integer.mid(consumed, take);
                consumed += take;
            }
            ++intIndex;
            break;
        }
        case Token::Point:
            if (!fraction.isEmpty()) out += QLatin1Char(',');
            break;
        case Token::FracDigit:
            if (fracIndex < fraction.size()) out += fraction[fracIndex];
            ++fracIndex;
            break;
        }
    }
    return out;
}

bool isZero(const MaskDigits& d) {
    for (QChar c : d.integer)
        if (c != QLatin1Char('0')) return false;
    for (QChar c : d.fraction)
        if (c != QLatin1Char('0')) return false;
    return true;
}

QString formatWith(const QString& mask, bool negative, const DigitSource& digits) {
    const QStringList texts = splitSections(mask);
    const Section positive = parseSection(texts[0]);
    MaskDigits d = digits(positive.fracPlaces);
    if (texts.size() >= 3 && !texts[2].isEmpty() && isZero(d))
        return render(parseSection(texts[2]), d, false);
    if (negative) {
        if (texts.size() >= 2 && !texts[1].isEmpty()) {
            const Section neg = parseSection(texts[1]);
            return render(neg, digits(neg.fracPlaces), false);
        }
        return render(positive, d, !isZero(d));
    }
    return render(positive, d, false);
}

MaskDigits splitFixed(const QString& fixed) {
    MaskDigits d;
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    d.integer = point < 0 ? fixed : fixed.left(point);
    d.fraction = point < 0 ? QString() : fixed.mid(point + 1);
    while (d.integer.startsWith(QLatin1Char('0')))
        d.integer.remove(0, 1);
    return d;
}

const char* const kShortMonths[] = {"jan", "fev", "mar", "abr", "mai", "jun",
                                    "jul", "ago", "set", "out", "nov", "dez"};
const char* const kLongMonths[] = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                                   "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};
const char* const kShortDays[] = {"seg", "ter", "qua", "qui", "sex", "sáb", "dom"};
const char* const kLongDays[] = {"segunda-feira", "terça-feira", "quarta-feira", "quinta-feira",
                                 "sexta-feira",   "sábado",      "domingo"};

} // namespace

// ---- dates ------------------------------------------------------------------

QString formatDate(const QDate& date) {
    if (!date.isValid()) return QString();
    return two(date.day()) + QLatin1Char('/') + two(date.month()) + QLatin1Char('/') +
           QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
}

QString formatDate(const QDateTime& dateTime) {
    return formatDate(dateTime.date());
}

QString formatTime(const QTime& time) {
    if (!time.isValid()) return QString();
    return two(time.hour()) + QLatin1Char(':') + two(time.minute()) + QLatin1Char(':') + two(time.second());
}

QString formatDateTime(const QDateTime& dateTime, TimePart part) {
    if (!dateTime.isValid()) return QString();
    return formatDateTime(dateTime.date(), dateTime.time(), part);
}

QString formatDateTime(const QDate& date, const QTime& t, TimePart part) {
    if (!date.isValid() || !t.isValid()) return QString();
    if (part == TimePart::WhenNonZero && t.hour() == 0 && t.minute() == 0 && t.second() == 0)
        return formatDate(date);
    return formatDate(date) + QLatin1Char(' ') + formatTime(t);
}

std::optional<QDate> parseDate(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(expandYear(m.captured(3).toInt(), int(m.capturedLength(3))), m.captured(2).toInt(),
                  m.captured(1).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

std::optional<QDateTime> parseDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const QDate d(expandYear(m.captured(3).toInt(), int(m.capturedLength(3))), m.captured(2).toInt(),
                  m.captured(1).toInt());
    if (!d.isValid()) return std::nullopt;
    QTime t(0, 0);
    if (m.capturedLength(4) > 0) {
        t = QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                  m.capturedLength(6) ? m.captured(6).toInt() : 0);
        if (!t.isValid()) return std::nullopt;
    }
    return wallClock(d, t);
}

// ---- numbers ----------------------------------------------------------------

QString formatNumber(double value, int decimals, bool thousands) {
    if (std::isnan(value) || std::isinf(value)) return QString();
    decimals = qBound(0, decimals, 15);
    const MaskDigits d = splitFixed(QString::number(std::fabs(value), 'f', decimals));
    QString integer = d.integer.isEmpty() ? QStringLiteral("0") : d.integer;
    if (thousands) integer = groupThousands(integer);
    QString out = (value < 0 && !isZero(d)) ? QStringLiteral("-") + integer : integer;
    if (decimals > 0) out += QLatin1Char(',') + d.fraction;
    return out;
}

QString formatInteger(qint64 value, bool thousands) {
    if (!thousands) return QString::number(value);
    const bool negative = value < 0;
    // Unsigned keeps the smallest value representable.
    const quint64 a = negative ? quint64(0) - quint64(value) : quint64(value);
    const QString g = groupThousands(QString::number(a));
    return negative ? QStringLiteral("-") + g : g;
}

QString formatFloat(double value) {
    if (std::isnan(value) || std::isinf(value)) return QString();
    if (value == 0) return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

std::optional<double> parseNumber(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t = t.mid(1).trimmed();
    }
    QString plain;
    if (t.contains(QLatin1Char(','))) {
        if (t.count(QLatin1Char(',')) > 1) return std::nullopt;
        const qsizetype comma = t.indexOf(QLatin1Char(','));
        QString integer = t.left(comma);
        integer.remove(QLatin1Char('.'));
        plain = integer + QLatin1Char('.') + t.mid(comma + 1);
    } else if (t.count(QLatin1Char('.')) <= 1) {
        plain = t;
    } else {
        plain = t;
        plain.remove(QLatin1Char('.'));
    }
    if (plain.isEmpty() || plain == QLatin1String(".")) return std::nullopt;
    for (QChar c : plain)
        if (c != QLatin1Char('.') && (c < QLatin1Char('0') || c > QLatin1Char('9'))) return std::nullopt;
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok) return std::nullopt;
    return negative ? -v : v;
}

std::optional<qint64> parseInteger(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t = t.mid(1).trimmed();
    }
    // Grouped thousands ("1.234") are accepted; any other dot or a comma is a fraction.
    static const QRegularExpression grouped(QStringLiteral("^\\d{1,3}(\\.\\d{3})+$"));
    if (grouped.match(t).hasMatch()) t.remove(QLatin1Char('.'));
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return negative ? -v : v;
}

// ---- money ------------------------------------------------------------------

QString formatCurrency(Currency value) {
    return value.toString(2, true);
}

QString formatMoney(Currency value) {
    return value.toMoneyString();
}

std::optional<Currency> parseMoney(const QString& text) {
    return Currency::parse(text);
}

// ---- display formats --------------------------------------------------------

QString formatMask(const QString& mask, Currency value) {
    if (mask.isEmpty()) return formatCurrency(value);
    const qint64 raw = value.raw();
    const quint64 a = raw < 0 ? quint64(0) - quint64(raw) : quint64(raw);
    return formatWith(mask, raw < 0, [a](int decimals) {
        MaskDigits d;
        quint64 integer, fraction;
        if (decimals <= 4) {
            quint64 div = 1;
            for (int i = decimals; i < 4; ++i)
                div *= 10;
            const quint64 scaled = (a + div / 2) / div; // half away from zero
            quint64 pow = 1;
            for (int i = 0; i < decimals; ++i)
                pow *= 10;
            integer = scaled / pow;
            fraction = scaled % pow;
            d.fraction =
                decimals ? QString::number(fraction).rightJustified(decimals, QLatin1Char('0')) : QString();
        } else {
            integer = a / quint64(Currency::Scale);
            fraction = a % quint64(Currency::Scale);
            d.fraction = QString::number(fraction).rightJustified(4, QLatin1Char('0')) +
                         QString(decimals - 4, QLatin1Char('0'));
        }
        d.integer = integer ? QString::number(integer) : QString();
        return d;
    });
}

QString formatMask(const QString& mask, double value) {
    if (std::isnan(value) || std::isinf(value)) return QString();
    if (mask.isEmpty()) return formatFloat(value);
    const double a = std::fabs(value);
    return formatWith(mask, value < 0,
                      [a](int decimals) { return splitFixed(QString::number(a, 'f', decimals)); });
}

QString formatMask(const QString& mask, qint64 value) {
    if (mask.isEmpty()) return QString::number(value);
    const quint64 a = value < 0 ? quint64(0) - quint64(value) : quint64(value);
    return formatWith(mask, value < 0, [a](int decimals) {
        MaskDigits d;
        d.integer = a ? QString::number(a) : QString();
        d.fraction = QString(decimals, QLatin1Char('0'));
        return d;
    });
}

QString formatDateTimeMask(const QString& mask, const QDateTime& dateTime) {
    if (!dateTime.isValid()) return QString();
    return formatDateTimeMask(mask, dateTime.date(), dateTime.time());
}

QString formatDateTimeMask(const QString& mask, const QDate& date, const QTime& time) {
    if (!date.isValid() || !time.isValid()) return QString();
    if (mask.isEmpty()) return formatDateTime(date, time, TimePart::WhenNonZero);
    QString out;
    bool afterHour = false;
    for (int i = 0; i < mask.size();) {
        const QChar c = mask[i];
        const QChar lc = c.toLower();
        int run = 1;
        while (i + run < mask.size() && mask[i + run].toLower() == lc)
            ++run;
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const int end = int(mask.indexOf(c, i + 1));
            const int stop = end < 0 ? int(mask.size()) : end;
            out += mask.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        bool hour = false;
        switch (lc.unicode()) {
        case 'c':
            out += formatDateTime(date, time, TimePart::WhenNonZero);
            run = 1;
            break;
        case 'd':
            run = qMin(run, 6);
            if (run == 1)
                out += QString::number(date.day());
            else if (run == 2)
                out += two(date.day());
            else if (run == 3)
                out += QString::fromUtf8(kShortDays[date.dayOfWeek() - 1]);
            else if (run == 4)
                out += QString::fromUtf8(kLongDays[date.dayOfWeek() - 1]);
            else if (run == 5)
                out += formatDate(date);
            else
                out += QString::fromUtf8(kLongDays[date.dayOfWeek() - 1]) + QStringLiteral(", ") +
                       QString::number(date.day()) + QStringLiteral(" de ") +
                       QString::fromUtf8(kLongMonths[date.month() - 1]) + QStringLiteral(" de ") +
                       QString::number(date.year());
            break;
        case 'm':
            run = qMin(run, 4);
            if (run <= 2 && afterHour)
                out += run == 1 ? QString::number(time.minute()) : two(time.minute());
            else if (run == 1)
                out += QString::number(date.month());
            else if (run == 2)
                out += two(date.month());
            else if (run == 3)
                out += QString::fromUtf8(kShortMonths[date.month() - 1]);
            else
                out += QString::fromUtf8(kLongMonths[date.month() - 1]);
            break;
        case 'y':
            if (run <= 2)
                out += two(date.year() % 100);
            else
                out += QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
            break;
        case 'h':
            run = qMin(run, 2);
            out += run == 1 ? QString::number(time.hour()) : two(time.hour());
            hour = true;
            break;
        case 'n':
            run = qMin(run, 2);
            out += run == 1 ? QString::number(time.minute()) : two(time.minute());
            break;
        case 's':
            run = qMin(run, 2);
            out += run == 1 ? QString::number(time.second()) : two(time.second());
            break;
        case 'z':
            run = run >= 3 ? 3 : 1;
            out += run == 1 ? QString::number(time.msec())
                            : QString::number(time.msec()).rightJustified(3, QLatin1Char('0'));
            break;
        case 't':
            run = qMin(run, 2);
            out += two(time.hour()) + QLatin1Char(':') + two(time.minute());
            if (run == 2) out += QLatin1Char(':') + two(time.second());
            break;
        default:
            run = 1;
            out += c;
            // Separators between an hour and its minutes keep "h:mm" meaning minutes.
            if (c == QLatin1Char(':') || c == QLatin1Char(' ')) hour = afterHour;
            break;
        }
        afterHour = hour;
        i += run;
    }
    return out;
}

} // namespace dv::br
