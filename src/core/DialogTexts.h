#pragma once
#include <QString>
#include <optional>

namespace dv {

// Captions and button texts of the standard message dialogs; '&' marks the
// access key.
struct DialogTexts {
    QString warningCaption;
    QString errorCaption;
    QString informationCaption;
    QString confirmationCaption;
    QString yes;
    QString no;
    QString ok;
    QString cancel;
    QString help;
    QString noHelpAvailable;
    QString helpCaption;
    QString abort;
    QString retry;
    QString ignore;
    QString all;
    QString noToAll;
    QString yesToAll;
    QString close;

    // The prepared set of "pt_BR", "en" or "es" (compared case-sensitively);
    // nothing for any other code.
    static std::optional<DialogTexts> forLanguage(const QString& code);
    // The toolkit's own texts, in force until a language is applied.
    static DialogTexts builtIn();
};

} // namespace dv
