#pragma once
#include <QString>

namespace dv {
class Dataset;
class DBGrid;
} // namespace dv

// What the screens that write to patients by WhatsApp share: the clinic's message
// texts kept in the database, the clinic's name for them, and opening the chat.
namespace dv::messages {

// The stored text of the named message ("confirmacao", "retorno"); empty when none.
QString storedTemplate(const QString& name);
// Keeps the text under the name for every user. An empty text is refused with a
// message and nothing changes; false then.
bool saveTemplate(const QString& name, const QString& text);
// Whether the user's group may change the screen's message texts (its edit right).
bool mayEditTemplates(const QString& formName);
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

// Before a screen closes with a message text changed and not saved: asks whether to
// keep it (only when the user may edit it). False when the user cancels or the text
// could not be kept: the screen then stays open.
bool offerToKeepTemplate(const QString& name, const QString& text, bool mayEdit);

} // namespace dv::messages
