#pragma once
#include <QApplication>

namespace dv {
// The hourglass while something works, put back on every way out (or earlier, by
// restore(), before a message is shown).
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void restore() {
        if (m_on) QApplication::restoreOverrideCursor();
        m_on = false;
    }

private:
    bool m_on = true;
};
} // namespace dv
