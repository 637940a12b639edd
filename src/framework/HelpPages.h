#pragma once
#include <QString>

class QWidget;

namespace dv {

// The help manual: HTML pages in help/ of the application folder, one per screen
// named after its form name ("frmPaciente.html") beside the start page index.html.
// A translated page lives in help/<language>/; the Portuguese one stands in for a
// page not translated.

// The file of a help page ("frmPaciente", "index") in the interface language, else
// the Portuguese one; empty when neither exists.
QString helpPageFile(const QString& page);

// Opens a screen's page, else the start page, with the desktop's shell. Warns when
// there is no page at all or the shell cannot open it; true when it opened.
bool openHelpPage(const QString& formName);

// The page F1 opens for a widget and everything inside it. The opener gives every
// screen it makes its form name; screens shown otherwise set their own.
void setHelpTopic(QWidget* widget, const QString& formName);
// A screen's own topic is its form name (its objectName) unless it was given one;
// also makes sure F1 works. The opener and the screen bases call it.
void ensureHelpTopic(QWidget* screen);
// The topic of the nearest widget, from this one up its parents, that has one;
// empty when none has.
QString helpTopicOf(const QWidget* widget);

// Makes F1 open the help topic of the focused widget, before any F1 shortcut of
// the window it is in; outside a screen F1 keeps its shortcut. Once per process.
void installHelpKey();

} // namespace dv
