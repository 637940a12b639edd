#pragma once
#include "FixedClock.h"
#include "FixedWorkstation.h"
#include "MemorySettingsStore.h"
#include "ScriptedDialogs.h"
#include "ScriptedFileDialogs.h"
#include "ShellRecorder.h"

namespace dv::test {

// Installs scripted versions of every application service for its lifetime and
// puts the real ones back when destroyed. Typical use, one per test function:
//
//   dv::test::ScriptedServices s;
//   s.dialogs.queueConfirmation(true);
//   ... drive the screen ...
//   QCOMPARE(s.dialogs.texts(), QStringList{...});
//   DV_VERIFY_SERVICES(s);
class ScriptedServices {
public:
    ScriptedServices();
    ~ScriptedServices();
    ScriptedServices(const ScriptedServices&) = delete;
    ScriptedServices& operator=(const ScriptedServices&) = delete;

    bool verifyNoUnexpected(QString* why = nullptr) const;

    // Back to how they were made: nothing queued or recorded, the clock at its moment,
    // an ordinary workstation, an empty settings store (a fixture reused between
    // test cases). They stay installed.
    void reset();

    ScriptedDialogs dialogs;
    ScriptedFileDialogs fileDialogs;
    ShellRecorder shell;
    FixedClock clock;
    FixedWorkstation workstation;
    MemorySettingsStore settings;
};

} // namespace dv::test

// Fails the current test when a dialog or file dialog went unanswered or queued
// answers are left.
#define DV_VERIFY_SERVICES(services)                                                                         \
    do {                                                                                                     \
        QString dvWhy_;                                                                                      \
        QVERIFY2((services).verifyNoUnexpected(&dvWhy_), qPrintable(dvWhy_));                                \
    } while (false)
