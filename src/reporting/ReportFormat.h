#pragma once
#include <QString>
#include <QVariant>

namespace dv {
class Field;
}

// How a report shows a value under a format keyword of its text templates
// (see ReportParser.h): dates day first, money with "R$", flags as Sim/Não.
namespace dv::report {

// A field's value; without a format, as the field shows it on screen.
QString formatFieldValue(const Field* field, const QVariant& value, const QString& format);
// A value without a field (totals); without a format, money "1.234,56", counts "1.234".
QString formatValue(const QVariant& value, const QString& format);

} // namespace dv::report
