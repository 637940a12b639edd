#pragma once
// The real users, groups and modules screens on the logged-in application, with
// stand-ins for every other screen, and helpers to work in their modal maintenance
// screens as a user would.
#include "../shell/AccessFixture.h"
#include "access/AccessScreens.h"
#include "core/ComponentTexts.h"
#include "core/LanguageFile.h"
#include "core/db/Dataset.h"
#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>

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

// Runs `work` on the modal screen that `open` brings up, then closes that screen
// (whatever `work` did, so that a failed check never leaves the test waiting).
template <class Screen>
bool inModal(const std::function<void()>& open, const std::function<void(Screen*)>& work) {
    bool ran = false;
    whenModal([&](QWidget* w) {
        QPointer<QWidget> guard(w);
        auto close = qScopeGuard([&] {
            if (guard && guard->isVisible()) guard->close();
        });
        auto* screen = qobject_cast<Screen*>(w);
        if (!screen) {
            QTest::qFail(qPrintable(QStringLiteral("another modal window: ") + w->objectName()), __FILE__,
                         __LINE__);
            return;
        }
        QApplication::setActiveWindow(screen);
        ran = true;
        work(screen);
    });
    open();
    return ran;
}

// Types into a box as a user does: it takes the focus (the box left before does its
// exit work) and receives the keys.
inline void type(QWidget* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(box)) e->selectAll();
    QTest::keyClicks(box, text);
}

inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// One value of the database (null as an invalid QVariant).
inline QVariant scalar(LoggedIn& app, const QString& sql) {
    auto c = app.db().query(sql);
    if (!c->next() || c->isNull(0)) return QVariant();
    return QString::fromUtf8(c->utf8(0).data(), c->utf8(0).size());
}

inline QStringList column(LoggedIn& app, const QString& sql) {
    QStringList values;
    auto c = app.db().query(sql);
    while (c->next())
        values << (c->isNull(0) ? QString() : QString::fromUtf8(c->utf8(0).data(), c->utf8(0).size()));
    return values;
}

// The values of one field over every row of a dataset, in its order.
inline QStringList fieldValues(Dataset* d, const QString& field, bool display = false) {
    QStringList values;
    if (!d->isActive()) return values;
    Field* f = d->fieldByName(field);
    for (int row = 0; row < d->recordCount(); ++row)
        values << (display ? d->displayText(row, f) : d->value(row, f).toString());
    return values;
}

// What of a screen's language file did not reach the shown screen: keys that name no
// component, and texts the screen does not show (blanks around values aside, as the
// files are read).
inline QStringList languageProblems(const QWidget* screen, const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {QStringLiteral("no file ") + file};
    QHash<QString, QObject*> byName;
    for (QObject* o : LanguageFile::components(screen))
        byName.insert(o->objectName(), o);
    QStringList problems;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char('[')) || eq < 0) continue;
        const QString key = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        const QString name = key.section(QLatin1Char('.'), 0, -2), suffix = key.section(QLatin1Char('.'), -1);
        QString shown;
        if (name == screen->objectName()) {
            shown = screen->windowTitle();
        } else if (QObject* o = byName.value(name)) {
            const ComponentTextKind* kind = ComponentTexts::kindOf(o);
            const TextKey k = suffix == QLatin1String("Hint")           ? TextKey::Hint
                              : suffix == QLatin1String("DisplayLabel") ? TextKey::DisplayLabel
                                                                        : TextKey::Caption;
            shown = kind && kind->text ? kind->text(o, k) : QStringLiteral("(no texts)");
        } else {
            problems << QStringLiteral("no component: ") + key;
            continue;
        }
        if (shown.trimmed() != value)
            problems << key + QStringLiteral(" shows \"") + shown + QLatin1Char('"');
    }
    return problems;
}

inline QString languageFile(const LoggedIn& app, const QString& language, const QString& form) {
    return app.folder.path() + QStringLiteral("language/") + language + QLatin1Char('/') + form +
           QStringLiteral(".lpu");
}

} // namespace dv::test
