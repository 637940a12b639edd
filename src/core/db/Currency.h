#pragma once
#include <QList>
#include <QMetaType>
#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace dv {

// Exact money: a count of ten-thousandths, as the database stores it.
// Never converted through double on the way in or out of storage.
class Currency {
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(qint64 tenThousandths) {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }
    static constexpr Currency fromUnits(qint64 units) { return fromRaw(units * Scale); }
    // Rounds half away from zero to four places; for values typed or computed in double.
    static Currency fromDouble(double value);
    // Parses "1.234,56", "1234,5", "-0,01", "R$ 10,00" (pt_BR) and "1234.56" (plain decimal point
    // when there is no comma). Empty or malformed text gives nullopt.
    static std::optional<Currency> parse(const QString& text);

    constexpr qint64 raw() const { return m_raw; }
    double toDouble() const { return double(m_raw) / Scale; }

    // "1.234,56" (two decimals, rounded half away from zero), the way the screens show money.
    QString toString(int decimals = 2, bool thousands = true) const;
    // "R$ 1.234,56"
    QString toMoneyString() const;
    // Plain "1234.5600" for files and SQL-free exports.
    QString toPlainString() const;

    constexpr Currency operator+(Currency o) const { return fromRaw(m_raw + o.m_raw); }
    constexpr Currency operator-(Currency o) const { return fromRaw(m_raw - o.m_raw); }
    constexpr Currency operator-() const { return fromRaw(-m_raw); }
    Currency& operator+=(Currency o) {
        m_raw += o.m_raw;
        return *this;
    }
    Currency& operator-=(Currency o) {
        m_raw -= o.m_raw;
        return *this;
    }
    // Multiplies by an integer count exactly.
    constexpr Currency operator*(qint64 n) const { return fromRaw(m_raw * n); }
    // Divides into n parts, rounding each half away from zero to the cent; the caller
    // puts the remainder where it belongs (installments put it on the last one).
    Currency dividedToCents(qint64 n) const;
    // Rounds to the cent, half away from zero.
    Currency roundedToCents() const;
    // Whole units, the fraction dropped toward zero: 12,99 gives 12,00 and -12,99 gives -12,00.
    Currency truncatedToUnits() const;
    // `percent` per cent of this amount, rounded to the cent half away from zero. The rate
    // is exact to four places as well (2,5 % is Currency::parse("2,5")).
    Currency percentage(Currency percent) const;
    // This amount in n parts of dividedToCents(n); the part named takes what is left, so
    // the parts add up exactly (100,00 in 3: 33,33 + 33,33 + 33,34 with the rest last).
    // Empty for n < 1.
    enum class RemainderOn { First, Last };
    QList<Currency> split(int n, RemainderOn remainderOn) const;

    constexpr auto operator<=>(const Currency&) const = default;

private:
    qint64 m_raw = 0;
};

} // namespace dv

Q_DECLARE_METATYPE(dv::Currency)
