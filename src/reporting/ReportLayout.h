#pragma once
#include "ReportDocument.h"
#include "ReportModel.h"
#include <QDateTime>

namespace dv {

class ReportConnections;

// Runs a report of the project over the registered data connections and lays it
// out into sheets. It reads the datasets without moving them: the detail's rows in
// the dataset's current order and filter, other connections at their current row.
//
// ReportError when a connection the report uses is not registered, when a dataset
// lacks a field the report names, or when a band does not fit on its sheet.
class ReportLayout {
public:
    ReportLayout(const report::Report& report, const ReportConnections& connections);

    // The moment printed by {printDate} and {printTime}; the clock service's now by default.
    void setPrintTime(const QDateTime& when) { m_printTime = when; }
    // Folder against which relative picture file links are read; the executable folder by default.
    void setBaseFolder(const QString& folder) { m_baseFolder = folder; }

    ReportDocument run();

private:
    const report::Report& m_report;
    const ReportConnections& m_connections;
    QDateTime m_printTime;
    QString m_baseFolder;
};

} // namespace dv
