#include "ParamValues.h"
#include "DbErrors.h"
#include "SqlDialect.h"
#include "WallClock.h"

namespace dv {

ParamType paramTypeOf(FieldType t) {
    switch (t) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return ParamType::Integer;
    case FieldType::Float:
        return ParamType::Float;
    case FieldType::Currency:
        return ParamType::Currency;
    case FieldType::DateTime:
        return ParamType::DateTime;
    case FieldType::Blob:
        return ParamType::Blob;
    default:
        // What the user typed is stored as typed, even when it reads like a date.
        return ParamType::Text;
    }
}

qint64 integerValue(const Param& p) {
    bool ok = false;
    const qint64 n = p.value.toLongLong(&ok);
    if (!ok)
        throw EngineError(
            QStringLiteral("Parameter '%1' is not an integer: '%2'.").arg(p.name, p.value.toString()));
    return n;
}

Currency currencyValue(const Param& p) {
    const QVariant& v = p.value;
    if (v.metaType() == QMetaType::fromType<Currency>()) return v.value<Currency>();
    if (v.metaType().id() == QMetaType::QString) {
        const auto parsed = Currency::parse(v.toString());
        if (!parsed)
            throw EngineError(
                QStringLiteral("Parameter '%1' is not an amount: '%2'.").arg(p.name, v.toString()));
        return *parsed;
    }
    if (v.metaType().id() == QMetaType::Double || v.metaType().id() == QMetaType::Float)
        return Currency::fromDouble(v.toDouble());
    return Currency::fromUnits(v.toLongLong());
}

QDateTime dateTimeValue(const Param& p) {
    const QVariant& v = p.value;
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate) return wallClock(v.toDate(), QTime(0, 0));
    const QString s = v.toString();
    const QDateTime dt = sql::monthFirstDate(s).value_or(sql::fromIsoText(s));
    if (!dt.isValid())
        throw EngineError(QStringLiteral("Parameter '%1' is not a date: '%2'.").arg(p.name, s));
    return dt;
}

QVariant cursorValue(const Cursor& c, int i, FieldType t) {
    if (c.isNull(i)) return QVariant();
    switch (t) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return c.integer(i);
    case FieldType::Float:
        return c.real(i);
    case FieldType::Currency:
        return QVariant::fromValue(c.currency(i));
    case FieldType::DateTime:
        return c.dateTime(i);
    case FieldType::Blob:
        return c.blob(i);
    default:
        return QString::fromUtf8(c.utf8(i));
    }
}

QString textValue(const Param& p) {
    // Text is never read as a date: only DateTime parameters convert it.
    const QVariant& v = p.value;
    if (v.metaType().id() == QMetaType::QDateTime) return sql::isoText(v.toDateTime());
    if (v.metaType().id() == QMetaType::QDate) return sql::isoText(wallClock(v.toDate(), QTime(0, 0)));
    return v.toString();
}

} // namespace dv
