#pragma once
#include "DialogService.h"

namespace dv {

// The real message dialogs: QMessageBox and QInputDialog over the active window,
// with the captions and button texts of the current language.
class QtDialogService : public DialogService {
public:
    void information(const QString& text) override;
    void warning(const QString& text) override;
    void error(const QString& text) override;
    bool confirmation(const QString& text) override;
    Answer question(const QString& text) override;
    void messageBox(const QString& text, const QString& caption = QString()) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& defaultValue) override;
};

} // namespace dv
