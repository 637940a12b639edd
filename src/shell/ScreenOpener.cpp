#include "ScreenOpener.h"
#include "ScreenWindow.h"
#include "ShellIcons.h"
#include "U_frmMenu.h"
#include "U_frmPrincipal.h"
#include "core/CodeTexts.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>

namespace dv {

namespace {

// Ends a local loop when the watched window is hidden (closed).
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget* watched, QEventLoop* loop) : m_loop(loop) { watched->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Hide) m_loop->quit();
        return false;
    }

private:
    QEventLoop* m_loop;
};

QString trimmedField(Dataset* d, const char* name) {
    return d->fieldByName(QLatin1String(name))->asString().trimmed();
}

} // namespace

ScreenOpener::ScreenOpener(TfrmPrincipal* mainWindow) : QObject(mainWindow), m_main(mainWindow) {}

ScreenWindow* ScreenOpener::findOpen(const QString& formName) const {
    for (QMdiSubWindow* w : m_main->mdiArea()->subWindowList(QMdiArea::StackingOrder)) {
        auto* sw = qobject_cast<ScreenWindow*>(w);
        if (sw && !sw->isClosed() && sw->screen() &&
            sw->screen()->objectName().compare(formName, Qt::CaseInsensitive) == 0)
            return sw;
    }
    return nullptr;
}

QWidget* ScreenOpener::openScreen(const QString& formName) const {
    ScreenWindow* w = findOpen(formName);
    return w ? w->screen() : nullptr;
}

QList<QWidget*> ScreenOpener::openScreens() const {
    QList<QWidget*> screens;
    for (QMdiSubWindow* w : m_main->mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        auto* sw = qobject_cast<ScreenWindow*>(w);
        if (sw && !sw->isClosed() && sw->screen()) screens << sw->screen();
    }
    return screens;
}

QAction* ScreenOpener::windowMenuEntry(const QWidget* screen) const {
    if (!screen) return nullptr;
    for (QAction* a : m_main->Janelas1->actions())
        if (a->parent() == screen) return a;
    return nullptr;
}

// form_descricao of the registry row the opener stands on; a form name without a row
// of its own falls back to the caption the screen carries (or the name itself).
QString ScreenOpener::description(const QString& formName) const {
    // The stored description is Portuguese; another language names the screen as its file does.
    const QString translated = translatedScreenCaption(formName);
    if (!translated.isEmpty()) return translated;
    Dataset* f = dm().SQL_Formulario;
    if (f->isActive() && !f->isEmpty() && trimmedField(f, "form_nome") == formName.trimmed())
        return f->fieldByName(QStringLiteral("form_descricao"))->asString();
    const ScreenEntry* e = m_registry.find(formName);
    return e ? e->caption : formName;
}

namespace {
void giveArguments(QWidget* screen, const ScreenArgs& args) {
    if (args.isEmpty()) return;
    if (auto* hosted = dynamic_cast<HostedScreen*>(screen)) hosted->applyArguments(args);
}
} // namespace

bool ScreenOpener::open(const QString& formName, const ScreenArgs& args) {
    if (ScreenWindow* w = findOpen(formName)) {
        if (w->isMinimized()) w->showMaximized();
        m_main->mdiArea()->setActiveSubWindow(w);
        w->raise();
        giveArguments(w->screen(), args);
        return true;
    }

    Tdm& d = dm();
    if (d.SQL_Formulario->isActive()) d.SQL_Formulario->locate(QStringLiteral("form_nome"), formName);
    const bool permitted = d.SQL_GrupoPermissao->isActive() &&
                           d.SQL_GrupoPermissao->locate(QStringLiteral("form_nome"), formName);
    if (!permitted) {
        services().dialogs().warning(
            dv::text("Você não tem permissão para abrir o formulário: %1 (%2)! Verifique com o "
                     "Administrador do Sistema...")
                .arg(description(formName).trimmed(), formName.trimmed()));
        session().setScreenName(formName);
        return false;
    }

    WaitCursor cursor;
    const ScreenEntry* entry = m_registry.find(formName);
    const bool listed = entry && entry->factory && entry->kind != ScreenKind::FixedDialog;
    if (!listed) {
        cursor.restore();
        services().dialogs().information(dv::text("Formulário não existe ou não encontrado!"));
        return false;
    }
    const bool isList = entry->kind == ScreenKind::List;
    QWidget* parent = isList
                          ? static_cast<QWidget*>(m_main->mdiArea())
                          : (QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_main);
    QWidget* screen = m_registry.create(formName, parent);
    if (!screen) {
        cursor.restore();
        services().dialogs().information(dv::text("Formulário não existe ou não encontrado!"));
        return false;
    }
    session().setScreenName(formName);
    try {
        giveArguments(screen, args);
    } catch (...) {
        delete screen;
        throw;
    }

    if (isList) {
        showList(screen, formName);
    } else {
        // The dialog is the user's to work in: no hourglass over it.
        cursor.restore();
        showModal(screen);
    }
    return false;
}

void ScreenOpener::showList(QWidget* screen, const QString& formName) {
    auto* window = new ScreenWindow(screen);
    try {
        QPointer<QAction> entry =
            new QAction(shellIcon(ShellIcon::WindowItem), description(formName), screen);
        entry->setObjectName(formName + QStringLiteral("_Janela"));
        entry->setToolTip(formName);
        entry->setStatusTip(formName);
        connect(entry, &QAction::triggered, this, [this, hint = formName] { open(hint); });
        m_main->Janelas1->addAction(entry);

        // The area is made ready first, then the window is added already maximised and
        // with drawing held back, so that the screen is never seen at its designed size.
        m_main->showScreenArea();
        QCoreApplication::processEvents();
        window->setUpdatesEnabled(false);
        window->setWindowState(Qt::WindowMaximized);
        m_main->mdiArea()->addSubWindow(window);
        // The entry goes as soon as the screen has closed; the screen itself is freed
        // a moment later.
        connect(window, &ScreenWindow::screenClosed, m_main, [this, entry] {
            delete entry;
            m_main->childScreensChanged();
        });
        connect(window, &QObject::destroyed, m_main, [this] { m_main->childScreensChanged(); });
        window->show();
        QCoreApplication::processEvents();
        m_main->mdiArea()->setActiveSubWindow(window);
        QCoreApplication::processEvents();
        window->setUpdatesEnabled(true);
        window->update();
    } catch (...) {
        delete window;
        m_main->childScreensChanged();
        throw;
    }
}

void ScreenOpener::showModal(QWidget* screen) {
    QPointer<QWidget> guard(screen);
    try {
        if (auto* dialog = qobject_cast<QDialog*>(screen)) {
            dialog->exec();
        } else {
            screen->setWindowFlag(Qt::Dialog, true);
            screen->setWindowModality(Qt::ApplicationModal);
            QEventLoop loop;
            HideWatcher watcher(screen, &loop);
            connect(screen, &QObject::destroyed, &loop, &QEventLoop::quit);
            screen->show();
            if (screen->isVisible()) loop.exec();
        }
    } catch (...) {
        delete guard.data();
        throw;
    }
    delete guard.data();
}

} // namespace dv
