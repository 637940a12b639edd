#include "Field.h"
#include "BrFormat.h"
#include "CodeTextLookup.h"
#include "Dataset.h"
#include "DbErrors.h"
#include "SqlDialect.h"
#include "WallClock.h"
#include <cmath>
#include <limits>

namespace dv {

namespace {

FieldType initialType(const FieldDef& def) {
    if (def.type != FieldType::Unknown) return def.type;
    return def.kind == FieldKind::Data ? FieldType::Unknown : FieldType::String;
}

// Whole units of an amount, rounded half away from zero.
qint64 roundedUnits(qint64 raw) {
    const qint64 units = raw / Currency::Scale;
    const qint64 rest = raw % Currency::Scale;
    if (std::llabs(rest) * 2 >= Currency::Scale) return units + (raw < 0 ? -1 : 1);
    return units;
}

// The shortest exact text of an amount: "1234,5", "10", "-0,0001".
QString plainCurrency(Currency c) {
    QString s = c.toString(4, false);
    if (s.contains(QLatin1Char(','))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char(','))) s.chop(1);
    }
    return s;
}

// Days since 30/12/1899 with the time as a fraction: the classic date-time number.
constexpr qint64 SerialEpochJulianDay = 2415019;

// A typed value the field cannot take (%1 the text, %2 the field's label), in the interface language.
QString notInteger() {
    return dv::text("'%1' não é um número inteiro válido para o campo '%2'");
}
QString notNumber() {
    return dv::text("'%1' não é um número válido para o campo '%2'");
}
QString notAmount() {
    return dv::text("'%1' não é um valor válido para o campo '%2'");
}
QString notDate() {
    return dv::text("'%1' não é uma data válida para o campo '%2'");
}

} // namespace

Field::Field(Dataset* dataset, const FieldDef& def)
    : QObject(dataset), m_dataset(dataset), m_def(def), m_type(initialType(def)), m_size(def.size),
      m_required(def.required.value_or(false)), m_readOnly(def.readOnly), m_designedLabel(def.displayLabel),
      m_designedMask(def.editMask) {
    renameFor(dataset ? dataset->objectName() : QString());
}

void Field::bind(int storeColumn, const ColumnInfo& column) {
    m_storeColumn = storeColumn;
    m_column = column;
    if (m_def.type == FieldType::Unknown)
        m_type = column.type == FieldType::Unknown ? FieldType::String : column.type;
    if (m_def.size == 0) m_size = column.size;
    if (!m_def.required.has_value())
        m_required = column.notNull && !column.autoIncrement && m_type != FieldType::AutoInc;
    // An expression of the query has no column to be written to.
    if (column.baseTable.isEmpty() && !m_def.readOnly) m_readOnly = true;
}

int Field::index() const {
    return m_dataset ? int(m_dataset->fields().indexOf(const_cast<Field*>(this))) : -1;
}

bool Field::isNumeric() const {
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
    case FieldType::Float:
    case FieldType::Currency:
        return true;
    default:
        return false;
    }
}

void Field::setVisible(bool visible) {
    if (m_def.visible == visible) return;
    m_def.visible = visible;
    // Grids lay out their columns again.
    if (m_dataset && m_dataset->isActive()) m_dataset->notifyReset();
}

int Field::displayWidth() const {
    if (m_def.displayWidth > 0) return m_def.displayWidth;
    switch (m_type) {
    case FieldType::String:
        return qMax(1, m_size);
    case FieldType::LargeInt:
        return 15;
    case FieldType::DateTime:
        return 18;
    default:
        return 10;
    }
}

Qt::Alignment Field::alignment() const {
    return (isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// ---- reading ----

bool Field::isNull() const {
    return m_dataset->readIsNull(*this);
}

QVariant Field::asVariant() const {
    return m_dataset->readValue(*this);
}

QString Field::asString() const {
    return formatPlain(asVariant());
}

qint64 Field::asLargeInt() const {
    const QVariant v = asVariant();
    if (!v.isValid()) return 0;
    switch (m_type) {
    case FieldType::Float:
        return qint64(std::llround(v.toDouble()));
    case FieldType::Currency:
        return roundedUnits(v.value<Currency>().raw());
    case FieldType::DateTime:
    case FieldType::Blob:
        throw DatabaseError(
            dv::text("O campo '%1' não pode ser lido como número inteiro").arg(displayLabel()));
    default:
        break;
    }
    if (v.metaType().id() == QMetaType::QString) {
        const QString t = v.toString();
        if (auto n = br::parseInteger(t)) return *n;
        throw DatabaseError(notInteger().arg(t, displayLabel()));
    }
    return v.toLongLong();
}

int Field::asInteger() const {
    return int(asLargeInt());
}

double Field::asFloat() const {
    const QVariant v = asVariant();
    if (!v.isValid()) return 0;
    switch (m_type) {
    case FieldType::Currency:
        return v.value<Currency>().toDouble();
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return double(dt.date().toJulianDay() - SerialEpochJulianDay) +
               dt.time().msecsSinceStartOfDay() / 86400000.0;
    }
    case FieldType::Blob:
        throw DatabaseError(dv::text("O campo '%1' não pode ser lido como número").arg(displayLabel()));
    default:
        break;
    }
    if (v.metaType().id() == QMetaType::QString) {
        const QString t = v.toString();
        if (auto n = br::parseNumber(t)) return *n;
        throw DatabaseError(notNumber().arg(t, displayLabel()));
    }
    return v.toDouble();
}

Currency Field::asCurrency() const {
    const QVariant v = asVariant();
    if (!v.isValid()) return Currency();
    switch (m_type) {
    case FieldType::Currency:
        return v.value<Currency>();
    case FieldType::Float:
        return Currency::fromDouble(v.toDouble());
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return Currency::fromUnits(v.toLongLong());
    case FieldType::DateTime:
    case FieldType::Blob:
        throw DatabaseError(dv::text("O campo '%1' não pode ser lido como valor").arg(displayLabel()));
    default:
        break;
    }
    const QString t = v.toString();
    if (auto c = Currency::parse(t)) return *c;
    throw DatabaseError(notAmount().arg(t, displayLabel()));
}

QDateTime Field::asDateTime() const {
    const QVariant v = asVariant();
    if (!v.isValid()) return QDateTime();
    if (m_type == FieldType::DateTime) return v.toDateTime();
    if (v.metaType().id() == QMetaType::QString) {
        const QString t = v.toString();
        if (auto d = br::parseDateTime(t)) return *d;
        throw DatabaseError(notDate().arg(t, displayLabel()));
    }
    throw DatabaseError(dv::text("O campo '%1' não pode ser lido como data").arg(displayLabel()));
}

QByteArray Field::asBytes() const {
    const QVariant v = asVariant();
    if (!v.isValid()) return QByteArray();
    if (v.metaType().id() == QMetaType::QByteArray) return v.toByteArray();
    return asString().toUtf8();
}

QString Field::displayText() const {
    return format(asVariant());
}

// ---- writing ----

void Field::setAsVariant(const QVariant& value) {
    m_dataset->writeValue(*this, convert(value));
}
void Field::setAsString(const QString& text) {
    setAsVariant(text);
}
void Field::setAsInteger(qint64 value) {
    setAsVariant(value);
}
void Field::setAsFloat(double value) {
    setAsVariant(value);
}
void Field::setAsCurrency(Currency value) {
    setAsVariant(QVariant::fromValue(value));
}
void Field::setAsDateTime(const QDateTime& value) {
    // A local time the zone skipped is invalid yet still holds its day and time.
    const QDateTime w = wallClock(value.date(), value.time());
    setAsVariant(w.isValid() ? QVariant(w) : QVariant());
}
void Field::setBytes(const QByteArray& bytes) {
    setAsVariant(bytes.isEmpty() ? QVariant() : QVariant(bytes));
}
void Field::clear() {
    m_dataset->writeValue(*this, QVariant());
}

QVariant Field::convert(const QVariant& value) const {
    if (!value.isValid() || value.isNull()) return QVariant();
    const int id = value.metaType().id();
    const bool isText = id == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    if (isText && text.isEmpty()) return QVariant();
    const bool isCurrency = value.metaType() == QMetaType::fromType<Currency>();
    const bool isDate = id == QMetaType::QDateTime || id == QMetaType::QDate;
    // The message names the kind of value the field takes, in the interface language.
    auto invalid = [&](const QString& message) {
        return DatabaseError(message.arg(isText ? text : value.toString(), displayLabel()));
    };

    switch (m_type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt: {
        qint64 n;
        if (isText) {
            auto parsed = br::parseInteger(text);
            if (!parsed) throw invalid(notInteger());
            n = *parsed;
        } else if (isCurrency) {
            n = roundedUnits(value.value<Currency>().raw());
        } else if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = value.toDouble();
            if (!std::isfinite(d)) throw invalid(notInteger());
            n = qint64(std::llround(d));
        } else if (isDate || id == QMetaType::QByteArray) {
            throw invalid(notInteger());
        } else {
            bool ok = false;
            n = value.toLongLong(&ok);
            if (!ok) throw invalid(notInteger());
        }
        if (m_type != FieldType::LargeInt &&
            (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()))
            throw DatabaseError(
                dv::text("%1 não é um valor válido para o campo '%2'. O valor deve estar entre -2147483648 e "
                         "2147483647")
                    .arg(n)
                    .arg(displayLabel()));
        return n;
    }
    case FieldType::Float: {
        if (isText) {
            auto parsed = br::parseNumber(text);
            if (!parsed) throw invalid(notNumber());
            return *parsed;
        }
        if (isCurrency) return value.value<Currency>().toDouble();
        if (isDate || id == QMetaType::QByteArray) throw invalid(notNumber());
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok) throw invalid(notNumber());
        return d;
    }
    case FieldType::Currency: {
        if (isCurrency) return value;
        if (isText) {
            auto parsed = Currency::parse(text);
            if (!parsed) throw invalid(notAmount());
            return QVariant::fromValue(*parsed);
        }
        if (id == QMetaType::Double || id == QMetaType::Float)
            return QVariant::fromValue(Currency::fromDouble(value.toDouble()));
        if (isDate || id == QMetaType::QByteArray) throw invalid(notAmount());
        bool ok = false;
        const qint64 n = value.toLongLong(&ok);
        if (!ok) throw invalid(notAmount());
        return QVariant::fromValue(Currency::fromUnits(n));
    }
    case FieldType::DateTime: {
        if (id == QMetaType::QDateTime) {
            const QDateTime dt = value.toDateTime();
            const QDateTime w = wallClock(dt.date(), dt.time());
            return w.isValid() ? QVariant(w) : QVariant();
        }
        if (id == QMetaType::QDate) {
            const QDate d = value.toDate();
            return d.isValid() ? QVariant(wallClock(d, QTime(0, 0))) : QVariant();
        }
        if (isText) {
            if (auto parsed = br::parseDateTime(text)) return *parsed;
            // Storage text ("2024-01-05 10:00:00") as other code may hand it over.
            const QDateTime iso = sql::fromIsoText(text);
            if (iso.isValid() && text.trimmed().size() >= 10 && text.trimmed()[4] == QLatin1Char('-'))
                return iso;
            throw invalid(notDate());
        }
        throw invalid(notDate());
    }
    case FieldType::Blob:
        if (id == QMetaType::QByteArray) return value.toByteArray().isEmpty() ? QVariant() : value;
        return text.toUtf8();
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Unknown: {
        QString s = text;
        if (id == QMetaType::Bool && isFlag()) {
            s = value.toBool() ? QStringLiteral("S") : QStringLiteral("N");
        } else if (!isText) {
            if (isCurrency)
                s = plainCurrency(value.value<Currency>());
            else if (id == QMetaType::QDateTime)
                s = br::formatDateTime(value.toDateTime(), br::TimePart::WhenNonZero);
            else if (id == QMetaType::QDate)
                s = br::formatDate(value.toDate());
            else if (id == QMetaType::Double || id == QMetaType::Float)
                s = br::formatFloat(value.toDouble());
            else if (id == QMetaType::QByteArray)
                s = QString::fromUtf8(value.toByteArray());
            else
                s = value.toString();
        }
        // The declared width is the column's: longer text is cut, as edit controls do.
        if (m_type == FieldType::String && m_size > 0 && s.size() > m_size) s.truncate(m_size);
        if (s.isEmpty()) return QVariant();
        return s;
    }
    }
    return value;
}

QString Field::formatPlain(const QVariant& v) const {
    if (!v.isValid()) return QString();
    switch (m_type) {
    case FieldType::Currency:
        return plainCurrency(v.value<Currency>());
    case FieldType::DateTime:
        return br::formatDateTime(v.toDateTime(), br::TimePart::WhenNonZero);
    case FieldType::Float:
        return br::formatFloat(v.toDouble());
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray());
    default:
        if (v.metaType() == QMetaType::fromType<Currency>()) return plainCurrency(v.value<Currency>());
        if (v.metaType().id() == QMetaType::QDateTime)
            return br::formatDateTime(v.toDateTime(), br::TimePart::WhenNonZero);
        if (v.metaType().id() == QMetaType::Double) return br::formatFloat(v.toDouble());
        return v.toString();
    }
}

QString Field::formatDateTime(const QDate& date, const QTime& time) const {
    const QString& fmt = m_def.displayFormat;
    return fmt.isEmpty() ? br::formatDate(date) : br::formatDateTimeMask(fmt, date, time);
}

QString Field::format(const QVariant& v) const {
    if (!v.isValid()) return QString();
    const QString& fmt = m_def.displayFormat;
    switch (m_type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return fmt.isEmpty() ? QString::number(v.toLongLong()) : br::formatMask(fmt, v.toLongLong());
    case FieldType::Float:
        return fmt.isEmpty() ? br::formatFloat(v.toDouble()) : br::formatMask(fmt, v.toDouble());
    case FieldType::Currency:
        return br::formatMask(fmt, v.value<Currency>());
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.isValid() ? formatDateTime(dt.date(), dt.time()) : QString();
    }
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    default:
        return formatPlain(v);
    }
}

} // namespace dv
