#pragma once
#include "core/db/Currency.h"
#include <QMap>
#include <QString>
#include <optional>

namespace dv::pix {

// A static Pix charge as the Central Bank's BR Code carries it ("copia e cola").
struct Charge {
    QString key;       // the clinic's Pix key: CPF, CNPJ, e-mail, +55 phone or random key
    QString name;      // beneficiary, cut to 25 characters
    QString city;      // beneficiary's city, cut to 15 characters
    Currency amount;   // zero leaves the amount to the payer
    QString reference; // txid: letters and digits, up to 25; empty gives "***"
};

// CRC16-CCITT-FALSE (polynomial 0x1021, initial 0xFFFF), as the payload's field 63 carries it.
quint16 crc16(const QByteArray& data);

// The key as the banks expect it (digits of a CPF/CNPJ without punctuation, e-mail and
// random keys in lower case); empty when it is none of the accepted kinds.
QString normalizedKey(const QString& key);

// Upper-case ASCII without accents, as the payload's name and city must be, cut to `max`.
QString normalizedText(const QString& text, int max);

// The payload text, or empty when the key is not valid (a charge nobody could pay
// must not be printed).
QString payload(const Charge& charge);

// A payload read back: its top-level fields by id ("54" -> "150.00") and the merchant
// account's sub-fields ("26.01" -> the key). Empty when the text is not a well-formed
// payload or its CRC does not match.
struct Decoded {
    QMap<QString, QString> fields;
    QString value(const QString& id) const { return fields.value(id); }
};
std::optional<Decoded> decode(const QString& payload);

} // namespace dv::pix
