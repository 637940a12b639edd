#include "ShellScreenContext.h"
#include "ScreenOpener.h"
#include "ScreenWindow.h"
#include "U_frmPrincipal.h"
#include "core/CodeTexts.h"
#include "core/Session.h"
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

namespace dv {

ShellScreenContext::ShellScreenContext(TfrmPrincipal* mainWindow) : m_main(mainWindow) {
    setScreenContext(this);
}

ShellScreenContext::~ShellScreenContext() {
    if (&screenContext() == this) setScreenContext(nullptr);
}

bool ShellScreenContext::openScreen(const QString& formName, const ScreenArgs& args) {
    return m_main->opener().open(formName, args);
}

QWidget* ShellScreenContext::openList(const QString& formName) const {
    return m_main->opener().openScreen(formName);
}

void ShellScreenContext::setHeaderCaption(const QString& caption) {
    if (!caption.isEmpty()) {
        m_main->lbForm->setText(caption);
        return;
    }
    // The same words the main window's language file gives the header at start.
    m_main->lbForm->setText(dv::text("Menu Principal do Sistema"));
}

void ShellScreenContext::setProgress(int value, int maximum) {
    m_main->ProgressBar2->setMaximum(maximum);
    m_main->ProgressBar2->setValue(value);
    m_main->StatusBar1->repaint();
}

QWidget* ShellScreenContext::mainWindow() const {
    return m_main;
}

bool ShellScreenContext::hostsScreen(const QWidget* screen) const {
    for (const QWidget* p = screen ? screen->parentWidget() : nullptr; p; p = p->parentWidget())
        if (qobject_cast<const ScreenWindow*>(p)) return true;
    return false;
}

void ShellScreenContext::requestNewLogin() {
    // Queued: the dialog asking for it is still closing.
    QTimer::singleShot(0, m_main, [main = m_main] { main->startNewLogin(); });
}

} // namespace dv
