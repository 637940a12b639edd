#include "CsvExporter.h"
#include "ExportFile.h"
#include "core/db/Dataset.h"

namespace dv {

namespace {

// Appends the value enclosed in double quotes, a quote inside doubled.
void appendQuoted(QString& line, const QString& value) {
    line += QLatin1Char('"');
    if (value.contains(QLatin1Char('"'))) {
        QString v = value;
        line += v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    } else {
        line += value;
    }
    line += QLatin1Char('"');
}

} // namespace

QString CsvExporter::quoted(const QString& value) {
    QString out;
    appendQuoted(out, value);
    return out;
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
    // One line buffer for the whole file: a list's export writes millions of values.
    for (int r = 0; r < rows; ++r) {
        line.clear();
        appendQuoted(line, QString::number(r + 1));
        for (const ExportColumn& c : cols) {
            line += QLatin1Char(',');
            appendQuoted(line, dataset.displayText(r, c.field)); // empty for a null
        }
        line += QLatin1String("\r\n");
        file.write(line);
    }
    file.commit();
}

} // namespace dv
