#include "Engine.h"
#include "CodeTextLookup.h"
#include "ConnectionString.h"
#include "DbErrors.h"
#include "PgEngine.h"
#include "SqlCipherEngine.h"
#include <QDir>
#include <QRegularExpression>

namespace dv {

std::unique_ptr<Connection> Connection::open(const QString& connectionString, const QString& baseFolder) {
    const ConnectionString cs = ConnectionString::parse(connectionString);
    const QString provider = cs.value(QStringLiteral("Provider"));
    QString source = cs.value(QStringLiteral("Data Source"));
    // A server database is named by a postgresql:// URL or a libpq keyword string.
    if (PgEngine::isServerSource(source)) return std::make_unique<PgEngine>(source);
    if (!provider.isEmpty() &&
        provider.compare(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive) != 0)
        throw EngineError(
            dv::text("O provedor '%1' não foi encontrado. Talvez não esteja instalado corretamente.")
                .arg(provider));
    // Names written for the old platform use '\' between folders.
    source.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (source.isEmpty()) throw EngineError(dv::text("O arquivo '%1' não foi encontrado.").arg(QString()));
    if (QDir::isRelativePath(source)) source = QDir(baseFolder).filePath(source);
    return std::make_unique<SqlCipherEngine>(source, cs.value(QStringLiteral("Jet OLEDB:Database Password")));
}

bool Connection::needsOwnTransaction(const QString& sql) const {
    static const QRegularExpression write(QStringLiteral("^\\s*(insert|update|delete)\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
    return m_observer && transactionDepth() == 0 && write.match(sql).hasMatch();
}

void Connection::notifyBegun() {
    if (!m_observer) return;
    try {
        m_observer->begun(*this);
    } catch (...) {
        rollback();
        throw;
    }
}

void Connection::notifyCommitting() {
    if (!m_observer) return;
    try {
        m_observer->committing(*this);
    } catch (...) {
        rollback();
        throw;
    }
}

void Connection::restoreFrom(const QString&) {
    throw EngineError(QStringLiteral("The %1 engine cannot restore backups.").arg(engineName()));
}

} // namespace dv
