#pragma once
// The application started on a fresh application folder with scripted services, and
// small stand-in screens that record what the opener gave them.
#include "AppFolder.h"
#include "ScriptedServices.h"
#include "core/Localization.h"
#include "core/Session.h"
#include "core/Termination.h"
#include "core/U_dm.h"
#include "framework/ScreenRegistry.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>

namespace dv::test {

// What the stand-in screens saw, for the test to read afterwards.
struct ScreenLog {
    QStringList shown;          // form names, in the order shown
    QStringList permissionRows; // form_nome of dm().SQL_GrupoPermissao while each was shown
    QStringList closed;
    bool modalWhileShown = false; // the last dialog was the active modal widget when shown
    static ScreenLog& get() {
        static ScreenLog log;
        return log;
    }
    void clear() { *this = ScreenLog(); }
};

inline QString currentPermissionRow() {
    Dataset* p = dm().SQL_GrupoPermissao;
    return p->isActive() && !p->isEmpty() ? p->fieldByName(QStringLiteral("form_nome"))->asString()
                                          : QString();
}

// A list screen as small as can be.
class FakeListScreen : public QWidget {
public:
    FakeListScreen(QWidget* parent, const QString& formName, const QString& caption) : QWidget(parent) {
        setObjectName(formName);
        setWindowTitle(caption);
    }
    bool refuseClose = false;

protected:
    void showEvent(QShowEvent* e) override {
        QWidget::showEvent(e);
        ScreenLog::get().shown << objectName();
        ScreenLog::get().permissionRows << currentPermissionRow();
    }
    void closeEvent(QCloseEvent* e) override {
        if (refuseClose) {
            e->ignore();
            return;
        }
        ScreenLog::get().closed << objectName();
        e->accept();
    }
};

// A dialog that records its showing and closes itself at once.
class FakeDialogScreen : public QDialog {
public:
    FakeDialogScreen(QWidget* parent, const QString& formName, const QString& caption) : QDialog(parent) {
        setObjectName(formName);
        setWindowTitle(caption);
    }

protected:
    void showEvent(QShowEvent* e) override {
        QDialog::showEvent(e);
        ScreenLog::get().shown << objectName();
        ScreenLog::get().permissionRows << currentPermissionRow();
        QTimer::singleShot(0, this, [this] {
            ScreenLog::get().modalWhileShown = QApplication::activeModalWidget() == this;
            ScreenLog::get().closed << objectName();
            accept();
        });
    }
};

// Stand-ins for every screen of the registry (or only the names given).
inline ScreenRegistration fakeScreens(const QStringList& only = {}) {
    return [only](ScreenRegistry& r) {
        for (const ScreenEntry& e : r.entries()) {
            if (!only.isEmpty() && !only.contains(e.formName)) continue;
            const QString name = e.formName, caption = e.caption;
            if (e.kind == ScreenKind::List)
                r.setFactory(name,
                             [name, caption](QWidget* p) { return new FakeListScreen(p, name, caption); });
            else
                r.setFactory(name,
                             [name, caption](QWidget* p) { return new FakeDialogScreen(p, name, caption); });
        }
    };
}

// Started and logged in as the administrator; everything is undone when it goes.
class LoggedIn {
public:
    struct Options {
        ScreenRegistration screens = fakeScreens();
        // Runs on the installation database before start-up (SQL statements).
        QStringList sqlBeforeStart;
        AppFolder::Options folder;
        // Runs on the application folder before start-up.
        std::function<void(const AppFolder&)> prepareFolder;
        bool developerWorkstation = false;
        bool login = true;
    };
    LoggedIn() : LoggedIn(Options()) {}
    explicit LoggedIn(const Options& options) : folder(options.folder) {
        ScreenLog::get().clear();
        resetTermination();
        session().reset();
        s.workstation.setDeveloper(options.developerWorkstation);
        if (options.prepareFolder) options.prepareFolder(folder);
        if (!options.sqlBeforeStart.isEmpty()) {
            auto c = Connection::open(folder.connectionString(), QStringLiteral("/"));
            for (const QString& sql : options.sqlBeforeStart)
                c->execute(sql);
        }
        o = startup(*qApp, folder.path(), options.screens);
        if (options.login) logIn(QStringLiteral("admin"), QStringLiteral("admin"));
    }
    ~LoggedIn() {
        shutdown(o);
        resetDialogTexts();
        resetTermination();
        session().reset();
    }

    // Logs in through the start-up dialog and waits for the hand-over.
    bool logIn(const QString& user, const QString& password) {
        o.login->EditLogin->setText(user);
        o.login->EditSenha->setText(password);
        o.login->btnOKClick();
        QElapsedTimer t;
        t.start();
        while ((!o.main->isVisible() || !o.login.isNull()) && t.elapsed() < 5000)
            QTest::qWait(20);
        return o.main->isVisible();
    }

    TfrmPrincipal* main() const { return o.main; }
    ScreenOpener& opener() const { return o.main->opener(); }
    Connection& db() const { return *dm().ADOConexao(); }
    // Re-reads a shared dataset after the test changed its table.
    static void reopen(Dataset* d) {
        d->close();
        d->open();
    }
    // The texts of the window list's entries (the template and "Fechar Todas" left out).
    QStringList windowList() const {
        QStringList texts;
        for (QAction* a : o.main->Janelas1->actions())
            if (!a->isSeparator() && a != o.main->JanelaItem1 && a != o.main->FecharTodas1)
                texts << a->text();
        return texts;
    }

    ScriptedServices s; // before the application starts, gone after it
    AppFolder folder;
    StartupObjects o;
};

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

} // namespace dv::test
