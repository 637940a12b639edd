#include "LanguageFile.h"
#include "ComponentTag.h"
#include "ComponentTexts.h"
#include "IniFile.h"
#include <QFile>
#include <QWidget>

namespace dv {

QString LanguageFile::path(const QString& executableFolder, const QString& language,
                           const QString& formName) {
    return executableFolder + QStringLiteral("language/") + language + QLatin1Char('/') + formName +
           QStringLiteral(".lpu");
}

QList<QObject*> LanguageFile::components(const QObject* screen) {
    QList<QObject*> result;
    if (!screen) return result;
    const QList<QObject*> all = screen->findChildren<QObject*>();
    for (QObject* o : all) {
        const QString name = o->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) result.append(o);
    }
    return result;
}

bool LanguageFile::apply(QWidget* screen, const QString& filePath, const QString& formName) {
    if (!screen) return false;
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const IniFile ini = IniFile::parse(file.readAll());
    file.close();

    screen->setWindowTitle(ini.value(formName, formName + QStringLiteral(".Caption")));
    for (QObject* component : components(screen)) {
        const ComponentTextKind* kind = ComponentTexts::kindOf(component);
        if (!kind) continue;
        const QString prefix = component->objectName() + QLatin1Char('.');
        for (TextKey key : kind->keys) {
            const QString value = ini.value(formName, prefix + textKeyName(key));
            if (value.isEmpty()) continue;
            if (key == TextKey::Items) {
                if (kind->setItems) kind->setItems(component, splitItems(value));
            } else if (kind->setText) {
                kind->setText(component, key, value);
            }
        }
    }
    return true;
}

namespace {
// One value per line: a line break inside a caption would cut the entry.
QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}
} // namespace

QStringList LanguageFile::capture(const QWidget* screen, const QString& formName) {
    QStringList lines;
    lines.append(QLatin1Char('[') + formName + QLatin1Char(']'));
    lines.append(formName + QStringLiteral(".Caption=") +
                 oneLine(screen ? screen->windowTitle() : QString()));
    if (!screen) return lines;
    for (QObject* component : components(screen)) {
        if (componentTag(component) == 9) continue;
        const ComponentTextKind* kind = ComponentTexts::kindOf(component);
        if (!kind) continue;
        if (kind->captureOnlyWithCaption && kind->text && kind->text(component, TextKey::Caption).isEmpty())
            continue;
        const QString name = component->objectName();
        for (TextKey key : kind->keys) {
            QString value;
            if (key == TextKey::Items)
                value = kind->items ? joinItems(kind->items(component)) : QString();
            else
                value = kind->text ? kind->text(component, key) : QString();
            const bool blank = key == TextKey::Hint && kind->blankBeforeHintEquals;
            lines.append(name + QLatin1Char('.') + textKeyName(key) +
                         (blank ? QStringLiteral(" =") : QStringLiteral("=")) + oneLine(value));
        }
    }
    return lines;
}

QString LanguageFile::joinItems(const QStringList& items) {
    QStringList parts;
    for (const QString& item : items) {
        bool quote = false;
        for (QChar c : item) {
            if (c.unicode() <= ' ' || c == QLatin1Char(';') || c == QLatin1Char('"')) {
                quote = true;
                break;
            }
        }
        if (quote) {
            QString inner = item;
            inner.replace(QLatin1String("\""), QLatin1String("\"\""));
            parts.append(QLatin1Char('"') + inner + QLatin1Char('"'));
        } else {
            parts.append(item);
        }
    }
    return parts.join(QLatin1Char(';'));
}

// Only ';' separates choices (a blank does not), so a hand-written
// "Pessoa Física;Jurídica" keeps its two choices.
QStringList LanguageFile::splitItems(const QString& value) {
    QStringList items;
    if (value.isEmpty()) return items;
    const qsizetype n = value.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && value.at(i) == QLatin1Char(' '))
            ++i;
        QString item;
        if (i < n && value.at(i) == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (value.at(i) == QLatin1Char('"')) {
                    if (i + 1 < n && value.at(i + 1) == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += value.at(i++);
            }
            // Anything between the closing quote and the next ';' belongs to the choice.
            qsizetype end = value.indexOf(QLatin1Char(';'), i);
            if (end < 0) end = n;
            item += value.mid(i, end - i).trimmed();
            i = end;
        } else {
            qsizetype end = value.indexOf(QLatin1Char(';'), i);
            if (end < 0) end = n;
            item = value.mid(i, end - i).trimmed();
            i = end;
        }
        items.append(item);
        if (i >= n) break;
        ++i; // past the ';'
        if (i == n) {
            items.append(QString()); // a trailing ';' ends with an empty choice
            break;
        }
    }
    return items;
}

} // namespace dv
