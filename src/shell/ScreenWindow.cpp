#include "ScreenWindow.h"
#include "framework/ScreenContext.h"
#include <QCloseEvent>
#include <QCoreApplication>

namespace dv {

ScreenWindow::ScreenWindow(QWidget* screen, QWidget* parent) : QMdiSubWindow(parent), m_screen(screen) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(screen->objectName());
    setWidget(screen);
    setWindowTitle(screen->windowTitle());
    setWindowIcon(screen->windowIcon());
    screen->installEventFilter(this);
    connect(this, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates was, Qt::WindowStates is) {
                if (!(was & Qt::WindowActive) && (is & Qt::WindowActive) && m_screen && !m_closed) {
                    emit screenActivated(m_screen);
                    if (auto* hosted = dynamic_cast<HostedScreen*>(m_screen.data()))
                        hosted->activatedInHost();
                }
            });
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        // The screen closed itself and already ran its closing.
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // The base class asks the screen first; a screen that refuses keeps the window.
    m_windowClosing = true;
    QMdiSubWindow::closeEvent(event);
    m_windowClosing = false;
    if (event->isAccepted()) {
        m_closed = true;
        emit screenClosed(this);
    }
}

bool ScreenWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_screen) return false;
    switch (event->type()) {
    case QEvent::WindowTitleChange:
        setWindowTitle(m_screen->windowTitle());
        return false;
    // The area hides and shows its windows as another one is maximised or activated;
    // the screen learns only of being shown once and hidden when it closes.
    case QEvent::Show:
        if (m_shown) return true;
        m_shown = true;
        return false;
    case QEvent::Hide:
        return !(m_closed || m_windowClosing);
    default:
        break;
    }
    if (event->type() != QEvent::Close || m_forwarding || m_windowClosing || m_closed) return false;
    // Only a screen closing itself (its "Fechar") gets here: let the screen decide,
    // then take the window down with it.
    m_forwarding = true;
    QCoreApplication::sendEvent(m_screen, event);
    m_forwarding = false;
    if (event->isAccepted()) {
        m_closed = true;
        emit screenClosed(this);
        close();
    }
    return true;
}

} // namespace dv
