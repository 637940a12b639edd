#include "PixPayload.h"
#include <QRegularExpression>

namespace dv::pix {

namespace {

const QString kGui = QStringLiteral("br.gov.bcb.pix");

QString tlv(const QString& id, const QString& value) {
    return id + QStringLiteral("%1").arg(value.size(), 2, 10, QLatin1Char('0')) + value;
}

// Parses id/length/value triples; nullopt when a length runs past the end.
std::optional<QList<std::pair<QString, QString>>> splitTlv(const QString& text) {
    QList<std::pair<QString, QString>> out;
    int i = 0;
    while (i < text.size()) {
        if (i + 4 > text.size()) return std::nullopt;
        bool ok = false;
        const int len = text.mid(i + 2, 2).toInt(&ok);
        if (!ok || len < 0 || i + 4 + len > text.size()) return std::nullopt;
        out.append({text.mid(i, 2), text.mid(i + 4, len)});
        i += 4 + len;
    }
    return out;
}

QString amountText(Currency amount) {
    const Currency cents = amount.roundedToCents();
    const qint64 c = cents.raw() / 100;
    return QStringLiteral("%1.%2").arg(c / 100).arg(c % 100, 2, 10, QLatin1Char('0'));
}

} // namespace

quint16 crc16(const QByteArray& data) {
    quint16 crc = 0xFFFF;
    for (const char ch : data) {
        crc ^= quint16(quint8(ch)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}

QString normalizedKey(const QString& key) {
    const QString k = key.trimmed();
    if (k.isEmpty()) return {};
    static const QRegularExpression email(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    static const QRegularExpression evp(
        QStringLiteral("^[0-9a-fA-F]{8}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{4}-[0-9a-fA-F]{12}$"));
    static const QRegularExpression phone(QStringLiteral("^\\+55[0-9]{10,11}$"));
    static const QRegularExpression document(QStringLiteral("^[0-9./\\-]+$"));
    if (k.size() <= 77 && email.match(k).hasMatch()) return k.toLower();
    if (evp.match(k).hasMatch()) return k.toLower();
    QString compact = k;
    compact.remove(QRegularExpression(QStringLiteral("[\\s()\\-]")));
    if (phone.match(compact).hasMatch()) return compact;
    if (document.match(k).hasMatch()) {
        QString digits = k;
        digits.remove(QRegularExpression(QStringLiteral("[^0-9]")));
        if (digits.size() == 11 || digits.size() == 14) return digits;
    }
    return {};
}

QString normalizedText(const QString& text, int max) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.isMark()) continue; // the accent of a decomposed letter
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
            out += c;
        else if (c.isSpace())
            out += QLatin1Char(' ');
    }
    return out.simplified().toUpper().left(max).trimmed();
}

QString payload(const Charge& charge) {
    const QString key = normalizedKey(charge.key);
    if (key.isEmpty()) return {};
    QString name = normalizedText(charge.name, 25);
    QString city = normalizedText(charge.city, 15);
    if (name.isEmpty()) name = QStringLiteral("N");
    if (city.isEmpty()) city = QStringLiteral("BRASIL");
    QString reference = charge.reference;
    reference.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
    reference = reference.left(25);
    if (reference.isEmpty()) reference = QStringLiteral("***");

    QString text = tlv(QStringLiteral("00"), QStringLiteral("01"));
    text += tlv(QStringLiteral("26"), tlv(QStringLiteral("00"), kGui) + tlv(QStringLiteral("01"), key));
    text += tlv(QStringLiteral("52"), QStringLiteral("0000"));
    text += tlv(QStringLiteral("53"), QStringLiteral("986"));
    if (charge.amount > Currency()) text += tlv(QStringLiteral("54"), amountText(charge.amount));
    text += tlv(QStringLiteral("58"), QStringLiteral("BR"));
    text += tlv(QStringLiteral("59"), name);
    text += tlv(QStringLiteral("60"), city);
    text += tlv(QStringLiteral("62"), tlv(QStringLiteral("05"), reference));
    text += QStringLiteral("6304");
    return text + QStringLiteral("%1").arg(crc16(text.toLatin1()), 4, 16, QLatin1Char('0')).toUpper();
}

std::optional<Decoded> decode(const QString& payload) {
    if (payload.size() < 8 || !payload.startsWith(QLatin1String("000201"))) return std::nullopt;
    const QString body = payload.left(payload.size() - 4);
    if (!body.endsWith(QLatin1String("6304"))) return std::nullopt;
    const QString crc = payload.right(4);
    if (crc.compare(QStringLiteral("%1").arg(crc16(body.toLatin1()), 4, 16, QLatin1Char('0')),
                    Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const auto top = splitTlv(payload);
    if (!top) return std::nullopt;
    Decoded d;
    for (const auto& [id, value] : *top) {
        d.fields.insert(id, value);
        if (id == QLatin1String("26") || id == QLatin1String("62")) {
            const auto sub = splitTlv(value);
            if (!sub) return std::nullopt;
            for (const auto& [subId, subValue] : *sub)
                d.fields.insert(id + QLatin1Char('.') + subId, subValue);
        }
    }
    return d;
}

} // namespace dv::pix
