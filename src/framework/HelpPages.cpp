#include "HelpPages.h"
#include "core/DialogService.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/ShellService.h"
#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace dv {

namespace {

const char kTopicProperty[] = "dvHelpTopic";

// A message added after the language files were installed: the file's text when it
// has one, else the Portuguese one; each "%s" takes the next argument.
QString message(const char* key, const char* portuguese, const QStringList& arguments) {
    QString text = sharedMessage(QStringLiteral("Cadastro"), QLatin1String(key));
    if (text.isEmpty()) text = QString::fromUtf8(portuguese);
    qsizetype at = 0;
    for (const QString& argument : arguments) {
        at = text.indexOf(QStringLiteral("%s"), at);
        if (at < 0) break;
        text.replace(at, 2, argument);
        at += argument.size();
    }
    return text;
}

bool isHelpKey(QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    return key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier;
}

// Sits on the application: sees F1 first, where it is typed.
class HelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isHelpKey(event) || !watched->isWidgetType()) return false;
        const QString topic = helpTopicOf(static_cast<QWidget*>(watched));
        if (topic.isEmpty()) return false;
        event->accept();
        // The override keeps the window's own F1 shortcut from taking the key; the
        // press that follows opens the page, once.
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
            openHelpPage(topic);
        return true;
    }
};

} // namespace

QString helpPageFile(const QString& page) {
    const QString name = page + QStringLiteral(".html");
    const QString language = session().language();
    if (!language.isEmpty() && language != QStringLiteral("pt_BR")) {
        const QString translated =
            session().filePath(QStringLiteral("help\\") + language + QLatin1Char('\\') + name);
        if (QFileInfo::exists(translated)) return translated;
    }
    const QString portuguese = session().filePath(QStringLiteral("help\\") + name);
    return QFileInfo::exists(portuguese) ? portuguese : QString();
}

bool openHelpPage(const QString& formName) {
    QString file = formName.isEmpty() ? QString() : helpPageFile(formName);
    if (file.isEmpty()) file = helpPageFile(QStringLiteral("index"));
    auto& dialogs = services().dialogs();
    if (file.isEmpty()) {
        const QString page =
            (formName.isEmpty() ? QStringLiteral("index") : formName) + QStringLiteral(".html");
        dialogs.warning(message("sMsgAjudaNaoEncontrada", "A ajuda \"%s\" não foi encontrada em %s.",
                                {page, session().filePath(QStringLiteral("help"))}));
        return false;
    }
    if (services().shell().open(file)) return true;
    dialogs.warning(message("sMsgAjudaNaoAberta", "Não foi possível abrir a ajuda \"%s\".", {file}));
    return false;
}

void setHelpTopic(QWidget* widget, const QString& formName) {
    widget->setProperty(kTopicProperty, formName);
}

void ensureHelpTopic(QWidget* screen) {
    installHelpKey();
    if (screen->property(kTopicProperty).toString().isEmpty() && !screen->objectName().isEmpty())
        setHelpTopic(screen, screen->objectName());
}

QString helpTopicOf(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QString topic = w->property(kTopicProperty).toString();
        if (!topic.isEmpty()) return topic;
    }
    return QString();
}

void installHelpKey() {
    static QPointer<HelpKey> installed;
    if (installed || !qApp) return;
    installed = new HelpKey(qApp);
    qApp->installEventFilter(installed);
}

} // namespace dv
