#pragma once
#include "framework/ScreenContext.h"

class TfrmPrincipal;

namespace dv {

// The screen context of the running application: the main window's opener, header,
// progress bar and area. The main window installs it while it exists.
class ShellScreenContext : public ScreenContext {
public:
    explicit ShellScreenContext(TfrmPrincipal* mainWindow);
    ~ShellScreenContext() override;

    bool openScreen(const QString& formName, const ScreenArgs& args = {}) override;
    QWidget* openList(const QString& formName) const override;
    void setHeaderCaption(const QString& caption) override;
    void setProgress(int value, int maximum) override;
    QWidget* mainWindow() const override;
    bool hostsScreen(const QWidget* screen) const override;
    void requestNewLogin() override;

private:
    TfrmPrincipal* m_main;
};

} // namespace dv
