#include "PatientMessages.h"
#include "PatientConsent.h"
#include "WhatsAppLink.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "toolkit/DBGrid.h"
#include <QPointer>

namespace dv::messages {

namespace {
QString firstText(const QString& sql, const Params& params = {}) {
    auto c = dm().ADOConexao()->query(sql, params);
    return c->next() && !c->isNull(0) ? QString::fromUtf8(c->utf8(0)) : QString();
}
} // namespace

QString clinicName() {
    return firstText(QStringLiteral("select empresa_nome from empresa order by empresa_id")).trimmed();
}

QString whatsAppColumn(qint64 patientId, const QString& storedMobile) {
    if (!consent::allows(*dm().ADOConexao(), patientId, consent::Kind::WhatsApp))
        return dv::text("Sem consentimento");
    const QString phone = storedMobile.trimmed();
    if (const std::optional<QString> mobile = normalizedMobile(phone)) return *mobile;
    // Flags are shown, not stored: they speak the interface language.
    return phone.isEmpty() ? dv::text("Celular ausente") : dv::text("Celular inválido");
}

void markFlaggedMobiles(DBGrid* grid, Dataset* rows) {
    // The rows may go before the grid when the screen closes.
    grid->setCellColors([rows = QPointer<Dataset>(rows)](int row, const Field* field, CellColors& colors) {
        if (!rows || !field || field->fieldName() != QLatin1String("whatsapp")) return;
        if (normalizedMobile(rows->value(row, field).toString())) return;
        colors.foreground = QBrush(QColor(0xb7, 0x1c, 0x1c));
    });
}

bool openWhatsApp(qint64 patientId, const QString& patient, const QString& storedMobile,
                  const QString& message) {
    if (!consent::allows(*dm().ADOConexao(), patientId, consent::Kind::WhatsApp)) {
        services().dialogs().warning(
            dv::text("O paciente %1 não consente em receber mensagens por WhatsApp. Fale com ele por "
                     "telefone.")
                .arg(patient));
        return false;
    }
    const QString phone = storedMobile.trimmed();
    const std::optional<QString> mobile = normalizedMobile(phone);
    if (!mobile) {
        services().dialogs().warning(
            phone.isEmpty()
                ? dv::text("O paciente %1 não tem celular cadastrado. Fale com ele por telefone.")
                      .arg(patient)
                : dv::text("O celular \"%1\" do paciente %2 não é um celular válido. Corrija o cadastro "
                           "do paciente ou fale com ele por telefone.")
                      .arg(phone, patient));
        return false;
    }
    services().shell().open(whatsAppLink(*mobile, message));
    return true;
}

} // namespace dv::messages
