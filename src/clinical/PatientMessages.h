#pragma once
#include <QString>

namespace dv {
class Dataset;
class DBGrid;
} // namespace dv

// What the screens that write to patients by WhatsApp share: the clinic's name for
// their messages, the number a message goes to, and opening the chat. The message
// texts themselves are edited through MessageTemplate.
namespace dv::messages {

// The clinic's name, as the company record has it.
QString clinicName();
// The number the message goes to, or why none can: "Sem consentimento" (the patient
// refused or withdrew consent to WhatsApp messages), "Celular ausente", "Celular inválido".
QString whatsAppColumn(qint64 patientId, const QString& storedMobile);
// Paints the grid's "whatsapp" cells that name no number, so they stand out.
void markFlaggedMobiles(DBGrid* grid, Dataset* rows);
// Opens the chat with the patient on the message; a patient without consent, or a
// missing or invalid mobile, gets a clear message instead and opens nothing. False
// when nothing was opened.
bool openWhatsApp(qint64 patientId, const QString& patient, const QString& storedMobile,
                  const QString& message);

} // namespace dv::messages
