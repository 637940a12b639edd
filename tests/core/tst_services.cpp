#include "ScriptedServices.h"
#include "core/DesktopShellService.h"
#include "core/DialogTexts.h"
#include "core/IniSettingsStore.h"
#include "core/Localization.h"
#include "core/MachineIdWorkstation.h"
#include "core/QtDialogService.h"
#include "core/QtFileDialogService.h"
#include "core/Services.h"
#include "core/SystemClock.h"
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {
// What a modal dialog showed, read while it is open.
struct Seen {
    QString title;
    QString text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Waits for the next modal dialog, records it and lets `act` close it. A dialog
// that never appears, or that `act` leaves open, fails the test instead of hanging.
void whenModal(Seen& seen, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [=, &seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            if (++*tries > 200) {
                timer->deleteLater();
                QFAIL("no modal dialog appeared");
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        seen.title = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.text = box->text();
            seen.icon = box->icon();
            for (QAbstractButton* b : box->buttons())
                seen.buttons.append(b->text());
        } else {
            if (auto* label = modal->findChild<QLabel*>()) seen.text = label->text();
            for (QAbstractButton* b : modal->findChildren<QAbstractButton*>())
                seen.buttons.append(b->text());
        }
        act(modal);
        QTimer::singleShot(2000, modal, [modal] {
            modal->close();
            QFAIL("the dialog was left open");
        });
    });
    timer->start(10);
}

void clickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->text() == text) {
            b->click();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(text)));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

class TestServices : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void replacementsAndRealServices();
    void messageDialogsFollowTheLanguage_data();
    void messageDialogsFollowTheLanguage();
    void confirmation_data();
    void confirmation();
    void question_data();
    void question();
    void inputBox();
    void plainMessageBoxCaption();
    void scriptedDialogsReportUnexpected();
    void nameFilters_data();
    void nameFilters();
    void shellUrls_data();
    void shellUrls();
    void shellRefusesMissingFiles();
    void developerWorkstation_data();
    void developerWorkstation();
};

void TestServices::cleanup() {
    dv::services().restoreReal();
    dv::resetDialogTexts();
}

void TestServices::replacementsAndRealServices() {
    dv::Services& s = dv::services();
    QVERIFY(dynamic_cast<dv::QtDialogService*>(&s.dialogs()));
    QVERIFY(dynamic_cast<dv::QtFileDialogService*>(&s.fileDialogs()));
    QVERIFY(dynamic_cast<dv::DesktopShellService*>(&s.shell()));
    QVERIFY(dynamic_cast<dv::SystemClock*>(&s.clock()));
    QVERIFY(dynamic_cast<dv::MachineIdWorkstation*>(&s.workstation()));
    QVERIFY(dynamic_cast<dv::IniSettingsStore*>(&s.settings()));
    {
        dv::test::ScriptedServices scripted;
        QCOMPARE(&s.dialogs(), static_cast<dv::DialogService*>(&scripted.dialogs));
        QCOMPARE(&s.settings(), static_cast<dv::SettingsStore*>(&scripted.settings));
        QCOMPARE(s.clock().today(), QDate(2026, 3, 16));
        scripted.clock.set(QDateTime(QDate(2024, 2, 29), QTime(23, 59)));
        QCOMPARE(s.clock().now(), QDateTime(QDate(2024, 2, 29), QTime(23, 59)));
    }
    QVERIFY(dynamic_cast<dv::QtDialogService*>(&s.dialogs()));
    QCOMPARE(s.clock().today(), QDate::currentDate());
}

void TestServices::messageDialogsFollowTheLanguage_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("ok");
    QTest::addColumn<int>("icon");
    QTest::newRow("warning pt_BR") << "pt_BR"
                                   << "warning"
                                   << "Atenção"
                                   << "OK" << int(QMessageBox::Warning);
    QTest::newRow("error es") << "es"
                              << "error"
                              << "Error"
                              << "OK" << int(QMessageBox::Critical);
    QTest::newRow("information en") << "en"
                                    << "information"
                                    << "Information"
                                    << "OK" << int(QMessageBox::Information);
    QTest::newRow("information es") << "es"
                                    << "information"
                                    << "Información"
                                    << "OK" << int(QMessageBox::Information);
    QTest::newRow("built-in") << ""
                              << "warning"
                              << "Warning"
                              << "OK" << int(QMessageBox::Warning);
}

void TestServices::messageDialogsFollowTheLanguage() {
    QFETCH(QString, language);
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, ok);
    QFETCH(int, icon);
    dv::setDialogTexts(language);
    Seen seen;
    whenModal(seen, [&](QWidget* d) { clickButton(d, ok); });
    const QString text = QStringLiteral("Ocorreu um Erro\r\rlinha");
    if (kind == QLatin1String("warning"))
        dv::services().dialogs().warning(text);
    else if (kind == QLatin1String("error"))
        dv::services().dialogs().error(text);
    else
        dv::services().dialogs().information(text);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.buttons, QStringList{ok});
    QCOMPARE(int(seen.icon), icon);
    // The system's lone '\r' line breaks are shown as line breaks.
    QCOMPARE(seen.text, QStringLiteral("Ocorreu um Erro\n\nlinha"));
}

void TestServices::confirmation_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::addColumn<bool>("answerYes");
    QTest::newRow("pt_BR yes") << "pt_BR"
                               << "Confirmar"
                               << "&Sim"
                               << "&Não" << true;
    QTest::newRow("pt_BR no") << "pt_BR"
                              << "Confirmar"
                              << "&Sim"
                              << "&Não" << false;
    QTest::newRow("en yes") << "en"
                            << "Confirm"
                            << "&Yes"
                            << "&No" << true;
    QTest::newRow("es no") << "es"
                           << "Confirmar"
                           << "&Sí"
                           << "&No" << false;
}

void TestServices::confirmation() {
    QFETCH(QString, language);
    QFETCH(QString, caption);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    QFETCH(bool, answerYes);
    dv::setDialogTexts(language);
    Seen seen;
    whenModal(seen, [&](QWidget* d) { clickButton(d, answerYes ? yes : no); });
    QCOMPARE(dv::services().dialogs().confirmation(QStringLiteral("Deseja realmente sair do sistema?")),
             answerYes);
    QCOMPARE(seen.title, caption);
    QCOMPARE(seen.text, QStringLiteral("Deseja realmente sair do sistema?"));
    QVERIFY(seen.buttons.contains(yes));
    QVERIFY(seen.buttons.contains(no));
    QCOMPARE(seen.buttons.size(), 2);
}

void TestServices::question_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("button"); // empty: Escape
    QTest::addColumn<int>("answer");
    using Answer = dv::DialogService::Answer;
    QTest::newRow("pt_BR Sim") << "pt_BR"
                               << "&Sim" << int(Answer::Yes);
    QTest::newRow("en No") << "en"
                           << "&No" << int(Answer::No);
    QTest::newRow("es Cancelar") << "es"
                                 << "Cancelar" << int(Answer::Cancel);
    QTest::newRow("Escape cancels") << "pt_BR"
                                    << "" << int(Answer::Cancel);
}

void TestServices::question() {
    QFETCH(QString, language);
    QFETCH(QString, button);
    QFETCH(int, answer);
    dv::setDialogTexts(language);
    const dv::DialogTexts texts = dv::DialogTexts::forLanguage(language).value();
    Seen seen;
    whenModal(seen, [&](QWidget* d) {
        if (button.isEmpty())
            QTest::keyClick(d, Qt::Key_Escape);
        else
            clickButton(d, button);
    });
    QCOMPARE(int(dv::services().dialogs().question(QStringLiteral("Deseja salvá-las?"))), answer);
    QCOMPARE(seen.title, texts.confirmationCaption);
    QStringList expected{texts.yes, texts.no, texts.cancel};
    expected.sort();
    seen.buttons.sort();
    QCOMPARE(seen.buttons, expected);
}

void TestServices::inputBox() {
    dv::setDialogTexts(QStringLiteral("pt_BR"));
    Seen seen;
    whenModal(seen, [](QWidget* d) {
        d->findChild<QLineEdit*>()->setText(QStringLiteral("Panorâmica"));
        clickButton(d, QStringLiteral("OK"));
    });
    const auto answer = dv::services().dialogs().inputBox(QStringLiteral("Entre com o Título"),
                                                          QStringLiteral("Título"), QStringLiteral("Foto"));
    QCOMPARE(answer, std::optional<QString>(QStringLiteral("Panorâmica")));
    QCOMPARE(seen.title, QStringLiteral("Entre com o Título"));
    QCOMPARE(seen.text, QStringLiteral("Título"));
    QVERIFY(seen.buttons.contains(QStringLiteral("Cancelar")));

    Seen cancelled;
    whenModal(cancelled, [](QWidget* d) { clickButton(d, QStringLiteral("Cancelar")); });
    QCOMPARE(dv::services().dialogs().inputBox(QStringLiteral("Entre com o Título"), QStringLiteral("Título"),
                                               QStringLiteral("Foto")),
             std::nullopt);
}

void TestServices::plainMessageBoxCaption() {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Dentrivale"));
    Seen seen;
    whenModal(seen, [](QWidget* d) { clickButton(d, QStringLiteral("OK")); });
    dv::services().dialogs().messageBox(QStringLiteral("Parcela quitada!"));
    QCOMPARE(seen.title, QStringLiteral("Dentrivale"));
    QCOMPARE(int(seen.icon), int(QMessageBox::NoIcon));
    QCOMPARE(seen.text, QStringLiteral("Parcela quitada!"));
}

void TestServices::scriptedDialogsReportUnexpected() {
    dv::test::ScriptedServices s;
    s.dialogs.queueConfirmation(true);
    QVERIFY(dv::services().dialogs().confirmation(QStringLiteral("a?")));
    QString why;
    QVERIFY(s.dialogs.verifyNoUnexpected(&why));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unexpected confirmation")));
    QVERIFY(!dv::services().dialogs().confirmation(QStringLiteral("b?")));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unexpected input box")));
    QCOMPARE(dv::services().dialogs().inputBox(QStringLiteral("c"), QStringLiteral("p"), QStringLiteral("d")),
             std::nullopt);
    s.dialogs.queueInput(QStringLiteral("left over"));
    QVERIFY(!s.dialogs.verifyNoUnexpected(&why));
    QVERIFY2(why.contains(QStringLiteral("unanswered confirmation: b?")), qPrintable(why));
    QVERIFY2(why.contains(QStringLiteral("input box: p")), qPrintable(why));
    QVERIFY2(why.contains(QStringLiteral("1 input answer(s) never asked")), qPrintable(why));
    QCOMPARE(s.dialogs.messages().at(1).caption, QStringLiteral("Confirm"));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unexpected open dialog")));
    QCOMPARE(dv::services().fileDialogs().openFile({}), QString());
    QVERIFY(!s.fileDialogs.verifyNoUnexpected());
}

void TestServices::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("patterns shown") << "JPEG Imagem (*.jpg)|*.jpg"
                                    << "JPEG Imagem (*.jpg)";
    QTest::newRow("two, one without patterns") << "BMP Imagem (*.bmp)|*.bmp|PNG Imagem|*.png"
                                               << "BMP Imagem (*.bmp);;PNG Imagem (*.png)";
    QTest::newRow("patterns unlike the description") << "Arquivos de Linguagem (.lpu)|*.lpu"
                                                     << "Arquivos de Linguagem (.lpu) (*.lpu)";
    QTest::newRow("several patterns") << "Imagens|*.bmp;*.png"
                                      << "Imagens (*.bmp *.png)";
    QTest::newRow("already Qt") << "Images (*.png *.jpg)"
                                << "Images (*.png *.jpg)";
}

void TestServices::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(dv::QtFileDialogService::qtNameFilters(filter), expected);
}

void TestServices::shellUrls_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QUrl>("url");
    QTest::newRow("file") << "/opt/dentrivale/QbExport_Pacientes.xls"
                          << QUrl::fromLocalFile(QStringLiteral("/opt/dentrivale/QbExport_Pacientes.xls"));
    QTest::newRow("backslashes") << "/opt/dentrivale/help\\Dentrivale.chm"
                                 << QUrl::fromLocalFile(
                                        QStringLiteral("/opt/dentrivale/help/Dentrivale.chm"));
    QTest::newRow("file with colon") << "/tmp/a:b.txt" << QUrl::fromLocalFile(QStringLiteral("/tmp/a:b.txt"));
    QTest::newRow("web") << "http://www.example.com.br" << QUrl(QStringLiteral("http://www.example.com.br"));
    QTest::newRow("mail") << "mailto:contato@example.com"
                          << QUrl(QStringLiteral("mailto:contato@example.com"));
}

void TestServices::shellUrls() {
    QFETCH(QString, target);
    QFETCH(QUrl, url);
    QCOMPARE(dv::DesktopShellService::urlFor(target), url);
}

// The desktop's opener would start for a missing file and fail unseen.
void TestServices::shellRefusesMissingFiles() {
    QTemporaryDir dir;
    QVERIFY(!dv::DesktopShellService().open(dir.filePath(QStringLiteral("help/nenhuma.html"))));
    QVERIFY(!dv::DesktopShellService().open(QStringLiteral("   ")));
}

void TestServices::developerWorkstation_data() {
    QTest::addColumn<QByteArray>("machineId"); // empty: no such file
    QTest::addColumn<QByteArray>("variable");  // empty: unset
    QTest::addColumn<bool>("developer");
    QTest::newRow("named machine") << QByteArray("4c4c4544004a\n") << QByteArray("4c4c4544004a") << true;
    QTest::newRow("other machine") << QByteArray("4c4c4544004a\n") << QByteArray("ffff") << false;
    QTest::newRow("variable unset") << QByteArray("4c4c4544004a\n") << QByteArray() << false;
    QTest::newRow("id unreadable") << QByteArray() << QByteArray("4c4c4544004a") << false;
    QTest::newRow("empty id file") << QByteArray("\n") << QByteArray(" ") << false;
}

void TestServices::developerWorkstation() {
    QFETCH(QByteArray, machineId);
    QFETCH(QByteArray, variable);
    QFETCH(bool, developer);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("machine-id"));
    if (!machineId.isEmpty()) writeFile(file, machineId);
    if (variable.isEmpty())
        qunsetenv(dv::MachineIdWorkstation::developerVariable);
    else
        qputenv(dv::MachineIdWorkstation::developerVariable, variable);
    dv::MachineIdWorkstation w(file);
    QCOMPARE(w.isDeveloperWorkstation(), developer);
    QCOMPARE(w.machineId(), QString::fromLatin1(machineId).trimmed());
    qunsetenv(dv::MachineIdWorkstation::developerVariable);
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
