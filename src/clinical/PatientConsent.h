#pragma once
#include <QDateTime>
#include <QList>
#include <QString>

namespace dv {
class Connection;
} // namespace dv

// What a patient consented to (LGPD), kept as dated rows that are only ever added:
// a withdrawal is a new row, so the history stays.
namespace dv::consent {

enum class Kind { Treatment, Photos, WhatsApp };
inline constexpr Kind kKinds[] = {Kind::Treatment, Kind::Photos, Kind::WhatsApp};

// The stored name of a kind ("tratamento", "fotos", "whatsapp") and its caption.
QString code(Kind kind);
QString caption(Kind kind);

struct State {
    // NotAsked: no row yet (every patient of a clinic from before consents were kept).
    enum Answer { NotAsked, Granted, Withdrawn } answer = NotAsked;
    QDateTime when;
    QString user;
};

// The patient's latest answer of the kind.
State current(Connection& db, qint64 patient, Kind kind);
// One line for the screen: "Concedido em 10/12/2026 14:30 por ADMIN", "Retirado em ...",
// "Não registrado", in the interface's language.
QString describe(const State& state);
// A text of the consent's shared messages (language/Default_<code>.lpu, [Consentimento]).
QString message(const char* key, const QString& builtIn);
// Adds the patient's answer, dated now, by the session's user.
void record(Connection& db, qint64 patient, Kind kind, bool granted);
// Whether messages of the kind may go: only an explicit refusal or withdrawal stops
// them (a patient never asked keeps receiving what the clinic already sent).
bool allows(Connection& db, qint64 patient, Kind kind);

} // namespace dv::consent
