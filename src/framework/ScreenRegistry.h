#pragma once
#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace dv {

// How a screen is shown. List screens open as maximised child windows of the main
// window; dialogs open modally. Fixed dialogs are shown directly by their caller,
// never through the opener (the opener treats their names as unknown).
enum class ScreenKind { List, Dialog, FixedDialog };

// Makes a new screen. The parent is the main window's area for list screens and the
// window the dialog is shown over for dialogs. The screen's objectName is its form
// name (the opener sets it when the factory left it empty).
using ScreenFactory = std::function<QWidget*(QWidget* parent)>;

struct ScreenEntry {
    QString formName;  // "frmPaciente"
    QString className; // "TfrmPaciente"
    QString caption;   // the window title the screen carries
    ScreenKind kind = ScreenKind::Dialog;
    ScreenFactory factory; // empty until the library that builds the screen registers it
};

// The table of the screens the opener can create, in the order it tests them. It is
// born with every form name of the system and no factories; each library that builds
// screens gives their factories through one registration function that start-up
// (and tests) call, for instance:
//
//   void dv::registerClinicalScreens(dv::ScreenRegistry& r) {
//       r.setFactory("frmPaciente", [](QWidget* p) { return new TfrmPaciente(p); });
//       r.setFactory("frmPaciente_Manut", [](QWidget* p) { return new TfrmPaciente_Manut(p); });
//   }
class ScreenRegistry {
public:
    ScreenRegistry();

    // The entry of a form name, compared exactly; null when the table lacks it.
    const ScreenEntry* find(const QString& formName) const;
    const QList<ScreenEntry>& entries() const { return m_entries; }

    // Gives a listed screen its factory; false (and nothing changes) for a name the
    // table does not hold.
    bool setFactory(const QString& formName, ScreenFactory factory);
    // Adds a screen to the table, or replaces the entry of the same form name.
    void add(ScreenEntry entry);

    // A new screen of a fixed dialog (or any entry with a factory), for callers that
    // show it themselves; null when the name has no factory.
    QWidget* create(const QString& formName, QWidget* parent) const;

private:
    QList<ScreenEntry> m_entries;
};

} // namespace dv
