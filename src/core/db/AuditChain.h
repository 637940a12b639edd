#pragma once
#include "Engine.h"
#include <QString>
#include <functional>

namespace dv {

// Seals the audit rows the triggers wrote in a transaction just before it commits:
// fills in workstation and user and links each row into the hash chain. The hash is
// computed here, not in the triggers: a trigger calling a function of ours would
// make every change made with the plain sqlcipher tool fail, while plain-SQL triggers
// record such changes too, and they stay without a hash, which the check reports.
class AuditSeal : public TransactionObserver {
public:
    using Text = std::function<QString()>;
    AuditSeal(Text user, Text workstation) : m_user(std::move(user)), m_workstation(std::move(workstation)) {}
    void begun(Connection& c) override;
    void committing(Connection& c) override;

private:
    Text m_user, m_workstation;
    qint64 m_mark = 0; // the last audit row before the transaction began
    bool m_hasTrail = false;
    bool m_hasDigest = false;
};

// One audit row as it is hashed.
struct AuditRow {
    qint64 id = 0;
    QDateTime when;
    QVariant workstation, user, table, key, action, patient, before, after;
    // Set once the values were removed (an anonymised patient): their digest as it was.
    QVariant valuesDigest;
};
// SHA-256 (hex) of a row's old and new values. The chain covers the values through
// this digest, so that they can be removed later without breaking it.
QString auditValuesDigest(const QVariant& before, const QVariant& after);
// SHA-256 (hex) of a row and the hash of the row before it.
QString auditHash(const AuditRow& row, const QString& previousHash);
// The hash rows were sealed with before the chain covered the values through their
// digest (the values themselves in the content): such rows still check.
QString auditHashFirstVersion(const AuditRow& row, const QString& previousHash);

// What stands in the old and new values of a trail row whose values were removed.
inline constexpr auto kRedactedAuditValues = "{\"anonimizado\":true}";
// Removes the old and new values of the sealed trail rows about the patient in the
// given tables, keeping each row's digest, so that the chain still checks and any
// other change is still found. Returns the rows redacted. Runs in the caller's
// transaction; unsealed rows are left to the seal.
qint64 redactAuditValues(Connection& c, qint64 patient, const QStringList& tables);

struct AuditCheck {
    qint64 rowsChecked = 0;
    qint64 brokenRow = 0; // 0: the chain is whole
    enum Problem { None, NotSealed, Mismatch } problem = None;
};
// Walks the whole chain in order; stops at the first row that is not what was sealed
// (changed, out of place after a deletion, or written outside the program).
AuditCheck checkAuditChain(Connection& c);

} // namespace dv
