#include "ConnectionString.h"

namespace dv {

ConnectionString ConnectionString::parse(const QString& text) {
    ConnectionString cs;
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        if (part.trimmed().isEmpty()) continue;
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) {
            cs.m_pairs.append({part.trimmed(), QString()});
            continue;
        }
        cs.m_pairs.append({part.left(eq).trimmed(), part.mid(eq + 1).trimmed()});
    }
    return cs;
}

QString ConnectionString::value(const QString& name) const {
    for (const auto& p : m_pairs)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) return p.second;
    return QString();
}

bool ConnectionString::contains(const QString& name) const {
    for (const auto& p : m_pairs)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace dv
