#pragma once
#include "core/ErrorTranslator.h"

namespace dv {

// Runs a handler that a button or menu item calls: an error ends the action and is
// shown by the error translator, as for the bases' own buttons.
template <class Handler> void guarded(Handler handler) {
    try {
        handler();
    } catch (...) {
        ErrorTranslator::handleCurrent();
    }
}

} // namespace dv
