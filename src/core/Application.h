#pragma once
#include <QApplication>

namespace dv {

// The application object. Every exception that escapes an event handler ends in
// the error translator instead of ending the process; the message loop goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace dv
