#include "XmlDataPacketExporter.h"
#include "ExportFile.h"
#include "core/db/Currency.h"
#include "core/db/Dataset.h"
#include <QBuffer>
#include <QXmlStreamWriter>

namespace dv {

namespace {

// Only characters XML 1.0 allows.
QString xmlSafe(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const ushort u = c.unicode();
        if (u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D) continue;
        if (u == 0xFFFE || u == 0xFFFF) continue;
        if (c.isHighSurrogate()) {
            if (i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                out += c;
                out += text[++i];
            }
            continue;
        }
        if (c.isLowSurrogate()) continue;
        out += c;
    }
    return out;
}

// An attribute name from a field name: letters, digits, '_', '-', '.'; not starting with a digit.
QString attributeName(const QString& fieldName) {
    QString name;
    for (const QChar c : fieldName)
        name +=
            (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.'))
                ? c
                : QLatin1Char('_');
    if (name.isEmpty() || name[0].isDigit() || name[0] == QLatin1Char('-') || name[0] == QLatin1Char('.'))
        name.prepend(QLatin1Char('_'));
    return name;
}

void fieldDefinition(QXmlStreamWriter& xml, const Field& f) {
    xml.writeEmptyElement(QStringLiteral("FIELD"));
    xml.writeAttribute(QStringLiteral("attrname"), attributeName(f.fieldName()));
    switch (f.dataType()) {
    case FieldType::Integer:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("i4"));
        break;
    case FieldType::AutoInc:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("i4"));
        xml.writeAttribute(QStringLiteral("readonly"), QStringLiteral("true"));
        xml.writeAttribute(QStringLiteral("SUBTYPE"), QStringLiteral("Autoinc"));
        break;
    case FieldType::LargeInt:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("i8"));
        break;
    case FieldType::Float:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("r8"));
        break;
    case FieldType::Currency:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("r8"));
        xml.writeAttribute(QStringLiteral("SUBTYPE"), QStringLiteral("Money"));
        break;
    case FieldType::DateTime:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("dateTime"));
        break;
    case FieldType::Memo:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("bin.hex"));
        xml.writeAttribute(QStringLiteral("SUBTYPE"), QStringLiteral("Text"));
        break;
    case FieldType::Blob:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("bin.hex"));
        xml.writeAttribute(QStringLiteral("SUBTYPE"), QStringLiteral("Binary"));
        break;
    case FieldType::String:
    case FieldType::Unknown:
        xml.writeAttribute(QStringLiteral("fieldtype"), QStringLiteral("string"));
        xml.writeAttribute(QStringLiteral("WIDTH"), QString::number(f.size() > 0 ? f.size() : 255));
        break;
    }
}

QString valueText(const Dataset& ds, int row, const Field& f) {
    const QVariant v = ds.value(row, &f);
    switch (f.dataType()) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return QString::number(v.toLongLong());
    case FieldType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldType::Currency: {
        // Exact to the four decimals the column keeps, with a decimal point.
        const Currency c = v.value<Currency>();
        const qint64 raw = c.raw();
        const qint64 whole = raw / 10000;
        qint64 frac = raw % 10000;
        QString text = (raw < 0 && whole == 0 ? QStringLiteral("-") : QString()) + QString::number(whole);
        if (frac != 0) {
            if (frac < 0) frac = -frac;
            QString digits = QStringLiteral("%1").arg(frac, 4, 10, QLatin1Char('0'));
            while (digits.endsWith(QLatin1Char('0')))
                digits.chop(1);
            text += QLatin1Char('.') + digits;
        }
        return text;
    }
    case FieldType::DateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.toString(QStringLiteral("yyyyMMdd'T'hh:mm:ss")) +
               QStringLiteral("%1").arg(dt.time().msec(), 3, 10, QLatin1Char('0'));
    }
    case FieldType::Blob:
        return QString::fromLatin1(v.toByteArray().toBase64());
    default:
        return xmlSafe(v.toString());
    }
}

} // namespace

void XmlDataPacketExporter::write(const QString& path, const Dataset& dataset, const Progress& progress) {
    QList<Field*> fields;
    for (Field* f : dataset.fields())
        if (f->isData()) fields << f;

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(false);
    ExportFile file(path);
    file.write(QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?>"));
    xml.writeStartElement(QStringLiteral("DATAPACKET"));
    xml.writeAttribute(QStringLiteral("Version"), QStringLiteral("2.0"));
    xml.writeStartElement(QStringLiteral("METADATA"));
    xml.writeStartElement(QStringLiteral("FIELDS"));
    for (const Field* f : std::as_const(fields))
        fieldDefinition(xml, *f);
    xml.writeEndElement(); // FIELDS
    xml.writeEmptyElement(QStringLiteral("PARAMS"));
    xml.writeEndElement(); // METADATA
    xml.writeStartElement(QStringLiteral("ROWDATA"));
    const int rows = dataset.isActive() ? dataset.recordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        xml.writeEmptyElement(QStringLiteral("ROW"));
        for (const Field* f : std::as_const(fields)) {
            if (dataset.isNull(r, f)) continue;
            xml.writeAttribute(attributeName(f->fieldName()), valueText(dataset, r, *f));
        }
        if (out.size() > (1 << 20)) {
            file.write(out.data());
            out.buffer().clear();
            out.seek(0);
        }
        if (progress) progress(r + 1, rows);
    }
    xml.writeEndElement(); // ROWDATA
    xml.writeEndElement(); // DATAPACKET
    file.write(out.data());
    file.commit();
}

} // namespace dv
