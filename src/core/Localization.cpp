#include "Localization.h"
#include "CodeTexts.h"
#include "IniFile.h"
#include "LanguageFile.h"
#include "Services.h"
#include "Session.h"
#include "WritablePlaces.h"
#include "db/DbErrors.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSaveFile>
#include <QTranslator>
#include <QWidget>
#include <memory>
#include <vector>

namespace dv {

namespace {
DialogTexts& current() {
    static DialogTexts texts = DialogTexts::builtIn();
    return texts;
}

// Qt's Spanish is Spain's; a clinic's Spanish says "archivo", not "fichero".
class QtTranslator : public QTranslator {
public:
    explicit QtTranslator(bool americanSpanish) : m_americanSpanish(americanSpanish) {}
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        QString text = QTranslator::translate(context, source, disambiguation, n);
        if (m_americanSpanish && text.contains(QLatin1String("ichero"), Qt::CaseInsensitive)) {
            text.replace(QLatin1String("ficheros"), QLatin1String("archivos"));
            text.replace(QLatin1String("fichero"), QLatin1String("archivo"));
            text.replace(QLatin1String("Ficheros"), QLatin1String("Archivos"));
            text.replace(QLatin1String("Fichero"), QLatin1String("Archivo"));
            text.replace(QLatin1String("FICHERO"), QLatin1String("ARCHIVO"));
        }
        return text;
    }

private:
    bool m_americanSpanish;
};

std::vector<std::unique_ptr<QTranslator>>& qtTranslators() {
    static std::vector<std::unique_ptr<QTranslator>> installed;
    return installed;
}

void removeQtTranslations() {
    for (const auto& t : qtTranslators())
        QCoreApplication::removeTranslator(t.get());
    qtTranslators().clear();
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
    installQtTranslations(language);
    return true;
}

bool installQtTranslations(const QString& language) {
    if (!DialogTexts::forLanguage(language)) return false;
    removeQtTranslations();
    // qt_<code> gathers the catalogues of Qt's modules; qtbase_<code> alone where it does not exist.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : {QStringLiteral("qt_"), QStringLiteral("qtbase_")}) {
        auto translator = std::make_unique<QtTranslator>(language == QLatin1String("es"));
        if (!translator->load(name + language, folder)) continue;
        QCoreApplication::installTranslator(translator.get());
        qtTranslators().push_back(std::move(translator));
        return true;
    }
    return false;
}

const DialogTexts& dialogTexts() {
    return current();
}

void resetDialogTexts() {
    current() = DialogTexts::builtIn();
    resetToolkitTexts();
    removeQtTranslations();
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

QString sharedMessage(const QString& section, const QString& key, const QString& builtIn) {
    const QString text = sharedMessage(section, key);
    return text.isEmpty() ? builtIn : text;
}

QString translatedScreenCaption(const QString& formName) {
    const QString language = session().language();
    if (!usableLanguage(language) || formName.trimmed().isEmpty()) return QString();
    const QString form = formName.trimmed();
    return IniFile::readString(LanguageFile::path(session().executableFolder(), language, form), form,
                               form + QStringLiteral(".Caption"));
}

QString languageVariantPath(const QString& relativeName) {
    const QString plain = session().filePath(relativeName);
    const QString language = session().language();
    if (!usableLanguage(language) || language == QLatin1String("pt_BR")) return plain;
    const QFileInfo info(plain);
    const QString variant = info.path() + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('_') +
                            language +
                            (info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix());
    return QFileInfo::exists(variant) ? variant : plain;
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
            dv::text("Não foi possível gravar o arquivo '%1': %2").arg(target, file.errorString()));
    return true;
}

} // namespace dv
