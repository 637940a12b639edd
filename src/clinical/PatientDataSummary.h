#pragma once
#include "reporting/ReportDocument.h"
#include <QJsonObject>

namespace dv {

// The readable summary of a patient's exported data (patientDataJson): the record
// field by field, then each table's rows, and the audit trail's rows (when, who,
// what); the JSON beside it holds every value.
ReportDocument patientDataSummary(const QJsonObject& data);

} // namespace dv
