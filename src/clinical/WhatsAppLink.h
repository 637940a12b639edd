#pragma once
#include <QString>
#include <optional>

// A Brazilian mobile number in the international form WhatsApp links use ("5512998765432"):
// typed with or without punctuation, the country code, the trunk zero or a carrier code.
// Nothing when it is missing, too short or long, or not a mobile (the ninth digit),
// so a message is never sent to a number that cannot receive it.
std::optional<QString> normalizedMobile(const QString& phone);

// The click-to-chat link that opens WhatsApp on the message, ready to send by hand.
QString whatsAppLink(const QString& mobile, const QString& message);
