#pragma once
// The real users, groups and modules screens on the logged-in application, with
// stand-ins for every other screen, and helpers to work in their modal maintenance
// screens as a user would.
#include "../shell/AccessFixture.h"
#include "TestHelpers.h"
#include "access/AccessScreens.h"

namespace dv::test {

inline ScreenRegistration accessScreens() {
    return [](ScreenRegistry& r) {
        fakeScreens()(r);
        registerAccessScreens(r);
    };
}

inline LoggedIn::Options accessOptions(const QStringList& sqlBeforeStart = {}) {
    LoggedIn::Options o;
    o.screens = accessScreens();
    o.sqlBeforeStart = sqlBeforeStart;
    return o;
}

// Opens a list screen through the opener and gives it with its own type.
template <class Screen> Screen* openList(LoggedIn& app, const QString& formName) {
    app.opener().open(formName);
    return qobject_cast<Screen*>(app.opener().openScreen(formName));
}

} // namespace dv::test
