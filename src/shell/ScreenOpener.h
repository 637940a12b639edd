#pragma once
#include "framework/ScreenContext.h"
#include "framework/ScreenRegistry.h"
#include <QObject>

class QAction;
class QMdiSubWindow;
class QWidget;
class TfrmPrincipal;

namespace dv {

class ScreenWindow;

// Opens every screen by its form name: brings an open list screen to the front, checks
// the logged-in group's permission row, creates the screen from the registry and shows
// it as a maximised child window of the main window (list screens) or modally (dialogs).
// Owned by the main window.
//
//   opener.open(QStringLiteral("frmPaciente"));        // list: returns at once
//   opener.open(QStringLiteral("frmPaciente_Manut"));  // dialog: returns once closed
//
// Screens reach it only through dv::screenContext().openScreen().
// While a screen is being shown, dm().SQL_Formulario and dm().SQL_GrupoPermissao stand
// on its rows; the screen reads its eight right flags from the permission row then.
class ScreenOpener : public QObject {
    Q_OBJECT
public:
    explicit ScreenOpener(TfrmPrincipal* mainWindow);

    ScreenRegistry& registry() { return m_registry; }
    const ScreenRegistry& registry() const { return m_registry; }

    // True only when an already open list screen was brought to the front. Errors
    // raised while the screen is created or shown reach the caller (and so the error
    // translator); nothing of the screen is left behind.
    // The arguments reach the screen (dv::HostedScreen) before it is shown, or when
    // an open list screen is brought to the front.
    bool open(const QString& formName, const ScreenArgs& args = {});

    // The open list screen of a form name, compared without regard to case.
    QWidget* openScreen(const QString& formName) const;
    // The open list screens, in the order they were opened.
    QList<QWidget*> openScreens() const;
    // The entry of the window menu ("Janelas") that stands for an open list screen.
    QAction* windowMenuEntry(const QWidget* screen) const;

    // Shows a screen modally and frees it once it has closed.
    static void showModal(QWidget* screen);

private:
    ScreenWindow* findOpen(const QString& formName) const;
    QString description(const QString& formName) const;
    void showList(QWidget* screen, const QString& formName);

    TfrmPrincipal* m_main;
    ScreenRegistry m_registry;
};

} // namespace dv
