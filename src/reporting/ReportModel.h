#pragma once
#include <QColor>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// The report project as read from its file (see ReportParser.h for the format).
// Plain data: the parser fills it, the layout reads it; only a picture's file link
// is changed afterwards (ReportProject::findPicture).
namespace dv::report {

enum class Align { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom };

struct TextStyle {
    QString family;
    double size = 9; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = QColor(0x22, 0x22, 0x22);
    Align align = Align::Left;
    VAlign valign = VAlign::Middle;
    bool wrap = false;
    // A line wider than its box is set in smaller letters (down to 60 %) before it is cut.
    bool shrink = false;
};

// One piece of a text item's template.
struct Token {
    enum Kind {
        Literal,       // text
        Field,         // connection.field, formatted by format
        Aggregate,     // a sum or count of the page, by name
        PageNumber,    // {page}
        PageCount,     // {pages}
        PrintDate,     // {printDate}
        PrintTime,     // {printTime}
        ReportName,    // {report}
        OptionalBegin, // '[': the part up to ']' is left out when its values are all empty
        OptionalEnd
    };
    Kind kind = Literal;
    QString text;   // literal text; connection name for Field
    QString name;   // field or aggregate name
    QString format; // format keyword, e.g. "money", "date:dd/mm"
};

struct TextTemplate {
    QString source;
    QList<Token> tokens;
    bool isConstant() const { return tokens.size() == 1 && tokens.first().kind == Token::Literal; }
};

enum class Fit { Proportional, Stretch, Center };

// A length along the band's width: millimetres, or a share of the width ("50%").
struct Length {
    double value = 0;
    bool percent = false;
    double resolve(double width) const { return percent ? width * value / 100.0 : value; }
};

struct Item {
    enum Kind { Text, Line, Box, Picture };
    Kind kind = Text;
    QString name;
    // Position in the band, millimetres. x or right anchor the item; with both, and no
    // width, it stretches between them.
    std::optional<Length> x, right, w;
    double y = 0, h = 0;
    // Lines: from (x, y) to (x2, y2).
    Length x2;
    double y2 = 0;

    // Text
    TextTemplate text;
    TextStyle style;
    QColor fill;             // background of a text or box; invalid: none
    QColor border;           // frame of a box or picture; invalid: none
    double lineWidth = 0.25; // millimetres
    QColor lineColor = QColor(0x55, 0x55, 0x55);
    double radius = 0; // rounded box corners, millimetres

    // Picture: bytes of a blob column (connection, field), or a file
    QString pictureConnection, pictureField;
    QString fileLink; // relative to the executable folder unless absolute; set at run time too
    Fit fit = Fit::Proportional;

    // Horizontal extent inside a band of the given width.
    double left(double bandWidth) const;
    double width(double bandWidth) const;
};

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    NoData,
    Summary,
    PageFooter
};

struct Band {
    BandKind kind = BandKind::Detail;
    double height = 0;
    QList<Item> items;
    QColor fill;   // whole band background; invalid: none
    QColor stripe; // detail only: background of every second row
};

struct Group {
    QString name;
    QString field; // a field of the detail connection; a new group starts when its value changes
    std::optional<Band> header, footer;
};

struct Aggregate {
    enum Kind { Sum, Count };
    Kind kind = Count;
    QString name;
    QString field; // Sum: a field of the detail connection
    QString reset; // group name, or empty for the whole page
};

struct Page {
    QString name;
    QPageSize::PageSizeId size = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins{12, 12, 12, 12}; // left, top, right, bottom (mm)
    int columns = 1;
    double columnGap = 0;

    QString connection; // the detail's; empty: the page prints its bands once
    bool currentRowOnly = false;
    // The detail's rows in this order (sort="campo [desc], campo|day"); empty: as the
    // screen has them. A date's part ("day", "month") sorts by that part alone.
    struct SortKey {
        QString field;
        QString part;
        bool descending = false;
    };
    QList<SortKey> sort;

    std::optional<Band> pageHeader, title, columnHeader, detail, noData, summary, pageFooter;
    QList<Group> groups; // outermost first
    QList<Aggregate> aggregates;

    QSizeF paperSize() const; // mm, as oriented
    QRectF contentRect() const;
};

struct Report {
    QString name;
    QString description;
    QList<Page> pages;
};

struct Project {
    QString fileName;
    QList<Report> reports;
    const Report* report(const QString& name) const;
    Report* report(const QString& name);
};

} // namespace dv::report
