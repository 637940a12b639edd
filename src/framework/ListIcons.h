#pragma once
#include <QIcon>

namespace dv {

// The pictures of a list screen's toolbar, menus and search box.
enum class ListIcon {
    New,
    Change,
    Delete,
    Locate,
    Filter,
    Print,
    Export,
    Refresh,
    Close,
    Options,
    Search,
    Spreadsheet,
    Document,
    Csv,
    Text,
    Html,
    Xml,
    Xlsx,
};

// From the desktop's icon theme (breeze when the desktop names none), with a picture
// drawn here for what the theme lacks.
QIcon listIcon(ListIcon which);

} // namespace dv
