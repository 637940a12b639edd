#pragma once
// Driving the backup screen: the installation's mode in config.ini, the screen opened
// through the opener with work done while it is shown, and the login asked after a
// restore answered as the administrator.
#include "../shell/AccessFixture.h"
#include "maintenance/U_frmBackup.h"
#include "shell/U_frmLogin.h"
#include <QRegularExpression>
#include <optional>

namespace dv::test {

// Sets (or, with nullopt, removes) "Configap" of the application folder's config.ini.
inline void setConfigap(LoggedIn& app, const std::optional<QString>& value) {
    QFile f(app.folder.path() + QStringLiteral("config.ini"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(f.readAll());
    f.close();
    text.remove(QRegularExpression(QStringLiteral("\\[Aplicacao\\][^\\[]*")));
    if (value) text += QStringLiteral("\n[Aplicacao]\nConfigap=%1\n").arg(*value);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// Opens the backup screen and runs the work while it is shown; false when it did not show.
inline bool withBackup(LoggedIn& app, const std::function<void(TfrmBackup*)>& work) {
    bool ran = false;
    whenModal([&](QWidget* w) {
        QPointer<QWidget> guard(w);
        if (auto* screen = qobject_cast<TfrmBackup*>(w)) {
            work(screen);
            ran = true;
        }
        if (guard && guard->isVisible()) guard->close();
    });
    app.opener().open(QStringLiteral("frmBackup"));
    return ran;
}

// Answers the login that follows a restore as the administrator; *asked becomes true.
inline void answerLoginAfterRestore(LoggedIn& app, bool* asked) {
    whenModal([&app, asked](QWidget* w) {
        auto* login = qobject_cast<TfrmLogin*>(w);
        QVERIFY(login);
        *asked = true;
        QVERIFY(app.opener().openScreens().isEmpty());
        login->EditLogin->setText(QStringLiteral("admin"));
        login->EditSenha->setText(QStringLiteral("admin"));
        login->btnOKClick();
    });
}

} // namespace dv::test
