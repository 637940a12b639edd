#pragma once
#include "DialogTexts.h"
#include "ToolkitTexts.h"
#include <QString>

class QWidget;

namespace dv {

// Chooses the standard dialog texts and the toolkit's text set for "pt_BR",
// "en" or "es"; any other code changes nothing (false). Called once by the data
// module at start-up.
bool setDialogTexts(const QString& language);
// Qt's own translations (file, print and preview dialogs) for "pt_BR", "en" or
// "es", from Qt's translations folder; the ones installed before are removed. False
// (nothing installed) for another code or when Qt ships no translation for it.
// setDialogTexts calls it.
bool installQtTranslations(const QString& language);

// The dialog texts in force (the toolkit's built-in English ones until a
// language is set).
const DialogTexts& dialogTexts();
// Back to the built-in texts (tests).
void resetDialogTexts();

// Applies language/<current language>/<form name>.lpu to a screen when it is
// shown; the form name is the screen's objectName. Nothing happens without a
// current language or without the file.
void applyLanguageFile(QWidget* screen);

// A text of language/Default_<current language>.lpu; empty when the file, the
// section or the key is missing.
QString sharedMessage(const QString& section, const QString& key);
// The same for a text the program builds in code: the built-in (Portuguese) text
// when the file or the key is missing.
QString sharedMessage(const QString& section, const QString& key, const QString& builtIn);

// The caption a screen's language file gives it (<form>.Caption); empty without a
// language, a file or the key. Stands for the registry's Portuguese description.
QString translatedScreenCaption(const QString& formName);

// A file of the application folder in the interface language: "skins\\config.jpg"
// is "skins/config_en.jpg" in English when that file exists; the file itself
// otherwise (and in Portuguese, the language the plain files speak).
QString languageVariantPath(const QString& relativeName);

// The developer's capture (Ctrl+Alt+G): writes the screen's current texts into
// a language file chosen in a save dialog that starts in language/pt_BR. A
// window without a form name (objectName) is not a screen: nothing happens.
// True when a file was written; a file that cannot be written raises
// dv::PlainError.
bool captureLanguageFile(QWidget* screen);

} // namespace dv
