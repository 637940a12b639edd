#include "AccessKeys.h"
#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace dv {

namespace {

// The caption an entry had before a key was given to it, and the text it was given.
constexpr const char* kOwnCaption = "dvOwnCaption";
constexpr const char* kKeyedCaption = "dvKeyedCaption";

bool choosable(QChar c) {
    return c.unicode() < 128 && c.isLetterOrNumber();
}

// Where in the caption its key could go, best first.
QList<int> candidates(const QString& caption) {
    QList<int> wordStarts, others;
    for (int i = 0; i < caption.size(); ++i) {
        if (!choosable(caption[i])) continue;
        const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
        (wordStart ? wordStarts : others) << i;
    }
    return wordStarts + others;
}

// The visible entries that show a caption: separators and hidden items take no key.
QList<QAction*> captioned(const QList<QAction*>& actions) {
    QList<QAction*> shown;
    for (QAction* a : actions)
        if (a->isVisible() && !a->isSeparator() && !a->text().isEmpty()) shown << a;
    return shown;
}

// The entry's caption without the key given to it here.
QString ownCaption(const QAction* a) {
    const QString text = a->text();
    if (text == a->property(kKeyedCaption).toString()) return a->property(kOwnCaption).toString();
    return text;
}

void giveAccessKeys(const QList<QAction*>& actions, const QSet<QChar>& reserved) {
    const QList<QAction*> entries = captioned(actions);
    QStringList captions;
    for (QAction* a : entries)
        captions << ownCaption(a);
    const QStringList keyed = withAccessKeys(captions, reserved);
    for (int i = 0; i < entries.size(); ++i) {
        QAction* a = entries[i];
        a->setProperty(kOwnCaption, captions[i]);
        a->setProperty(kKeyedCaption, keyed[i]);
        if (a->text() != keyed[i]) a->setText(keyed[i]);
    }
}

} // namespace

QChar accessKeyOf(const QString& caption) {
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&')) continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption[i + 1].toLower();
    }
    return QChar();
}

QStringList withAccessKeys(const QStringList& captions, const QSet<QChar>& reserved) {
    QSet<QChar> taken = reserved;
    for (const QString& c : captions)
        if (const QChar key = accessKeyOf(c); !key.isNull()) taken.insert(key);
    QStringList keyed = captions;
    for (QString& caption : keyed) {
        if (!accessKeyOf(caption).isNull()) continue;
        for (int at : candidates(caption)) {
            const QChar key = caption[at].toLower();
            if (taken.contains(key)) continue;
            taken.insert(key);
            caption.insert(at, QLatin1Char('&'));
            break;
        }
    }
    return keyed;
}

void giveAccessKeys(QMenu* menu) {
    if (menu) giveAccessKeys(menu->actions(), {});
}

void giveAccessKeys(QMenuBar* bar) {
    if (!bar) return;
    QSet<QChar> reserved;
    QWidget* window = bar->window();
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(window))
            if (const QChar key = accessKeyOf(b->text()); !key.isNull()) reserved.insert(key);
    giveAccessKeys(bar->actions(), reserved);
}

void keepAccessKeys(QMenuBar* bar) {
    if (!bar) return;
    giveAccessKeys(bar);
    for (QAction* entry : bar->actions()) {
        QMenu* menu = entry->menu();
        if (!menu || menu->property("dvAccessKeys").toBool()) continue;
        menu->setProperty("dvAccessKeys", true);
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { giveAccessKeys(menu); });
    }
}

} // namespace dv
