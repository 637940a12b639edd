#pragma once
// Helpers every screen test shares: working a widget as a user does, answering a
// modal window, reading the database, and checking a screen's language file.
#include "core/ComponentTexts.h"
#include "core/LanguageFile.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace dv::test {

// Runs `answer` on the next modal widget once it is up; fails the test (and closes
// the widget) when none appears in time, instead of hanging.
inline void whenModal(std::function<void(QWidget*)> answer, int timeoutMs = 5000) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, elapsed, answer, timeoutMs] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(w);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            QTest::qFail("no modal window appeared", __FILE__, __LINE__);
        }
    });
    timer->start();
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

// Types into a box as a user does who tabs into it: it takes the focus (the box left
// before does its exit work), its text is selected, and the keys replace it.
inline void type(QWidget* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(box)) e->selectAll();
    QTest::keyClicks(box, text);
}

// Types into a box that takes the focus as by the Tab key, without selecting anything
// beyond what its own focus-in does (a box that already has the focus keeps its caret).
inline void typeTabbedInto(QWidget* box, const QString& text) {
    box->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(box, text);
}

// Types into a box given the focus by the program: the keys go where the caret is.
inline void typeAtCaret(QWidget* box, const QString& text) {
    box->setFocus();
    QTest::keyClicks(box, text);
}

inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// One value of the database as text (null as an invalid QVariant).
inline QVariant scalar(Connection& db, const QString& sql) {
    auto c = db.query(sql);
    if (!c->next() || c->isNull(0)) return QVariant();
    return QString::fromUtf8(c->utf8(0).data(), c->utf8(0).size());
}
// The same through anything that gives its connection with db() (the fixtures).
template <class App> QVariant scalar(App& app, const QString& sql) {
    return scalar(static_cast<Connection&>(app.db()), sql);
}

// The first column of every row of a query, as text (null as a null string).
inline QStringList column(Connection& db, const QString& sql) {
    QStringList values;
    auto c = db.query(sql);
    while (c->next())
        values << (c->isNull(0) ? QString() : QString::fromUtf8(c->utf8(0).data(), c->utf8(0).size()));
    return values;
}
template <class App> QStringList column(App& app, const QString& sql) {
    return column(static_cast<Connection&>(app.db()), sql);
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
            if (suffix == QLatin1String("Items")) { // the choices, as a capture writes them
                const QString items = kind && kind->items ? LanguageFile::joinItems(kind->items(o)) : QString();
                if (items != value) problems << key + QStringLiteral(" shows \"") + items + QLatin1Char('"');
                continue;
            }
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

// The language file of a form in an application folder (with its trailing '/').
inline QString languageFile(const QString& folder, const QString& language, const QString& form) {
    return folder + QStringLiteral("language/") + language + QLatin1Char('/') + form + QStringLiteral(".lpu");
}

// The same in the folder of anything that has one (the fixtures).
template <class App> QString languageFile(const App& app, const QString& language, const QString& form) {
    return languageFile(app.folder.path(), language, form);
}

} // namespace dv::test
