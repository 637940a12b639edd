#include "Localization.h"
#include "IniFile.h"
#include "LanguageFile.h"
#include "Services.h"
#include "Session.h"
#include "WritablePlaces.h"
#include "db/DbErrors.h"
#include <QDir>
#include <QSaveFile>
#include <QWidget>

namespace dv {

namespace {
DialogTexts& current() {
    static DialogTexts texts = DialogTexts::builtIn();
    return texts;
}

// A language code names a folder; one that could leave the language folder is no language.
bool usableLanguage(const QString& code) {
    return !code.isEmpty() && !code.contains(QLatin1Char('/')) && !code.contains(QLatin1Char('\\')) &&
           code != QLatin1String(".") && code != QLatin1String("..");
}
} // namespace

bool setDialogTexts(const QString& language) {
    const std::optional<DialogTexts> texts = DialogTexts::forLanguage(language);
    if (!texts) return false;
    current() = *texts;
    selectToolkitTexts(language);
    return true;
}

const DialogTexts& dialogTexts() {
    return current();
}

void resetDialogTexts() {
    current() = DialogTexts::builtIn();
    resetToolkitTexts();
}

void applyLanguageFile(QWidget* screen) {
    if (!screen || screen->objectName().isEmpty()) return;
    const QString language = session().language();
    if (!usableLanguage(language)) return;
    LanguageFile::apply(screen,
                        LanguageFile::path(session().executableFolder(), language, screen->objectName()),
                        screen->objectName());
}

QString sharedMessage(const QString& section, const QString& key) {
    const QString language = session().language();
    if (!usableLanguage(language)) return QString();
    return IniFile::readString(session().executableFolder() + QStringLiteral("language/Default_") + language +
                                   QStringLiteral(".lpu"),
                               section, key);
}

bool captureLanguageFile(QWidget* screen) {
    if (!screen || screen->objectName().isEmpty()) return false;
    const QString formName = screen->objectName();
    const QStringList lines = LanguageFile::capture(screen, formName);

    FileDialogRequest request;
    request.caption = QStringLiteral("Arquivos de Linguagem");
    request.filter = QStringLiteral("Arquivos de Linguagem (.lpu)|*.lpu");
    request.defaultSuffix = QStringLiteral("lpu");
    request.folder = writableFolderOr(session().filePath(QStringLiteral("language\\pt_BR")));
    request.fileName = formName;
    request.confirmOverwrite = true;
    const QString target = services().fileDialogs().saveFile(request);
    if (target.isEmpty()) return false;

    // UTF-8: the language files are read back as UTF-8 first.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 || !file.commit())
        throw PlainError(
            QStringLiteral("Não foi possível gravar o arquivo '%1': %2").arg(target, file.errorString()));
    return true;
}

} // namespace dv
