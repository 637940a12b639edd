#pragma once
#include <QList>
#include <QPair>
#include <QString>

namespace dv {

// Semicolon-separated name=value pairs, unquoted: a value containing ';'
// is cut there, as the connection string has always behaved.
class ConnectionString {
public:
    static ConnectionString parse(const QString& text);

    // Value of the first pair whose name matches without regard to case; empty when absent.
    QString value(const QString& name) const;
    bool contains(const QString& name) const;
    const QList<QPair<QString, QString>>& pairs() const { return m_pairs; }

private:
    QList<QPair<QString, QString>> m_pairs;
};

} // namespace dv
