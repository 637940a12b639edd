#pragma once
#include <QMdiSubWindow>
#include <QPointer>

namespace dv {

// The child window that holds a list screen inside the main window's area. The
// screen is the window's widget and carries the form name; the window closes with
// it, whichever of the two is asked to close first, and frees both.
class ScreenWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit ScreenWindow(QWidget* screen, QWidget* parent = nullptr);

    QWidget* screen() const { return m_screen; }
    // Closed (or closing) windows no longer count as open screens.
    bool isClosed() const { return m_closed; }

signals:
    // The window became the active child of the area: the moment a list screen takes
    // the main window's header caption and its own colours again.
    void screenActivated(QWidget* screen);
    // The screen has accepted to close; the window is about to go.
    void screenClosed(dv::ScreenWindow* window);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_screen;
    bool m_closed = false;
    bool m_forwarding = false;
    bool m_windowClosing = false;
    bool m_shown = false;
};

} // namespace dv
