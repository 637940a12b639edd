#pragma once
#include "core/db/DbErrors.h"
#include <QString>

namespace dv::test {

// Runs f and gives the message of the dv::Error it raised (empty when none).
template <typename F> QString errorOf(F f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

} // namespace dv::test
