#include "DatasetFilter.h"
#include "BrFormat.h"
#include "Dataset.h"
#include "DbErrors.h"
#include "SqlDialect.h"
#include <cstring>

namespace dv {

namespace {

[[noreturn]] void unsupported(const QString& text) {
    throw DatabaseError(QStringLiteral("Filter expression not supported: '%1'. Use column = 'value', "
                                       "optionally joined with and")
                            .arg(text));
}

bool isAscii(const QString& s) {
    for (QChar c : s)
        if (c.unicode() >= 0x80) return false;
    return true;
}

inline char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
}

// Position just after the first occurrence of needle (lower-case ASCII) in hay at or
// after from, comparing ASCII letters without regard to case; -1 when absent.
qsizetype findAscii(QByteArrayView hay, const QByteArray& needle, qsizetype from) {
    const qsizetype n = needle.size();
    if (n == 0) return from;
    const char first = needle[0];
    const char* h = hay.data();
    for (qsizetype i = from; i + n <= hay.size(); ++i) {
        if (lowerAscii(h[i]) != first) continue;
        qsizetype k = 1;
        while (k < n && lowerAscii(h[i + k]) == needle[k])
            ++k;
        if (k == n) return i + n;
    }
    return -1;
}

qsizetype findText(const QString& hay, const QString& needle, qsizetype from) {
    if (needle.isEmpty()) return from;
    const qsizetype at = hay.indexOf(needle, from, Qt::CaseInsensitive);
    return at < 0 ? -1 : at + needle.size();
}

bool isTextType(FieldType t) {
    return t == FieldType::String || t == FieldType::Memo || t == FieldType::Unknown;
}

} // namespace

QList<DatasetFilter::RawCondition> DatasetFilter::parse(const QString& text) {
    QList<RawCondition> out;
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    auto skip = [&] {
        while (i < n && t[i].isSpace())
            ++i;
    };
    while (true) {
        skip();
        RawCondition c;
        // column
        if (i < n && t[i] == QLatin1Char('[')) {
            const qsizetype end = t.indexOf(QLatin1Char(']'), i);
            if (end < 0) unsupported(text);
            c.field = t.mid(i + 1, end - i - 1).trimmed();
            i = end + 1;
        } else {
            const qsizetype start = i;
            while (i < n && (t[i].isLetterOrNumber() || t[i] == QLatin1Char('_')))
                ++i;
            c.field = t.mid(start, i - start);
        }
        if (c.field.isEmpty()) unsupported(text);
        skip();
        // operator
        const QStringView rest = QStringView(t).mid(i);
        if (rest.startsWith(QLatin1String("<>")) || rest.startsWith(QLatin1String("!=")))
            c.op = Op::Ne, i += 2;
        else if (rest.startsWith(QLatin1String("<=")))
            c.op = Op::Le, i += 2;
        else if (rest.startsWith(QLatin1String(">=")))
            c.op = Op::Ge, i += 2;
        else if (rest.startsWith(QLatin1Char('=')))
            c.op = Op::Eq, i += 1;
        else if (rest.startsWith(QLatin1Char('<')))
            c.op = Op::Lt, i += 1;
        else if (rest.startsWith(QLatin1Char('>')))
            c.op = Op::Gt, i += 1;
        else
            unsupported(text);
        skip();
        // literal
        if (i < n && (t[i] == QLatin1Char('\'') || t[i] == QLatin1Char('#'))) {
            const QChar q = t[i];
            c.quote = char(q.unicode());
            ++i;
            QString lit;
            bool closed = false;
            while (i < n) {
                if (t[i] == q) {
                    if (q == QLatin1Char('\'') && i + 1 < n && t[i + 1] == q) {
                        lit += q;
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                lit += t[i++];
            }
            if (!closed) unsupported(text);
            c.literal = lit;
        } else {
            c.quote = 0;
            const qsizetype start = i;
            if (i < n && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) ++i;
            while (i < n && (t[i].isDigit() || t[i] == QLatin1Char('.')))
                ++i;
            c.literal = t.mid(start, i - start);
            if (c.literal.isEmpty() || c.literal == QLatin1String("-") || c.literal == QLatin1String("+"))
                unsupported(text);
        }
        out << c;
        skip();
        if (i >= n) break;
        // "and" joins conditions
        if (i + 3 < n && QStringView(t).mid(i, 3).compare(QLatin1String("and"), Qt::CaseInsensitive) == 0 &&
            t[i + 3].isSpace()) {
            i += 3;
            continue;
        }
        unsupported(text);
    }
    return out;
}

void DatasetFilter::check(const QString& filterText) {
    if (!filterText.trimmed().isEmpty()) parse(filterText);
}

DatasetFilter::DatasetFilter(const Dataset& dataset, const QString& filterText,
                             const QList<Criteria>& criteria)
    : m_ds(dataset) {
    if (!filterText.trimmed().isEmpty()) {
        for (const RawCondition& raw : parse(filterText)) {
            const Field* f = dataset.fieldByName(raw.field);
            if (!f->isData() || f->storeColumn() < 0 || f->dataType() == FieldType::Blob)
                throw DatabaseError(
                    QStringLiteral("Field '%1' cannot be used in a filter").arg(f->fieldName()));
            QVariant value;
            if (f->dataType() == FieldType::DateTime) {
                std::optional<QDateTime> dt;
                if (raw.quote == '#')
                    dt = sql::monthFirstDate(raw.literal);
                else if (raw.quote == '\'')
                    dt = br::parseDateTime(raw.literal);
                if (!dt) unsupported(filterText);
                value = *dt;
            } else if (isTextType(f->dataType())) {
                value = raw.literal;
            } else {
                value = f->convert(raw.literal);
            }
            m_conditions << Condition{f, raw.op, value};
        }
    }
    for (const Criteria& c : criteria)
        for (const Criterion& item : c.items()) {
            if (item.text.trimmed().isEmpty()) continue;
            const Field* f = dataset.fieldByName(item.fieldName);
            FieldCriteria fc{f, {}};
            for (const QStringList& phrases : Criteria::parse(item.text)) {
                QList<Term> terms;
                for (const QString& p : phrases)
                    terms << compileTerm(*f, p);
                fc.alternatives << terms;
            }
            if (!fc.alternatives.isEmpty()) m_fields << fc;
        }
}

DatasetFilter::Term DatasetFilter::compileTerm(const Field& f, const QString& phrase) const {
    Term t;
    if (phrase.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0) {
        t.kind = Term::Null;
        return t;
    }
    if (f.isData() && f.dataType() == FieldType::DateTime) {
        if (auto d = br::parseDate(phrase)) {
            t.kind = Term::EqualDay;
            t.raw = d->toJulianDay();
            return t;
        }
    } else if (f.isData() && f.dataType() == FieldType::Currency) {
        if (auto c = Currency::parse(phrase)) {
            t.kind = Term::EqualMoney;
            t.raw = c->raw();
            return t;
        }
    } else if (f.isData() && f.isNumeric()) {
        if (auto v = br::parseNumber(phrase)) {
            t.kind = Term::EqualNumber;
            t.number = *v;
            return t;
        }
    }
    if (phrase.contains(QLatin1Char('%'))) {
        t.kind = Term::Wildcard;
        t.parts = phrase.split(QLatin1Char('%'), Qt::SkipEmptyParts);
    } else {
        t.kind = Term::Contains;
        t.parts = {phrase};
    }
    bool ascii = true;
    for (const QString& p : std::as_const(t.parts))
        ascii = ascii && isAscii(p);
    if (ascii)
        for (const QString& p : std::as_const(t.parts))
            t.ascii << p.toLatin1().toLower();
    return t;
}

QString DatasetFilter::textAt(const Field& f, quint32 row) const {
    const qint64 saved = m_ds.m_readRow;
    m_ds.m_readRow = row;
    QString s;
    try {
        s = f.format(m_ds.readValue(f));
    } catch (...) {
        m_ds.m_readRow = saved;
        throw;
    }
    m_ds.m_readRow = saved;
    return s;
}

bool DatasetFilter::matchTerm(const Field& f, const Term& t, quint32 row) const {
    const RowStore& store = m_ds.m_store;
    const int col = f.storeColumn();
    const bool stored = f.isData() && col >= 0 && store.kind(col) != StoreKind::Presence;
    const bool textColumn = stored && store.kind(col) == StoreKind::Text;
    switch (t.kind) {
    case Term::Null:
        if (!f.isData()) return textAt(f, row).trimmed().isEmpty();
        if (col < 0 || store.isNull(row, col)) return true;
        if (textColumn) return QString::fromUtf8(store.text(row, col)).trimmed().isEmpty();
        return false;
    case Term::EqualDay:
        return !store.isNull(row, col) && RowStore::julianDayOf(store.intValue(row, col)) == t.raw;
    case Term::EqualMoney:
        return !store.isNull(row, col) && store.intValue(row, col) == t.raw;
    case Term::EqualNumber:
        if (store.isNull(row, col)) return false;
        if (store.kind(col) == StoreKind::Double) return store.doubleValue(row, col) == t.number;
        return double(store.intValue(row, col)) == t.number;
    case Term::Contains:
    case Term::Wildcard:
        break;
    }
    if (stored && store.isNull(row, col)) return false;
    if (textColumn && !t.ascii.isEmpty()) {
        const QByteArrayView hay = store.text(row, col);
        qsizetype at = 0;
        for (const QByteArray& part : t.ascii)
            if ((at = findAscii(hay, part, at)) < 0) return false;
        return true;
    }
    const QString hay = textColumn ? QString::fromUtf8(store.text(row, col)) : textAt(f, row);
    qsizetype at = 0;
    for (const QString& part : t.parts)
        if ((at = findText(hay, part, at)) < 0) return false;
    return true;
}

bool DatasetFilter::matchCondition(const Condition& c, quint32 row) const {
    const int col = c.field->storeColumn();
    const RowStore& store = m_ds.m_store;
    if (col < 0 || store.isNull(row, col)) return c.op == Op::Ne;
    int cmp;
    if (store.kind(col) == StoreKind::Text) {
        cmp = QString::fromUtf8(store.text(row, col)).compare(c.value.toString(), Qt::CaseInsensitive);
    } else if (store.kind(col) == StoreKind::Double) {
        const double a = store.doubleValue(row, col), b = c.value.toDouble();
        cmp = a < b ? -1 : a > b ? 1 : 0;
    } else {
        qint64 b;
        if (c.value.metaType() == QMetaType::fromType<Currency>()) {
            b = c.value.value<Currency>().raw();
        } else if (c.value.metaType().id() == QMetaType::QDateTime) {
            const QDateTime dt = c.value.toDateTime();
            b = RowStore::packDateTime(dt.date().toJulianDay(), dt.time().msecsSinceStartOfDay());
        } else {
            b = c.value.toLongLong();
        }
        const qint64 a = store.intValue(row, col);
        cmp = a < b ? -1 : a > b ? 1 : 0;
    }
    switch (c.op) {
    case Op::Eq:
        return cmp == 0;
    case Op::Ne:
        return cmp != 0;
    case Op::Lt:
        return cmp < 0;
    case Op::Gt:
        return cmp > 0;
    case Op::Le:
        return cmp <= 0;
    case Op::Ge:
        return cmp >= 0;
    }
    return false;
}

bool DatasetFilter::accepts(quint32 row) const {
    for (const Condition& c : m_conditions)
        if (!matchCondition(c, row)) return false;
    for (const FieldCriteria& fc : m_fields) {
        bool any = false;
        for (const QList<Term>& terms : fc.alternatives) {
            bool all = true;
            for (const Term& t : terms)
                if (!matchTerm(*fc.field, t, row)) {
                    all = false;
                    break;
                }
            if (all) {
                any = true;
                break;
            }
        }
        if (!any) return false;
    }
    return true;
}

} // namespace dv
