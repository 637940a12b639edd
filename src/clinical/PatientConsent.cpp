#include "PatientConsent.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/db/Engine.h"

namespace dv::consent {

QString code(Kind kind) {
    switch (kind) {
    case Kind::Treatment:
        return QStringLiteral("tratamento");
    case Kind::Photos:
        return QStringLiteral("fotos");
    case Kind::WhatsApp:
        break;
    }
    return QStringLiteral("whatsapp");
}

QString caption(Kind kind) {
    switch (kind) {
    case Kind::Treatment:
        return QStringLiteral("Dados do tratamento");
    case Kind::Photos:
        return QStringLiteral("Fotos");
    case Kind::WhatsApp:
        break;
    }
    return QStringLiteral("Mensagens por WhatsApp");
}

State current(Connection& db, qint64 patient, Kind kind) {
    // The highest number is the latest: rows are only added.
    auto cur =
        db.query(QStringLiteral(
                     "select consentimento_concedido, consentimento_data, consentimento_usuario from "
                     "paciente_consentimento where paciente_id = :paciente_id and consentimento_tipo = :tipo "
                     "order by consentimento_id desc limit 1"),
                 {{QStringLiteral("paciente_id"), ParamType::Integer, patient},
                  {QStringLiteral("tipo"), ParamType::Text, code(kind)}});
    State s;
    if (!cur->next()) return s;
    s.answer = QString::fromUtf8(cur->utf8(0)).trimmed().toUpper() == QLatin1String("S") ? State::Granted
                                                                                         : State::Withdrawn;
    s.when = cur->dateTime(1);
    s.user = cur->isNull(2) ? QString() : QString::fromUtf8(cur->utf8(2));
    return s;
}

QString message(const char* key, const QString& builtIn) {
    return sharedMessage(QStringLiteral("Consentimento"), QString::fromLatin1(key), builtIn);
}

QString describe(const State& state) {
    if (state.answer == State::NotAsked) return message("sNaoRegistrado", QStringLiteral("Não registrado"));
    QString text = (state.answer == State::Granted ? message("sConcedidoEm", QStringLiteral("Concedido em"))
                                                   : message("sRetiradoEm", QStringLiteral("Retirado em"))) +
                   QLatin1Char(' ') + state.when.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
    if (!state.user.isEmpty())
        text += QLatin1Char(' ') + message("sPor", QStringLiteral("por")) + QLatin1Char(' ') + state.user;
    return text;
}

void record(Connection& db, qint64 patient, Kind kind, bool granted) {
    db.execute(
        QStringLiteral("insert into paciente_consentimento (paciente_id, consentimento_tipo, "
                       "consentimento_concedido, consentimento_data, consentimento_usuario) values "
                       "(:paciente_id, :tipo, :concedido, :data, :usuario)"),
        {{QStringLiteral("paciente_id"), ParamType::Integer, patient},
         {QStringLiteral("tipo"), ParamType::Text, code(kind)},
         {QStringLiteral("concedido"), ParamType::Text, granted ? QStringLiteral("S") : QStringLiteral("N")},
         {QStringLiteral("data"), ParamType::DateTime, services().clock().now()},
         {QStringLiteral("usuario"), ParamType::Text, session().userLogin().left(30)}});
}

bool allows(Connection& db, qint64 patient, Kind kind) {
    return current(db, patient, kind).answer != State::Withdrawn;
}

} // namespace dv::consent
