#pragma once
#include "ReportModel.h"
#include <QByteArray>
#include <QPageLayout>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace dv {

// A report laid out into sheets: what to draw where, in millimetres from the
// sheet's top-left corner. It paints onto any paged device (printer, print
// preview, PDF writer) at the device's resolution; the texts are final except the
// page count, filled in when painting.
class ReportDocument {
public:
    struct Op {
        enum Kind : quint8 { Text, Line, Box, Picture };
        Kind kind = Text;
        int index = -1;  // Text: style; Picture: picture
        QRectF rect;     // Line: from topLeft() to bottomRight()
        QString text;    // Text; PageCountMarker stands for the number of sheets
        QRgb fill = 0;   // Text and Box background; alpha 0: none
        QRgb color = 0;  // Line colour, Box and Picture frame; alpha 0: none
        float width = 0; // pen width, mm
        float radius = 0;
    };
    struct Picture {
        QByteArray bytes; // the picture file's bytes, or
        QString file;     // a file to read when painting
        report::Fit fit = report::Fit::Proportional;
    };
    struct Sheet {
        QPageSize::PageSizeId size = QPageSize::A4;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        std::vector<Op> ops;
    };

    static constexpr QChar PageCountMarker = QChar(0xE000);

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    int pageCount() const { return int(m_sheets.size()); }
    const Sheet& sheet(int index) const { return m_sheets[size_t(index)]; }
    // The sheet's paper without margins: the layout places everything itself.
    QPageLayout pageLayout(int index) const;

    // Paints every sheet onto the device, each on a page of its own size and orientation.
    // A printer's page range, copy count (when the printer cannot make copies itself)
    // and collation are honoured. ReportError when the device cannot be painted on.
    void print(QPagedPaintDevice& device) const;
    // Writes the report as a PDF file; ReportError when the file cannot be written.
    void writePdf(const QString& fileName) const;
    // Paints one sheet with a painter already open on a device; origin at the paper's corner.
    void paintSheet(QPainter& painter, int index) const;

    // ---- building (the layout) ----
    int addStyle(const report::TextStyle& style);
    int addPicture(Picture picture);
    Sheet& addSheet(QPageSize::PageSizeId size, QPageLayout::Orientation orientation);
    Sheet& lastSheet() { return m_sheets.back(); }
    const QList<report::TextStyle>& styles() const { return m_styles; }
    const std::vector<Picture>& pictures() const { return m_pictures; }

private:
    QString m_name;
    std::vector<Sheet> m_sheets;
    QList<report::TextStyle> m_styles;
    std::vector<Picture> m_pictures;
};

} // namespace dv
