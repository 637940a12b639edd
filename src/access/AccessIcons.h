#pragma once
#include <QColor>
#include <QIcon>

namespace dv {

// The pictures of the main window, its menus and the system menu tree.
enum class AccessIcon {
    Menu,
    Patients,
    Agenda,
    AgendaSearch,
    Consultations,
    Services,
    Dentists,
    Contacts,
    Exit,
    Receivables,
    Payables,
    Groups,
    ChangeUser,
    WindowItem,
    CloseAll,
    Help,
    WebSite,
    StatusPicture,
    MenuGroup,
};

// From the desktop's icon theme (breeze when the desktop names none), with a
// picture drawn here for what the theme lacks.
QIcon accessIcon(AccessIcon which);
// Any theme icon, or a round badge of that colour with the letter where the theme
// lacks it.
QIcon themeIconOrBadge(const char* themeName, const QColor& color, const char* letter);

// Makes the installed icon themes reachable even where the platform names no theme
// or search path (the bare X server the tests and screenshots run on).
void ensureIconTheme();

} // namespace dv
