#pragma once
#include <QIcon>
#include <QLocale>

namespace dv {

// The locale of the current language for day and month names: Brazilian Portuguese
// unless the language is "en" or "es". Numbers and dates are written the Brazilian
// way whatever it is (dv::br).
QLocale toolkitLocale();

// An icon of the desktop theme, or the drawn fallback when the theme lacks it.
// Names: "go-first", "go-previous", "go-next", "go-last", "list-add", "list-remove",
// "document-edit", "dialog-ok-apply", "dialog-cancel", "view-refresh",
// "x-office-calendar", "accessories-calculator", "arrow-up", "arrow-down",
// "edit-clear", "go-down".
QIcon toolkitIcon(const QString& name);

} // namespace dv
