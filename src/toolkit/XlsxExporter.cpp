#include "XlsxExporter.h"
#include "Colors.h"
#include "ExportFile.h"
#include "core/CodeTexts.h"
#include "core/db/Currency.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <xlsxwriter.h>

namespace dv {

namespace {

// libxlsxwriter wants UTF-8 and at most 32767 characters in a cell.
QByteArray cellText(const QString& text) {
    return text.left(32767).toUtf8();
}

lxw_datetime toLxw(const QDateTime& dt) {
    lxw_datetime d;
    d.year = dt.date().year();
    d.month = dt.date().month();
    d.day = dt.date().day();
    d.hour = dt.time().hour();
    d.min = dt.time().minute();
    d.sec = dt.time().second() + dt.time().msec() / 1000.0;
    return d;
}

} // namespace

void XlsxExporter::write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns,
                         const QString& title) {
    const QList<ExportColumn> cols = exportColumns(dataset, columns);
    // Written beside the target first, so a failure leaves any earlier file whole.
    const QFileInfo target(path);
    const QString temporary = target.absoluteFilePath() + QStringLiteral(".tmp");
    const QByteArray file = QFile::encodeName(temporary);
    {
        // libxlsxwriter gives no reason; making the file first does.
        QFile probe(temporary);
        if (!probe.open(QIODevice::WriteOnly))
            throw PlainError(ExportFile::failureMessage(path, probe.errorString()));
    }

    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) {
        QFile::remove(temporary);
        throw PlainError(ExportFile::failureMessage(path, dv::text("a planilha não pôde ser criada")));
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Dados");

    lxw_format* titleFormat = workbook_add_format(book);
    format_set_bold(titleFormat);
    format_set_font_size(titleFormat, 12);
    format_set_text_wrap(titleFormat);
    lxw_format* header = workbook_add_format(book);
    format_set_bold(header);
    format_set_bg_color(header, lxw_color_t(colorFromNumber(colors::gridTitle).rgb() & 0xFFFFFF));
    format_set_border(header, LXW_BORDER_THIN);
    format_set_border_color(header, 0xA59D95);
    lxw_format* date = workbook_add_format(book);
    format_set_num_format(date, "dd/mm/yyyy");
    format_set_align(date, LXW_ALIGN_LEFT);
    lxw_format* dateTime = workbook_add_format(book);
    format_set_num_format(dateTime, "dd/mm/yyyy hh:mm:ss");
    lxw_format* money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00");
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");

    lxw_row_t row = 0;
    static const QRegularExpression br(QStringLiteral("<br\\s*/?>"),
                                       QRegularExpression::CaseInsensitiveOption);
    if (!title.trimmed().isEmpty()) {
        QString plain = title;
        plain.replace(br, QStringLiteral("\n"));
        worksheet_write_string(sheet, row, 0, cellText(plain).constData(), titleFormat);
        if (plain.contains(QLatin1Char('\n')))
            worksheet_set_row(sheet, row, 15.0 * (plain.count(QLatin1Char('\n')) + 1) + 2, nullptr);
        row += 2;
    }
    worksheet_write_string(sheet, row, 0, cellText(recordNumberTitle()).constData(), header);
    worksheet_set_column(sheet, 0, 0, 6, nullptr);
    for (int c = 0; c < cols.size(); ++c) {
        worksheet_write_string(sheet, row, lxw_col_t(c + 1), cellText(cols[c].title).constData(), header);
        const int width = columns.value(c).width > 0 ? columns[c].width : cols[c].field->displayWidth();
        worksheet_set_column(sheet, lxw_col_t(c + 1), lxw_col_t(c + 1), qBound(4, width, 80) + 1.0, nullptr);
    }
    worksheet_freeze_panes(sheet, row + 1, 1);
    ++row;

    const int rows = dataset.isActive() ? dataset.recordCount() : 0;
    for (int r = 0; r < rows; ++r, ++row) {
        worksheet_write_number(sheet, row, 0, r + 1, nullptr);
        for (int c = 0; c < cols.size(); ++c) {
            const Field* f = cols[c].field;
            if (dataset.isNull(r, f)) continue;
            const lxw_col_t col = lxw_col_t(c + 1);
            const QVariant v = dataset.value(r, f);
            switch (f->isData() ? f->dataType() : FieldType::String) {
            case FieldType::Integer:
            case FieldType::AutoInc:
            case FieldType::LargeInt:
                worksheet_write_number(sheet, row, col, double(v.toLongLong()), nullptr);
                break;
            case FieldType::Float:
                worksheet_write_number(sheet, row, col, v.toDouble(), nullptr);
                break;
            case FieldType::Currency:
                worksheet_write_number(sheet, row, col, v.value<Currency>().toDouble(), money);
                break;
            case FieldType::DateTime: {
                const QDateTime dt = v.toDateTime();
                lxw_datetime d = toLxw(dt);
                worksheet_write_datetime(sheet, row, col, &d, dt.time() == QTime(0, 0) ? date : dateTime);
                break;
            }
            case FieldType::Blob:
                break; // pictures stay out of the sheet
            default:
                worksheet_write_string(sheet, row, col, cellText(dataset.displayText(r, f)).constData(),
                                       text);
                break;
            }
        }
    }

    const lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR) {
        QFile::remove(temporary);
        throw PlainError(ExportFile::failureMessage(path, QString::fromUtf8(lxw_strerror(error))));
    }
    QFile::remove(path);
    QFile done(temporary);
    if (!done.rename(path)) {
        const QString reason = done.errorString();
        QFile::remove(temporary);
        throw PlainError(ExportFile::failureMessage(path, reason));
    }
}

} // namespace dv
