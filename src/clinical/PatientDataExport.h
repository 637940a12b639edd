#pragma once
#include <QJsonObject>
#include <QString>

// A patient's answer to a data-subject request (LGPD): everything stored about one
// patient, as JSON for machines and a PDF summary for people, with the photos as files.
namespace dv {

// Every row about the patient, table by table (keys sorted, dates ISO, money as
// decimal strings; pictures as the names of their files in the export).
QJsonObject patientDataJson(qint64 patient);

// Writes dados.json, resumo.pdf and the photos into a new folder inside the given one
// and records the export in the audit trail; gives the new folder. A folder that
// cannot be written raises dv::PlainError with the reason; then nothing is left behind
// and nothing is recorded.
QString exportPatientData(qint64 patient, const QString& folder);

// Asks for the folder (the file-dialog service), exports, and says where it went or
// why it could not. False when nothing was exported.
bool exportPatientDataAsked(qint64 patient);

} // namespace dv
