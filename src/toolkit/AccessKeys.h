#pragma once
#include <QChar>
#include <QSet>
#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;

namespace dv {

// Access keys (Alt+letter) for captions that come without one, the way desktop
// toolkits give them: the first letter of the caption not yet taken, then the first
// letters of its next words, then its other letters. A caption's own '&' is kept and
// its key is taken first; "&&" is a plain ampersand. Only a-z and 0-9 are chosen,
// compared without case, and never a reserved key; a caption whose letters are all
// taken stays as it is.
QStringList withAccessKeys(const QStringList& captions, const QSet<QChar>& reserved = {});

// The key a caption's '&' gives (lower case), or a null QChar.
QChar accessKeyOf(const QString& caption);

// Gives the visible entries of a menu access keys as above.
void giveAccessKeys(QMenu* menu);

// Gives the menu bar's entries access keys, leaving out the keys the visible buttons
// of its window already answer to (a screen's "&Novo" keeps Alt+N). Call it again
// when the window's buttons change (a screen comes to the front): the entries are
// keyed afresh from their own captions, so a key is the same whenever the same
// buttons show. A caption set from outside (a language file) is taken as the new one.
void giveAccessKeys(QMenuBar* bar);

// The menu bar's entries now, and each of its menus' entries every time that menu
// opens (after the handlers that fill it: call this after connecting them).
void keepAccessKeys(QMenuBar* bar);

} // namespace dv
