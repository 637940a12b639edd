#include "WhatsAppLink.h"
#include <QUrl>

std::optional<QString> normalizedMobile(const QString& phone) {
    QString digits;
    for (const QChar c : phone)
        if (c.isDigit()) digits += c;
    if (phone.trimmed().startsWith(QLatin1Char('+')) ||
        (digits.startsWith(QLatin1String("55")) && digits.size() == 13))
        digits = digits.mid(2);
    else if (digits.size() == 14 && digits.at(2) == QLatin1Char('0'))
        // The phone boxes' mask "99(999)99999-9999": carrier code, 0 + area, number.
        digits = digits.mid(3);
    else if (digits.startsWith(QLatin1Char('0')))
        // Long-distance dialling: 0 + area, or 0 + carrier code + area.
        digits = digits.size() == 14 ? digits.mid(3) : digits.mid(1);
    // Area code (11 to 99), then the nine-digit mobile starting with 9.
    if (digits.size() != 11 || digits.at(0) == QLatin1Char('0') || digits.at(1) == QLatin1Char('0') ||
        digits.at(2) != QLatin1Char('9'))
        return std::nullopt;
    return QStringLiteral("55") + digits;
}

QString whatsAppLink(const QString& mobile, const QString& message) {
    return QStringLiteral("https://wa.me/") + mobile + QStringLiteral("?text=") +
           QString::fromLatin1(QUrl::toPercentEncoding(message));
}
