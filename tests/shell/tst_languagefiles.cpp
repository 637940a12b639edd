#include "AccessFixture.h"
#include "TestHelpers.h"
#include "ProgramScreens.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "clinical/U_frmSelecaoServico.h"
#include "core/IniFile.h"
#include "framework/U_frmModelo4.h"
#include "framework/U_frmRelatorio.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmMenu.h"
#include "shell/U_frmPrincipal.h"
#include <QAbstractButton>
#include <QAction>
#include <QMdiSubWindow>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

LoggedIn::Options everyScreen() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) {
        registerProgramScreens(r);
    };
    return o;
}

// A captured key that needs no translation: Qt's own parts, the window-list entry,
// hidden columns titled by their field names, and texts without a letter.
bool needsNoTranslation(const QString& form, const QString& key, const QString& value) {
    const QString name = key.section(QLatin1Char('.'), 0, 0);
    const QString v = value.trimmed();
    if (v.isEmpty() || name.startsWith(QLatin1String("_q_")) || name == form + QLatin1String("_Janela") ||
        (key.endsWith(QLatin1String(".DisplayLabel")) && name.endsWith(v)))
        return true;
    for (QChar c : v)
        if (c.isLetter()) return false;
    return true;
}

// What the shipped files of a screen lack, or hold for components the screen no
// longer has, in English and Spanish.
QStringList missingTexts(const QWidget* screen, const QString& form) {
    QSet<QString> names{form};
    for (QObject* o : LanguageFile::components(screen))
        names.insert(o->objectName());
    QStringList problems;
    for (const char* code : {"en", "es"}) {
        const QString file = LanguageFile::path(QStringLiteral(DV_APP_DIR "/"), QLatin1String(code), form);
        if (!QFile::exists(file)) {
            problems << QStringLiteral("no file ") + file;
            continue;
        }
        for (const QString& line : LanguageFile::capture(screen, form).mid(1)) {
            const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
            if (needsNoTranslation(form, key, line.section(QLatin1Char('='), 1))) continue;
            if (IniFile::readString(file, form, key).isEmpty())
                problems << QStringLiteral("%1 %2 misses %3").arg(QLatin1String(code), form, line);
        }
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        for (const QString& line : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
            const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
            if (line.startsWith(QLatin1Char('[')) || !line.contains(QLatin1Char('='))) continue;
            if (!names.contains(key.section(QLatin1Char('.'), 0, -2)))
                problems
                    << QStringLiteral("%1 %2 names no component: %3").arg(QLatin1String(code), form, key);
        }
    }
    return problems;
}

// The texts a list screen shows on the list base's own buttons and menu items, by
// component name: "btnLocalizar.Caption" -> "Localizar".
QMap<QString, QString> baseTexts(const QWidget* screen, const QSet<QString>& baseNames) {
    QMap<QString, QString> texts;
    for (QObject* o : LanguageFile::components(screen)) {
        const QString name = o->objectName();
        if (!baseNames.contains(name)) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(o)) {
            texts[name + QStringLiteral(".Caption")] = b->text();
            texts[name + QStringLiteral(".Hint")] = b->toolTip();
        } else if (auto* a = qobject_cast<QAction*>(o)) {
            texts[name + QStringLiteral(".Caption")] = a->text();
            texts[name + QStringLiteral(".Hint")] = a->toolTip();
        }
    }
    return texts;
}

} // namespace

// Every screen and dialog that reads a language file has an English and a Spanish one
// giving every text and field label it declares.
class TestLanguageFiles : public QObject {
    Q_OBJECT

    LoggedIn& app() { return sharedApp(QStringLiteral("all"), everyScreen); }

    void check(const QWidget* screen, const QString& form) {
        const QStringList problems = missingTexts(screen, form);
        for (const QString& p : problems)
            qWarning("%s", qPrintable(p));
        QVERIFY2(problems.isEmpty(), qPrintable(form + QStringLiteral(": %1 problems").arg(problems.size())));
    }

    static void shown(QWidget& w) {
        w.show();
        QCoreApplication::processEvents();
    }

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void registeredScreens_data() {
        QTest::addColumn<QString>("form");
        LoggedIn& a = app();
        for (const ScreenEntry& e : a.opener().registry().entries())
            if (e.factory) QTest::newRow(qPrintable(e.formName)) << e.formName;
    }
    void registeredScreens() {
        QFETCH(QString, form);
        LoggedIn& a = app();
        const ScreenEntry* entry = a.opener().registry().find(form);
        QVERIFY(entry);
        if (entry->kind == ScreenKind::List) {
            a.opener().open(form);
            QWidget* screen = a.opener().openScreen(form);
            QVERIFY(screen);
            check(screen, form);
            return;
        }
        // Shown on its own, without the screen that opens it: its texts are there all the same.
        std::unique_ptr<QWidget> screen(a.opener().registry().create(form, a.main()));
        QVERIFY(screen);
        screen->show();
        QCoreApplication::processEvents();
        check(screen.get(), form);
        screen->close();
    }

    // Every list screen shows the list base's buttons and menu items with the same
    // texts in a given language, whichever file gives them.
    void listBaseTextsAgree_data() {
        QTest::addColumn<QString>("language");
        for (const char* code : {"pt_BR", "en", "es"})
            QTest::newRow(code) << QString::fromLatin1(code);
    }
    void listBaseTextsAgree() {
        QFETCH(QString, language);
        LoggedIn& a = app();
        QSet<QString> baseNames;
        {
            auto* base = new TfrmModelo4(nullptr, QStringLiteral("frmModeloBase"), QStringLiteral("Base"));
            for (QObject* o : LanguageFile::components(base))
                baseNames.insert(o->objectName());
            delete base;
        }
        QMap<QString, QMap<QString, QStringList>> formsByText; // key -> text -> forms
        for (const ScreenEntry& e : a.opener().registry().entries()) {
            if (!e.factory || e.kind != ScreenKind::List) continue;
            std::unique_ptr<QWidget> screen(a.opener().registry().create(e.formName, a.main()));
            if (!qobject_cast<TfrmModelo4*>(screen.get())) continue;
            LanguageFile::apply(screen.get(),
                                LanguageFile::path(QStringLiteral(DV_APP_DIR "/"), language, e.formName),
                                e.formName);
            const QMap<QString, QString> texts = baseTexts(screen.get(), baseNames);
            for (auto it = texts.cbegin(); it != texts.cend(); ++it)
                formsByText[it.key()][it.value()] << e.formName;
        }
        QVERIFY(formsByText.contains(QStringLiteral("btnLocalizar.Caption")));
        QStringList problems;
        for (auto key = formsByText.cbegin(); key != formsByText.cend(); ++key) {
            if (key.value().size() < 2) continue;
            for (auto text = key.value().cbegin(); text != key.value().cend(); ++text)
                problems << QStringLiteral("%1 %2=%3 in %4")
                                .arg(language, key.key(), text.key(), text.value().join(QLatin1Char(' ')));
        }
        for (const QString& p : problems)
            qWarning("%s", qPrintable(p));
        QVERIFY2(problems.isEmpty(), "the list base's texts differ between list screens");
    }

    void otherWindows() {
        LoggedIn& a = app();
        {
            TfrmLogin login(a.main(), TfrmLogin::Use::ChangeUser);
            shown(login);
            check(&login, QStringLiteral("frmLogin"));
        }
        {
            TfrmRelatorio picker(a.main());
            shown(picker);
            check(&picker, QStringLiteral("frmRelatorio"));
        }
        {
            std::unique_ptr<QWidget> record(
                a.opener().registry().create(QStringLiteral("frmConsulta_Manut"), a.main()));
            auto* consulta = qobject_cast<TfrmConsulta_Manut*>(record.get());
            QVERIFY(consulta);
            TfrmSelecaoServico selection(consulta->SQL_ItemConsulta, 11, 0, QString(), a.main());
            shown(selection);
            check(&selection, QStringLiteral("frmSelecaoServico"));
        }
        check(a.main(), QStringLiteral("frmPrincipal"));
        a.main()->MenudeAcesso1->trigger();
        QVERIFY(a.main()->menuWindow());
        check(a.main()->menuWindow(), QStringLiteral("frmMenu"));
    }
};

QTEST_MAIN(TestLanguageFiles)
#include "tst_languagefiles.moc"
