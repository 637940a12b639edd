#pragma once
#include "ReportOutput.h"
#include <QString>

namespace dv {

// Writes every report it is given to one PDF file, without asking (tests, and
// saving a report where the program decides).
class PdfFileReportOutput : public ReportOutput {
public:
    explicit PdfFileReportOutput(QString fileName) : m_fileName(std::move(fileName)) {}
    void deliver(const ReportDocument& document) override;

    // Saving the user asked for: writes the file, then tells where it went ("Arquivo
    // gravado em ..." through the dialog service). A file that cannot be written raises
    // ReportError with the system's reason and leaves nothing behind.
    static void save(const ReportDocument& document, const QString& fileName);
    // The same without telling.
    static void write(const ReportDocument& document, const QString& fileName);

    const QString& fileName() const { return m_fileName; }
    // Reports written so far, and the name and sheet count of the last one.
    int deliveries() const { return m_deliveries; }
    const QString& lastReport() const { return m_lastReport; }
    int lastPageCount() const { return m_lastPageCount; }

private:
    QString m_fileName;
    int m_deliveries = 0;
    QString m_lastReport;
    int m_lastPageCount = 0;
};

} // namespace dv
