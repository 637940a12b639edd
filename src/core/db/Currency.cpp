#include "Currency.h"
#include <cmath>

namespace dv {

Currency Currency::fromDouble(double value) {
    return fromRaw(qint64(std::llround(value * Scale)));
}

std::optional<Currency> Currency::parse(const QString& input) {
    QString t = input.trimmed();
    if (t.startsWith(QLatin1String("R$"))) t = t.mid(2).trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool negative = false;
    if (t.startsWith(QLatin1Char('-'))) {
        negative = true;
        t = t.mid(1).trimmed();
    } else if (t.startsWith(QLatin1Char('+'))) {
        t = t.mid(1).trimmed();
    }
    // With a comma present the text is Brazilian: dots group thousands.
    // Without one, a single dot is taken as the decimal point.
    QString intPart, fracPart;
    if (t.contains(QLatin1Char(','))) {
        const int comma = t.lastIndexOf(QLatin1Char(','));
        intPart = t.left(comma);
        fracPart = t.mid(comma + 1);
        intPart.remove(QLatin1Char('.'));
    } else if (t.count(QLatin1Char('.')) == 1) {
        const int dot = t.indexOf(QLatin1Char('.'));
        intPart = t.left(dot);
        fracPart = t.mid(dot + 1);
    } else {
        intPart = t;
        intPart.remove(QLatin1Char('.'));
    }
    if (intPart.isEmpty() && fracPart.isEmpty()) return std::nullopt;
    for (QChar c : intPart)
        if (!c.isDigit() || c.unicode() > '9') return std::nullopt;
    for (QChar c : fracPart)
        if (!c.isDigit() || c.unicode() > '9') return std::nullopt;
    if (intPart.size() > 14) return std::nullopt;
    qint64 units = intPart.isEmpty() ? 0 : intPart.toLongLong();
    // Four places kept; a fifth decides the rounding, half away from zero.
    qint64 frac = 0;
    for (int i = 0; i < 4; ++i)
        frac = frac * 10 + (i < fracPart.size() ? fracPart[i].unicode() - '0' : 0);
    if (fracPart.size() > 4 && fracPart[4].unicode() >= '5') ++frac;
    qint64 raw = units * Scale + frac;
    return fromRaw(negative ? -raw : raw);
}

Currency Currency::roundedToCents() const {
    const qint64 step = Scale / 100;
    const qint64 a = m_raw < 0 ? -m_raw : m_raw;
    const qint64 r = (a + step / 2) / step * step;
    return fromRaw(m_raw < 0 ? -r : r);
}

Currency Currency::truncatedToUnits() const {
    return fromRaw(m_raw / Scale * Scale); // integer division truncates toward zero
}

Currency Currency::percentage(Currency percent) const {
    // raw * rate can pass 64 bits for large amounts: the product is taken in 128.
    const __int128 product = __int128(m_raw) * percent.m_raw;
    const __int128 a = product < 0 ? -product : product;
    const __int128 centDivisor = __int128(100) * Scale * (Scale / 100); // percent scale, then cents
    const __int128 cents = (2 * a + centDivisor) / (2 * centDivisor);
    const qint64 raw = qint64(cents) * (Scale / 100);
    return fromRaw(product < 0 ? -raw : raw);
}

QList<Currency> Currency::split(int n, RemainderOn remainderOn) const {
    QList<Currency> parts;
    if (n < 1) return parts;
    const Currency part = dividedToCents(n);
    parts.fill(part, n);
    parts[remainderOn == RemainderOn::First ? 0 : n - 1] = *this - part * (n - 1);
    return parts;
}

Currency Currency::dividedToCents(qint64 n) const {
    if (n == 0) return Currency();
    const qint64 step = Scale / 100;
    const qint64 a = m_raw < 0 ? -m_raw : m_raw;
    const qint64 an = n < 0 ? -n : n;
    // Cents of |value| / |n|, rounded half away from zero.
    const qint64 cents = (2 * a + an * step) / (2 * an * step);
    const bool negative = (m_raw < 0) != (n < 0);
    return fromRaw((negative ? -cents : cents) * step);
}

QString Currency::toString(int decimals, bool thousands) const {
    decimals = qBound(0, decimals, 4);
    qint64 div = 1;
    for (int i = decimals; i < 4; ++i)
        div *= 10;
    const qint64 a = m_raw < 0 ? -m_raw : m_raw;
    const qint64 scaled = (a + div / 2) / div; // half away from zero
    qint64 pow = 1;
    for (int i = 0; i < decimals; ++i)
        pow *= 10;
    const qint64 units = scaled / pow;
    const qint64 frac = scaled % pow;
    QString digits = QString::number(units);
    if (thousands)
        for (int i = digits.size() - 3; i > 0; i -= 3)
            digits.insert(i, QLatin1Char('.'));
    QString s = (m_raw < 0 && scaled != 0 ? QStringLiteral("-") : QString()) + digits;
    if (decimals > 0)
        s += QLatin1Char(',') + QString::number(frac).rightJustified(decimals, QLatin1Char('0'));
    return s;
}

QString Currency::toMoneyString() const {
    return QStringLiteral("R$ ") + toString(2, true);
}

QString Currency::toPlainString() const {
    const qint64 a = m_raw < 0 ? -m_raw : m_raw;
    return QString(m_raw < 0 ? QStringLiteral("-") : QString()) + QString::number(a / Scale) +
           QLatin1Char('.') + QString::number(a % Scale).rightJustified(4, QLatin1Char('0'));
}

} // namespace dv
