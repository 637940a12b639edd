#pragma once
#include <QColor>
#include <QIcon>

namespace dv {

// The pictures of the main window, its menus and the system menu tree.
enum class ShellIcon {
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
};

// From the desktop's icon theme (breeze when the desktop names none), with a
// picture drawn here for what the theme lacks.
QIcon shellIcon(ShellIcon which);
} // namespace dv
