#pragma once
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace dv {

// A screen's language file: language/<code>/<form name>.lpu beside the
// executable, an INI file with one section named after the form name. Keys are
// the form name or a component's objectName followed by ".Caption", ".Hint",
// ".Items" or ".DisplayLabel" (see ComponentTexts for which components).
class LanguageFile {
public:
    // The file of a form in a language, under the given executable folder.
    static QString path(const QString& executableFolder, const QString& language, const QString& formName);

    // Replaces the screen's title (even with an empty value) and every non-empty
    // text the file gives for its components. Nothing happens when the file is
    // absent or unreadable; keys that name no component are ignored. False when
    // there was no file to apply.
    static bool apply(QWidget* screen, const QString& filePath, const QString& formName);

    // The lines a capture writes for the screen as it stands: "[form]",
    // "form.Caption=title", then per component in creation order its keys.
    // Components tagged 9 are left out.
    static QStringList capture(const QWidget* screen, const QString& formName);

    // A radio group's choices as one value: joined with ';', a choice holding a
    // blank, a control character, ';' or '"' enclosed in double quotes with
    // inner quotes doubled.
    static QString joinItems(const QStringList& items);
    static QStringList splitItems(const QString& value);

    // The objects of a screen the language files can address: named components
    // the screen owns, at any depth, in creation order; Qt's internal children
    // ("qt_..." names) excluded.
    static QList<QObject*> components(const QObject* screen);
};

} // namespace dv
