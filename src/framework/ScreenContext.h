#pragma once
#include <QString>
#include <QVariantMap>

class QWidget;

namespace dv {

class Dataset;

// Values one screen gives another it opens, by name ("paciente_id" → 42).
using ScreenArgs = QVariantMap;

// What a screen asks of the application that is not its own: the one way from the
// screens to the main window, the opener and the shared editing state. The shell
// installs its implementation at start-up; without one (a screen made alone, in a
// test) the defaults below apply: no main window, no opener, nothing to report to.
//
//   dv::screenContext().openScreen(QStringLiteral("frmConsulta"),
//                                  {{QStringLiteral("paciente_id"), patient}});
class ScreenContext {
public:
    virtual ~ScreenContext() = default;

    // Opens a screen by its form name and gives it the arguments (a list screen
    // already open is brought to the front and given them too). List screens return
    // at once, dialogs once closed. True only when an open list was brought forward.
    virtual bool openScreen(const QString& formName, const ScreenArgs& args = {});
    // The open list screen of a form name (any case), or null.
    virtual QWidget* openList(const QString& formName) const;

    // The main window's header caption; empty text puts back its own.
    virtual void setHeaderCaption(const QString& caption);
    // The main window's progress bar: value of maximum (0 of 100 when done).
    virtual void setProgress(int value, int maximum);

    // The window dialogs stand centred on; null when there is none.
    virtual QWidget* mainWindow() const;
    // True while a list screen lives inside the main window (it is freed with its
    // window there, and by itself elsewhere).
    virtual bool hostsScreen(const QWidget* screen) const;

    // The logged-in group's permission row of the screen being shown (the opener
    // stands it on the screen's row); null or empty when there is none.
    virtual Dataset* permissionRow() const;

    // Closes every open screen and asks who is at the desk, once the caller's own
    // dialog has closed (after the database was replaced under them).
    virtual void requestNewLogin() {}

    // The list query a maintenance screen edits: the list puts its row into insert
    // or edit and sets it before opening the maintenance screen. Not owned.
    Dataset* editedRecord() const { return m_editedRecord; }
    void setEditedRecord(Dataset* query) { m_editedRecord = query; }

private:
    Dataset* m_editedRecord = nullptr;
};

// The installed context, or the plain default.
ScreenContext& screenContext();
// Installs the application's context (not owned); null puts back the default.
void setScreenContext(ScreenContext* context);

// The screen side of the context: the screen bases implement it, and the shell calls
// it on any screen it hosts.
class HostedScreen {
public:
    virtual ~HostedScreen() = default;
    // The arguments of the openScreen call that made or brought forward the screen.
    virtual void applyArguments(const ScreenArgs& args) = 0;
    // The screen's window became the active one of the main window's area.
    virtual void activatedInHost() {}
};

// Moves a window so that it stands centred on the main window (when that is shown).
void centreOnMainWindow(QWidget* window);

} // namespace dv
