#include "CsvExporter.h"
#include "ExportFile.h"
#include "core/db/Dataset.h"

namespace dv {

QString CsvExporter::quoted(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

void CsvExporter::write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns) {
    const QList<ExportColumn> cols = exportColumns(dataset, columns);
    ExportFile file(path);
    file.write(QByteArray("\xEF\xBB\xBF"));
    QString line = quoted(recordNumberTitle());
    for (const ExportColumn& c : cols)
        line += QLatin1Char(',') + quoted(c.title);
    file.write(line + QStringLiteral("\r\n"));
    const int rows = dataset.isActive() ? dataset.recordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        line = quoted(QString::number(r + 1));
        for (const ExportColumn& c : cols)
            line += QLatin1Char(',') +
                    quoted(dataset.isNull(r, c.field) ? QString() : dataset.displayText(r, c.field));
        line += QStringLiteral("\r\n");
        file.write(line);
    }
    file.commit();
}

} // namespace dv
