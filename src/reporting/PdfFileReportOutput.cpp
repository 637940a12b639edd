#include "PdfFileReportOutput.h"
#include "ReportDocument.h"
#include "ReportError.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dv {

void PdfFileReportOutput::write(const ReportDocument& document, const QString& fileName) {
    // The PDF writer only says that it failed; opening the file first gives the reason.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    {
        QFile probe(path);
        const bool existed = probe.exists();
        if (!probe.open(QIODevice::WriteOnly))
            throw ReportError(dv::text("Não foi possível gravar o arquivo %1: %2")
                                  .arg(QDir::toNativeSeparators(path), probe.errorString()));
        probe.close();
        if (!existed) probe.remove();
    }
    document.writePdf(path);
}

void PdfFileReportOutput::save(const ReportDocument& document, const QString& fileName) {
    write(document, fileName);
    services().dialogs().information(
        dv::text("Arquivo gravado em %1")
            .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())));
}

void PdfFileReportOutput::deliver(const ReportDocument& document) {
    write(document, m_fileName);
    ++m_deliveries;
    m_lastReport = document.name();
    m_lastPageCount = document.pageCount();
}

} // namespace dv
