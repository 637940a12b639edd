#pragma once
#include <QDate>
#include <QList>
#include <QString>

namespace dv {
class Connection;
} // namespace dv

// Removing a patient's personal data once the clinic's retention period has passed
// (LGPD), keeping the clinical and financial history under an anonymous record.
namespace dv::anonymisation {

// Years the clinic keeps personal data after the last consultation (after the
// registration for a patient without one); 20 unless the clinic set another.
int retentionYears(Connection& db);
// 1 to 100 years; anything else raises dv::PlainError and changes nothing.
void setRetentionYears(Connection& db, int years);

// The patients past the period on the given day (:limite, :hoje): not yet anonymised,
// nothing booked from that day on, last consultation (or registration) before the limit.
// In no particular order: the screen orders the rows itself (candidatesOrder()).
QString candidatesSql();
// By name as Portuguese speakers expect it, then patient code for namesakes.
QString candidatesOrder();

// The tables whose trail rows carry personal values, cleared with the patient's data.
QStringList personalTables();

// In one transaction: names, documents, contacts, address, notes and photos of each
// patient removed; consultations, items, installments and appointments kept; the old
// values taken out of the trail (the chain still checks); the anonymisation recorded.
void anonymise(Connection& db, const QList<qint64>& patients);

} // namespace dv::anonymisation
