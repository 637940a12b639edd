// The help manual: every screen has its page, the pages link only to files that
// exist, and "Ajuda" and F1 open the page of the screen they are pressed on, in the
// interface language when the page is translated.
#include "AccessFixture.h"
#include "ProgramScreens.h"
#include "finance/FinanceScreens.h"
#include "framework/HelpPages.h"
#include "framework/U_frmCadastro.h"
#include "framework/U_frmModelo4.h"
#include "framework/U_frmModeloSelecao.h"
#include "framework/U_frmRelatorio.h"
#include "registries/OfficeScreens.h"
#include "toolkit/DBGrid.h"
#include <QDirIterator>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;
using Kind = ScriptedDialogs::Kind;

namespace {

const QString kHelp = QStringLiteral(DV_SOURCE_DIR "/assets/help/");

// Screens shown outside the opener, with a page all the same.
const QStringList kOtherScreens = {QStringLiteral("frmLogin"), QStringLiteral("frmPrincipal"),
                                   QStringLiteral("frmMenu"), QStringLiteral("frmRelatorio"),
                                   QStringLiteral("frmSelecaoServico")};

LoggedIn& helpApp() {
    return sharedApp(QStringLiteral("help"), [] {
        LoggedIn::Options o;
        o.screens = [](ScreenRegistry& r) {
            registerOfficeScreens(r);
            registerFinanceScreens(r);
        };
        return o;
    });
}

QString helpFile(const QString& name) {
    return session().executableFolder() + QStringLiteral("help/") + name;
}

// F1 typed where the focus is, as the keyboard sends it (shortcuts included).
void pressF1(QWidget* window) {
    QApplication::setActiveWindow(window);
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != window) target = window;
    QTest::keyClick(target, Qt::Key_F1);
}

TfrmModelo4* openContacts(LoggedIn& app) {
    app.opener().open(QStringLiteral("frmContato"));
    auto* list = qobject_cast<TfrmModelo4*>(app.opener().openScreen(QStringLiteral("frmContato")));
    QApplication::setActiveWindow(app.main());
    if (list) list->wwDBGrid1->setFocus();
    return list;
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void everyScreenHasItsPage() {
        QStringList missing;
        QStringList names = kOtherScreens;
        // The registry as the program fills it: screens its libraries add appear too.
        ScreenRegistry registry;
        registerProgramScreens(registry);
        for (const ScreenEntry& e : registry.entries())
            names << e.formName;
        names << QStringLiteral("index");
        for (const QString& name : names)
            if (!QFile::exists(kHelp + name + QStringLiteral(".html")))
                missing << QStringLiteral("help/") + name + QStringLiteral(".html");
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("missing pages: ") + missing.join(QStringLiteral(", "))));
    }

    // Every href and src of every page (translated ones included) names a file of
    // the manual, and an anchor names an id of its page.
    void pagesLinkOnlyToFilesThatExist() {
        static const QRegularExpression link(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]*)\""));
        QStringList broken;
        int pages = 0;
        QDirIterator it(kHelp, {QStringLiteral("*.html"), QStringLiteral("*.css")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString page = it.next();
            QFile f(page);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(f.readAll());
            ++pages;
            auto matches = link.globalMatch(text);
            while (matches.hasNext()) {
                const QString target = matches.next().captured(1);
                if (target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:")))
                    continue;
                const QString file = target.section(QLatin1Char('#'), 0, 0);
                const QString anchor = target.section(QLatin1Char('#'), 1);
                const QString path =
                    file.isEmpty() ? page : QFileInfo(QFileInfo(page).dir(), file).absoluteFilePath();
                const QString where = page.mid(kHelp.size()) + QStringLiteral(" → ") + target;
                if (!QFileInfo::exists(path)) {
                    broken << where;
                    continue;
                }
                if (!anchor.isEmpty()) {
                    QFile t(path);
                    QVERIFY(t.open(QIODevice::ReadOnly));
                    if (!t.readAll().contains(QStringLiteral("id=\"%1\"").arg(anchor).toUtf8()))
                        broken << where;
                }
            }
        }
        QVERIFY(pages > 1);
        QVERIFY2(broken.isEmpty(),
                 qPrintable(QStringLiteral("broken links: ") + broken.join(QStringLiteral("; "))));
    }

    // F1 in a list screen opens its page, not the main window's start page; with
    // no screen open it is the main window's start page again.
    void listScreenAndMainWindow() {
        LoggedIn& app = helpApp();
        TfrmModelo4* list = openContacts(app);
        QVERIFY(list);
        pressF1(app.main());
        app.main()->AjudadaTela1->trigger();
        QCOMPARE(app.s.shell.opened(), (QStringList{helpFile(QStringLiteral("frmContato.html")),
                                                    helpFile(QStringLiteral("frmContato.html"))}));
        app.main()->FecharTodas1Click();
        QApplication::setActiveWindow(app.main());
        app.main()->setFocus();
        pressF1(app.main());
        app.main()->AjudadaTela1->trigger();
        QCOMPARE(app.s.shell.opened().mid(2), (QStringList{helpFile(QStringLiteral("index.html")),
                                                           helpFile(QStringLiteral("index.html"))}));
    }

    // "Ajuda" and F1 of a maintenance screen, a period dialog and the report picker.
    void dialogsOpenTheirOwnPage() {
        LoggedIn& app = helpApp();
        TfrmModelo4* list = openContacts(app);
        QVERIFY(list);
        QVERIFY(inModal<TfrmCadastro>([&] { list->btnNovo->click(); },
                                      [&](TfrmCadastro* s) {
                                          pressF1(s);
                                          QTest::mouseClick(s->btnAjuda, Qt::LeftButton);
                                      }));
        QVERIFY(inModal<TfrmRelatorio>([&] { list->btnImprimir->click(); },
                                       [&](TfrmRelatorio* s) { pressF1(s); }));
        QVERIFY(
            inModal<TfrmModeloSelecao>([&] { app.opener().open(QStringLiteral("frmSelecaoContasReceber")); },
                                       [&](TfrmModeloSelecao* s) {
                                           pressF1(s);
                                           QTest::mouseClick(s->btnAjuda, Qt::LeftButton);
                                       }));
        QCOMPARE(app.s.shell.opened(),
                 (QStringList{helpFile(QStringLiteral("frmContato_Manut.html")),
                              helpFile(QStringLiteral("frmContato_Manut.html")),
                              helpFile(QStringLiteral("frmRelatorio.html")),
                              helpFile(QStringLiteral("frmSelecaoContasReceber.html")),
                              helpFile(QStringLiteral("frmSelecaoContasReceber.html"))}));
    }

    // A translated page wins (the shipped English and Spanish pages); a page only
    // written in Portuguese falls back to it, and a screen without a page to the
    // start page of the language.
    void translatedPagesFirst_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("opened");
        QTest::newRow("English") << "en"
                                 << "frmPaciente"
                                 << "en/frmPaciente.html";
        QTest::newRow("Spanish") << "es"
                                 << "frmContato"
                                 << "es/frmContato.html";
        QTest::newRow("not translated") << "es"
                                        << "frmSoPortugues"
                                        << "frmSoPortugues.html";
        QTest::newRow("Portuguese") << "pt_BR"
                                    << "frmContato"
                                    << "frmContato.html";
        QTest::newRow("no page: start page") << "en"
                                             << "frmNaoExiste"
                                             << "en/index.html";
    }
    void translatedPagesFirst() {
        QFETCH(QString, language);
        QFETCH(QString, page);
        QFETCH(QString, opened);
        LoggedIn& app = helpApp();
        const QString portugueseOnly = helpFile(QStringLiteral("frmSoPortugues.html"));
        {
            QFile f(portugueseOnly);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("<html><body>Ajuda</body></html>");
        }
        session().setLanguage(language);
        const bool ok = openHelpPage(page);
        session().setLanguage(QStringLiteral("pt_BR"));
        QFile::remove(portugueseOnly);
        QVERIFY(ok);
        QCOMPARE(app.s.shell.opened(), QStringList{helpFile(opened)});
    }

    // A translated page answers a Portuguese one, says its language, and links to
    // the translated pages next to it rather than back to the Portuguese ones.
    void translatedPagesStayInTheirLanguage() {
        static const QRegularExpression link(QStringLiteral("href\\s*=\\s*\"\\.\\./([^\"#]*\\.html)"));
        QStringList problems;
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("es")}) {
            const QDir folder(kHelp + language);
            const QStringList pages = folder.entryList({QStringLiteral("*.html")}, QDir::Files);
            QVERIFY2(pages.contains(QStringLiteral("index.html")), qPrintable(language));
            for (const QString& name : pages) {
                const QString where = language + QLatin1Char('/') + name;
                if (!QFile::exists(kHelp + name)) problems << where + QStringLiteral(": no Portuguese page");
                QFile f(folder.filePath(name));
                QVERIFY(f.open(QIODevice::ReadOnly));
                const QString text = QString::fromUtf8(f.readAll());
                if (!text.contains(QStringLiteral("<html lang=\"%1\">").arg(language)))
                    problems << where + QStringLiteral(": not marked as ") + language;
                auto matches = link.globalMatch(text);
                while (matches.hasNext()) {
                    const QString target = matches.next().captured(1);
                    if (folder.exists(target)) problems << where + QStringLiteral(" → ../") + target;
                }
            }
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
    }

    // The English and Spanish manuals have a page for every Portuguese one, so that
    // F1 never drops a reader into Portuguese halfway through.
    void everyPageIsTranslated() {
        const QStringList pages = QDir(kHelp).entryList({QStringLiteral("*.html")}, QDir::Files);
        QVERIFY(pages.contains(QStringLiteral("index.html")));
        QStringList missing;
        for (const QString& language : {QStringLiteral("en"), QStringLiteral("es")})
            for (const QString& name : pages)
                if (!QFile::exists(kHelp + language + QLatin1Char('/') + name))
                    missing << language + QLatin1Char('/') + name;
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("not translated: ") + missing.join(QStringLiteral(", "))));
    }

    // No page at all: the user is told where it was looked for, nothing is opened.
    void noPageIsSaid() {
        LoggedIn& app = helpApp();
        const QString index = helpFile(QStringLiteral("index.html"));
        QVERIFY(QFile::rename(index, index + QStringLiteral(".aside")));
        const bool ok = openHelpPage(QStringLiteral("frmNaoExiste"));
        QVERIFY(QFile::rename(index + QStringLiteral(".aside"), index));
        QVERIFY(!ok);
        QVERIFY(app.s.shell.opened().isEmpty());
        QCOMPARE(app.s.dialogs.texts(Kind::Warning),
                 QStringList{QStringLiteral("A ajuda \"frmNaoExiste.html\" não foi encontrada em %1help.")
                                 .arg(session().executableFolder())});
    }
};

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
