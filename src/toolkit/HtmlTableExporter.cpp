#include "HtmlTableExporter.h"
#include "Colors.h"
#include "ExportFile.h"
#include "core/db/Dataset.h"
#include <QRegularExpression>

namespace dv {

namespace {

QString escaped(const QString& text) {
    return text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString titleHtml(const QString& title) {
    static const QRegularExpression br(QStringLiteral("<br\\s*/?>"),
                                       QRegularExpression::CaseInsensitiveOption);
    QStringList parts = title.split(br);
    for (QString& p : parts)
        p = p.toHtmlEscaped();
    return parts.join(QStringLiteral("<br>"));
}

QString head(const QString& title) {
    static const QRegularExpression br(QStringLiteral("<br\\s*/?>"),
                                       QRegularExpression::CaseInsensitiveOption);
    QString plain = title;
    plain.replace(br, QStringLiteral(" - "));
    return QStringLiteral(
               "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
               "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\r\n"
               "<title>%1</title>\r\n<style>\r\n"
               "body { font-family: Verdana, Arial, sans-serif; font-size: 8pt; color: #2A2521; }\r\n"
               "h3 { font-size: 11pt; margin: 4px 0 8px 0; }\r\n"
               "table { border-collapse: collapse; }\r\n"
               "th { background: %2; border: 1px solid #A59D95; padding: 3px 6px; text-align: left;"
               " font-weight: bold; white-space: nowrap; }\r\n"
               "td { border: 1px solid #D2CCC6; padding: 2px 6px; vertical-align: top; }\r\n"
               "tr.alt td { background: %3; }\r\n"
               "td.n { text-align: right; }\r\n"
               "td.t { mso-number-format: \"\\@\"; }\r\n"
               "</style>\r\n</head>\r\n<body>\r\n")
        .arg(plain.toHtmlEscaped(), colorFromNumber(colors::gridTitle).name(),
             colorFromNumber(colors::gridAlternateRow).darker(103).name());
}

} // namespace

QString HtmlTableExporter::page(const Dataset& dataset, const QList<GridColumn>& columns,
                                const QString& title) {
    const QList<ExportColumn> cols = exportColumns(dataset, columns);
    QString out = head(title);
    if (!title.trimmed().isEmpty())
        out += QStringLiteral("<h3>") + titleHtml(title) + QStringLiteral("</h3>\r\n");
    out += QStringLiteral("<table>\r\n<thead><tr><th>") + recordNumberTitle().toHtmlEscaped() +
           QStringLiteral("</th>");
    for (const ExportColumn& c : cols)
        out += QStringLiteral("<th>") + escaped(c.title) + QStringLiteral("</th>");
    out += QStringLiteral("</tr></thead>\r\n<tbody>\r\n");
    const int rows = dataset.isActive() ? dataset.recordCount() : 0;
    for (int r = 0; r < rows; ++r) {
        out += r % 2 ? QStringLiteral("<tr class=\"alt\">") : QStringLiteral("<tr>");
        out += QStringLiteral("<td class=\"n\">") + QString::number(r + 1) + QStringLiteral("</td>");
        for (const ExportColumn& c : cols) {
            const QString text = dataset.isNull(r, c.field) ? QString() : dataset.displayText(r, c.field);
            const QString cls = c.field->isNumeric()                       ? QStringLiteral(" class=\"n\"")
                                : c.field->dataType() == FieldType::String ? QStringLiteral(" class=\"t\"")
                                                                           : QString();
            out += QStringLiteral("<td") + cls + QLatin1Char('>') + escaped(text) + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>\r\n");
    }
    out += QStringLiteral("</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n");
    return out;
}

void HtmlTableExporter::write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns,
                              const QString& title) {
    ExportFile file(path);
    file.write(page(dataset, columns, title));
    file.commit();
}

} // namespace dv
