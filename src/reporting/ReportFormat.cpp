#include "ReportFormat.h"
#include "core/db/BrFormat.h"
#include "core/db/Field.h"
#include "core/db/WallClock.h"

namespace dv::report {

namespace {

Currency toCurrency(const QVariant& v) {
    if (v.canConvert<Currency>() && v.metaType() == QMetaType::fromType<Currency>())
        return v.value<Currency>();
    if (v.metaType().id() == QMetaType::Double) return Currency::fromDouble(v.toDouble());
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok) return Currency::fromUnits(n);
    return Currency::parse(v.toString()).value_or(Currency());
}

bool isCurrency(const QVariant& v) {
    return v.metaType() == QMetaType::fromType<Currency>();
}

QDateTime toDateTime(const QVariant& v) {
    if (v.metaType().id() == QMetaType::QDateTime) return v.toDateTime();
    if (v.metaType().id() == QMetaType::QDate) return wallClock(v.toDate(), QTime(0, 0));
    if (const auto dt = br::parseDateTime(v.toString())) return *dt;
    return QDateTime();
}

// Digits kept as typed get their punctuation; anything else is shown as stored.
QString punctuate(const QString& text, const char* pattern) {
    QString digits;
    for (QChar c : text)
        if (c.isDigit()) digits += c;
    int needed = 0;
    for (const char* p = pattern; *p; ++p)
        needed += *p == '#';
    if (digits.size() != needed || digits.size() != text.trimmed().size()) return text;
    QString out;
    int i = 0;
    for (const char* p = pattern; *p; ++p)
        out += *p == '#' ? digits.at(i++) : QLatin1Char(*p);
    return out;
}

QString monthName(const QVariant& v) {
    int month = 0;
    if (v.metaType().id() == QMetaType::QDateTime || v.metaType().id() == QMetaType::QDate)
        month = toDateTime(v).date().month();
    else
        month = v.toInt();
    if (month < 1 || month > 12) return QString();
    QString name =
        br::formatDateTimeMask(QStringLiteral("mmmm"), QDateTime(QDate(2000, month, 1), QTime(0, 0)));
    if (!name.isEmpty()) name[0] = name.at(0).toUpper();
    return name;
}

QString plainText(const QVariant& v) {
    if (isCurrency(v)) return br::formatCurrency(v.value<Currency>());
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return br::formatInteger(v.toLongLong(), true);
    case QMetaType::Double:
        return br::formatNumber(v.toDouble(), 2);
    case QMetaType::QDateTime:
    case QMetaType::QDate:
        return br::formatDate(toDateTime(v));
    default:
        return v.toString();
    }
}

// The formats that do not depend on the field.
QString applyFormat(const QVariant& v, const QString& format, const QString& shown) {
    if (format == QLatin1String("date")) return br::formatDate(toDateTime(v));
    if (format == QLatin1String("datetime")) {
        const QDateTime dt = toDateTime(v);
        return dt.isValid()
                   ? br::formatDate(dt) + QLatin1Char(' ') + dt.time().toString(QStringLiteral("hh:mm"))
                   : QString();
    }
    if (format == QLatin1String("time")) {
        const QDateTime dt = toDateTime(v);
        return dt.isValid() ? dt.time().toString(QStringLiteral("hh:mm")) : QString();
    }
    if (format.startsWith(QLatin1String("date:"))) {
        const QDateTime dt = toDateTime(v);
        return dt.isValid() ? br::formatDateTimeMask(format.mid(5), dt) : QString();
    }
    if (format == QLatin1String("money")) return br::formatMoney(toCurrency(v));
    if (format == QLatin1String("number")) return br::formatCurrency(toCurrency(v));
    if (format.startsWith(QLatin1String("number:"))) {
        const QString mask = format.mid(7);
        if (isCurrency(v)) return br::formatMask(mask, v.value<Currency>());
        if (v.metaType().id() == QMetaType::Double) return br::formatMask(mask, v.toDouble());
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        return ok ? br::formatMask(mask, n) : br::formatMask(mask, toCurrency(v));
    }
    if (format == QLatin1String("integer")) {
        if (isCurrency(v)) {
            // Half away from zero, as the money is shown.
            const qint64 raw = v.value<Currency>().raw(), half = Currency::Scale / 2;
            return br::formatInteger((raw < 0 ? raw - half : raw + half) / Currency::Scale, true);
        }
        return br::formatInteger(qRound64(v.toDouble()), true);
    }
    if (format == QLatin1String("flag")) {
        const QString t = shown.trimmed().toUpper();
        if (t == QLatin1String("S")) return QStringLiteral("Sim");
        if (t == QLatin1String("N")) return QStringLiteral("Não");
        return shown;
    }
    if (format == QLatin1String("upper")) return shown.toUpper();
    if (format == QLatin1String("month")) return monthName(v);
    if (format == QLatin1String("cpf")) return punctuate(shown, "###.###.###-##");
    if (format == QLatin1String("cnpj")) return punctuate(shown, "##.###.###/####-##");
    if (format == QLatin1String("cep")) return punctuate(shown, "#####-###");
    return shown;
}

} // namespace

QString formatFieldValue(const Field* field, const QVariant& value, const QString& format) {
    if (!value.isValid() || value.isNull()) return QString();
    const QString shown = field ? field->format(value) : plainText(value);
    return format.isEmpty() ? shown : applyFormat(value, format, shown);
}

QString formatValue(const QVariant& value, const QString& format) {
    if (!value.isValid() || value.isNull()) return QString();
    const QString shown = plainText(value);
    return format.isEmpty() ? shown : applyFormat(value, format, shown);
}

} // namespace dv::report
