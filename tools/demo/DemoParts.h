#pragma once
#include "core/db/Engine.h"
#include "gen_people.h"
#include <QDate>

namespace dv::demo {

// The demo's own additions to the generated clinic, each in the open transaction.
void brandCompany(Connection& c);
void staffDentists(Connection& c);
void chartTreatments(Connection& c, bench::Random& r, const QDate& today);
void bookAgenda(Connection& c, bench::Random& r, const QDate& today);

// Reading and binding, short.
inline QString text(const Cursor& c, int col) {
    const QByteArrayView v = c.utf8(col);
    return QString::fromUtf8(v.data(), v.size());
}
inline Param integer(const char* name, qint64 v) {
    return {QString::fromLatin1(name), ParamType::Integer, v};
}
// 0 binds NULL: a row that names nothing.
inline Param optionalId(const char* name, qint64 v) {
    return {QString::fromLatin1(name), ParamType::Integer, v ? QVariant(v) : QVariant()};
}
inline Param date(const char* name, const QDate& d) {
    return {QString::fromLatin1(name), ParamType::DateTime, d.isValid() ? QVariant(d) : QVariant()};
}
// Empty text binds NULL, as a field nobody filled.
inline Param string(const char* name, const QString& s) {
    return {QString::fromLatin1(name), ParamType::String, s.isEmpty() ? QVariant() : QVariant(s)};
}
inline Param flag(const char* name, bool on) {
    return {QString::fromLatin1(name), ParamType::String, on ? QStringLiteral("S") : QStringLiteral("N")};
}

} // namespace dv::demo
