#pragma once
#include <QString>
#include <optional>

namespace dv {

// The modal messages of the system. Captions and button texts follow the
// dialog texts of the current language; the texts are the callers'. A line
// break inside a text is a single '\r' as the system writes it.
class DialogService {
public:
    virtual ~DialogService() = default;

    virtual void information(const QString& text) = 0;
    virtual void warning(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
    // Yes and No; true for Yes.
    virtual bool confirmation(const QString& text) = 0;
    // Yes, No and Cancel; closing the dialog without a choice is Cancel.
    enum class Answer { Yes, No, Cancel };
    virtual Answer question(const QString& text) = 0;
    // The plain message box: no icon, OK, captioned with the application title
    // unless a caption is given.
    virtual void messageBox(const QString& text, const QString& caption = QString()) = 0;
    // One line of text; nullopt when cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& defaultValue) = 0;
};

} // namespace dv
