#include "ListIcons.h"
#include "toolkit/ThemeIcons.h"

namespace dv {

namespace {

using Picture = ThemePicture;

Picture pictureOf(ListIcon which) {
    switch (which) {
    case ListIcon::New:
        return {"document-new", QColor(0x4C, 0xA8, 0x3A), "+"};
    case ListIcon::Change:
        return {"document-edit", QColor(0x2E, 0x8B, 0xD8), "A"};
    case ListIcon::Delete:
        return {"edit-delete", QColor(0xD9, 0x45, 0x45), "X"};
    case ListIcon::Locate:
        return {"edit-find", QColor(0x3D, 0x8C, 0x74), "L"};
    case ListIcon::Filter:
        return {"view-filter", QColor(0x7A, 0x5C, 0x9E), "F"};
    case ListIcon::Print:
        return {"document-print", QColor(0x55, 0x6B, 0x80), "I"};
    case ListIcon::Export:
        return {"document-export", QColor(0xE0, 0xA8, 0x2E), "E"};
    case ListIcon::Refresh:
        return {"view-refresh", QColor(0x2E, 0x8B, 0xD8), "R"};
    case ListIcon::Close:
        return {"window-close", QColor(0xD9, 0x45, 0x45), "F"};
    case ListIcon::Options:
        return {"configure", QColor(0x55, 0x6B, 0x80), "O"};
    case ListIcon::Search:
        return {"edit-find", QColor(0x3D, 0x8C, 0x74), "?"};
    case ListIcon::Spreadsheet:
        return {"x-office-spreadsheet", QColor(0x2E, 0x7D, 0x32), "X"};
    case ListIcon::Document:
        return {"x-office-document", QColor(0x2E, 0x5C, 0xB8), "D"};
    case ListIcon::Csv:
        return {"text-csv", QColor(0x3D, 0x8C, 0x74), "C"};
    case ListIcon::Text:
        return {"text-plain", QColor(0x55, 0x6B, 0x80), "T"};
    case ListIcon::Html:
        return {"text-html", QColor(0xE0, 0x6A, 0x2E), "H"};
    case ListIcon::Xml:
        return {"text-xml", QColor(0x7A, 0x5C, 0x9E), "<>"};
    case ListIcon::Xlsx:
        return {"application-vnd.openxmlformats-officedocument.spreadsheetml.sheet", QColor(0x2E, 0x7D, 0x32),
                "X"};
    }
    return {"", Qt::gray, ""};
}

} // namespace

QIcon listIcon(ListIcon which) {
    const Picture pic = pictureOf(which);
    return themeIconOrBadge(pic.themeName, pic.color, pic.letter);
}

} // namespace dv
