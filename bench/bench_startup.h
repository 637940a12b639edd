#pragma once
#include <QString>

namespace dv::bench {

// Start-up to the login dialog on the database, each run a fresh process timed from
// its start until the dialog is shown, the prescribed pauses skipped; beside it a
// bare Qt process showing one dialog. Prints medians. 0 on success.
int startupToLogin(const QString& database, int runs);

// The child process: "--startup-child FOLDER" starts the application in that folder
// up to its login dialog; "--startup-child -" only shows an empty dialog. Prints
// "shown <skipped pause ms>" when the dialog is on screen.
int startupChild(int argc, char** argv);

} // namespace dv::bench
