#pragma once
// The application started on a fresh application folder with scripted services, and
// small stand-in screens that record what the opener gave them. A test program starts
// it once (sharedApp) and has its data put back between cases; a case that needs
// other start-up options makes its own LoggedIn.
#include "AppFolder.h"
#include "DatabaseSnapshot.h"
#include "ScriptedServices.h"
#include "TestHelpers.h"
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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
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

class LoggedIn;
void stopSharedApp();

namespace detail {
// Stops the shared application before anything of a new one is made (its services
// would otherwise be put back over the new ones' when it goes).
struct StopsSharedApp {
    StopsSharedApp() { stopSharedApp(); }
};
} // namespace detail

// Started and logged in as the administrator; everything is undone when it goes.
class LoggedIn : private detail::StopsSharedApp {
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
    explicit LoggedIn(const Options& options)
        : folder(options.folder), m_developer(options.developerWorkstation) {
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
        m_snapshot.reset();
        shutdown(o);
        resetDialogTexts();
        resetTermination();
        session().reset();
    }
    LoggedIn(const LoggedIn&) = delete;
    LoggedIn& operator=(const LoggedIn&) = delete;

    // Logs in through the start-up dialog and waits for the hand-over (the scripted
    // clock's ticks come at once).
    bool logIn(const QString& user, const QString& password) {
        o.login->EditLogin->setText(user);
        o.login->EditSenha->setText(password);
        o.login->btnOKClick();
        return QTest::qWaitFor([this] { return o.main->isVisible() && o.login.isNull(); }, 5000);
    }

    TfrmPrincipal* main() const { return o.main.get(); }
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

    // Remembers the application as it stands (after start-up and login) so that
    // putBack() can return to it: a copy of the database, the session values.
    void keepAsPristine() {
        auto* engine = dynamic_cast<SqlCipherEngine*>(dm().ADOConexao());
        QVERIFY2(engine, "the shared application needs the embedded engine");
        const QString file = folder.path() + QStringLiteral("banco/pristine.mdb");
        QFile::remove(file);
        m_snapshot =
            std::make_unique<DatabaseSnapshot>(*engine, file, databasePassword(dm().connectionString()));
        m_session = session();
        m_folderFiles = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        m_activeShared.clear();
        m_sharedParams.clear();
        for (Dataset* d : dm().findChildren<Dataset*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (d->isActive()) m_activeShared << d->objectName();
            m_sharedParams.insert(d->objectName(), d->params());
        }
    }

    // Back to the pristine state for the next test case: every screen and window the
    // last case left closed, the database restored from the copy (then `sql` run on
    // it), the shared datasets read again, the scripted services, session values,
    // screen log and termination request as after start-up.
    void putBack(const QStringList& sql = {}) {
        for (int i = 0; i < 10; ++i) {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) break;
            modal->close();
            QCoreApplication::processEvents();
        }
        for (QMdiSubWindow* w : o.main->mdiArea()->subWindowList())
            delete w;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* engine = dynamic_cast<SqlCipherEngine*>(dm().ADOConexao());
        m_snapshot->restoreInto(*engine);
        for (const QString& statement : sql)
            db().execute(statement);
        // The shared datasets: closed, and those open after start-up and login opened
        // again in their order.
        const QList<Dataset*> shared = dm().findChildren<Dataset*>(QString(), Qt::FindDirectChildrenOnly);
        for (Dataset* d : shared) // a case's pending rows are given up with its data
            if (d->isEditing()) d->cancel();
        for (Dataset* d : shared) {
            d->close();
            // The login's user and group again, whoever a case logged in as.
            for (const Param& p : m_sharedParams.value(d->objectName()))
                d->setParam(p.name, p.type, p.value);
        }
        for (Dataset* d : shared)
            if (m_activeShared.contains(d->objectName()) && !d->isActive()) d->open();
        // Files a case wrote beside the executable (exports, the INI layout store).
        const QDir dir(folder.path());
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
            if (!m_folderFiles.contains(name)) QFile::remove(dir.filePath(name));
        s.reset();
        s.workstation.setDeveloper(m_developer);
        session() = m_session;
        o.main->setLoginPanel(QStringLiteral("Login: ") + session().userLogin());
        ScreenLog::get().clear();
        resetTermination();
        o.main->childScreensChanged();
        if (!o.main->isVisible()) o.main->showMaximized();
        QApplication::setActiveWindow(o.main.get());
    }

    ScriptedServices s; // before the application starts, gone after it
    AppFolder folder;
    StartupObjects o;

private:
    bool m_developer = false;
    std::unique_ptr<DatabaseSnapshot> m_snapshot;
    Session m_session;
    QStringList m_folderFiles;
    QStringList m_activeShared;
    QHash<QString, Params> m_sharedParams;
};

struct SharedAppSlot {
    std::unique_ptr<LoggedIn> app;
    QString key;
    static SharedAppSlot& get() {
        static SharedAppSlot slot;
        return slot;
    }
};

// Stops the program's shared application, if one runs (cleanupTestCase; a LoggedIn
// made by a test case stops it first, as there is one application at a time).
inline void stopSharedApp() {
    SharedAppSlot& slot = SharedAppSlot::get();
    std::unique_ptr<LoggedIn> app = std::move(slot.app);
    slot.key.clear();
    app.reset();
}

// The test program's one application for a configuration named `key`: started with
// `options()` and logged in on first use, put back to how it was then (see
// LoggedIn::putBack, `sql` run on the restored database) on each later use with the
// same key. Another key stops it and starts anew.
inline LoggedIn& sharedApp(const QString& key, const std::function<LoggedIn::Options()>& options,
                           const QStringList& sql = {}) {
    SharedAppSlot& slot = SharedAppSlot::get();
    if (slot.app && slot.key == key) {
        slot.app->putBack(sql);
        return *slot.app;
    }
    stopSharedApp();
    static const bool once = [] {
        qAddPostRoutine(stopSharedApp); // in case cleanupTestCase did not
        return true;
    }();
    Q_UNUSED(once);
    auto app = std::make_unique<LoggedIn>(options());
    app->keepAsPristine();
    if (!sql.isEmpty()) app->putBack(sql);
    slot.app = std::move(app);
    slot.key = key;
    return *slot.app;
}

} // namespace dv::test
