#pragma once
#include "Currency.h"
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <optional>

// Brazilian formatting and parsing for the whole process: dates are day first
// ("dd/MM/yyyy"), decimals use the comma and thousands the dot, whatever the
// locale of the machine. Everything the system shows or reads goes through here.
namespace dv::br {

// ---- dates ------------------------------------------------------------------

// "dd/MM/yyyy"; empty for an invalid date.
QString formatDate(const QDate& date);
QString formatDate(const QDateTime& dateTime);
// "hh:mm:ss"
QString formatTime(const QTime& time);

enum class TimePart {
    Always,     // "dd/MM/yyyy hh:mm:ss"
    WhenNonZero // the time only when it is not midnight, as the system shows date-times
};
// Empty for an invalid date-time.
QString formatDateTime(const QDateTime& dateTime, TimePart part = TimePart::Always);
// The same from a day and a time of day: no time zone is consulted.
QString formatDateTime(const QDate& date, const QTime& time, TimePart part = TimePart::Always);

// Reads "dd/MM/yyyy" and the short forms "d/M/yy", "d/M/yyyy". A two-digit year
// is taken as 1990-2089 (90..99 -> 1990s, 00..89 -> 2000s). Blanks around are ignored.
// nullopt for anything else, including days that do not exist (31/02/2024).
std::optional<QDate> parseDate(const QString& text);
// A date as parseDate reads it, optionally followed by a blank and "hh:mm" or "hh:mm:ss".
std::optional<QDateTime> parseDateTime(const QString& text);

// ---- numbers ----------------------------------------------------------------

// Fixed decimals, rounded half away from zero: formatNumber(1234.5, 2) == "1.234,50".
QString formatNumber(double value, int decimals, bool thousands = true);
// Whole number, optionally grouped: formatInteger(1234567, true) == "1.234.567".
QString formatInteger(qint64 value, bool thousands = false);
// The general form of a floating value: up to 15 significant digits, decimal comma,
// no grouping ("1234,5", "0,1", "-3").
QString formatFloat(double value);

// Reads "1.234,56", "1234,56", "-0,5", "+3", "1234". With a comma present, dots group
// thousands; without one a single dot is the decimal point ("1234.56"), as Currency::parse.
// nullopt for empty or malformed text.
std::optional<double> parseNumber(const QString& text);
// Reads a whole number ("1234", "-7", "1.234"); nullopt when it has a fraction or is malformed.
std::optional<qint64> parseInteger(const QString& text);

// ---- money ------------------------------------------------------------------

// "1.234,56"
QString formatCurrency(Currency value);
// "R$ 1.234,56"
QString formatMoney(Currency value);
// As Currency::parse ("R$ 1.234,56", "1234,5", "-0,01").
std::optional<Currency> parseMoney(const QString& text);

// ---- display formats --------------------------------------------------------
// The numeric display formats the fields declare, in the classic mask language:
// '0' a digit always shown, '#' a digit shown when significant, '.' the decimal
// point (shown as ','), ',' anywhere asks for thousands grouping (shown as '.'),
// text in quotes and any other character literal, up to three sections
// "positive;negative;zero". "R$ #,##0.00" shows 1234.5 as "R$ 1.234,50".
QString formatMask(const QString& mask, Currency value);
QString formatMask(const QString& mask, double value);
QString formatMask(const QString& mask, qint64 value);

// Date display formats: d dd ddd dddd, m mm mmm mmmm (minutes right after an hour),
// yy yyyy, h hh, n nn, s ss, z zzz, t (hh:nn), tt (hh:nn:ss), c (date, and the time
// when not midnight), '/' and ':' as themselves, quoted text literal.
// Month and day names are Portuguese.
QString formatDateTimeMask(const QString& mask, const QDateTime& dateTime);
QString formatDateTimeMask(const QString& mask, const QDate& date, const QTime& time);

} // namespace dv::br
