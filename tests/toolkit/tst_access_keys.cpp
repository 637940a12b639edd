// Access keys given to captions that carry none, and to a window's menu bar.
#include "toolkit/AccessKeys.h"
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace dv;

class TestAccessKeys : public QObject {
    Q_OBJECT
private slots:
    void captionsGetDistinctKeys_data() {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QString>("reserved");
        QTest::addColumn<QStringList>("expected");
        auto list = [](const char* joined) { return QString::fromUtf8(joined).split(QLatin1Char('|')); };
        QTest::newRow("first letters")
            << list("Arquivo|Janelas|Ajuda") << QString() << list("&Arquivo|&Janelas|Aj&uda");
        QTest::newRow("next word before other letters")
            << list("Cadastro|Cadastro de Icones") << QString() << list("&Cadastro|Cadastro &de Icones");
        QTest::newRow("own key kept and taken first")
            << list("Arquivo|&Ajuda|Exibir") << QString() << list("A&rquivo|&Ajuda|&Exibir");
        QTest::newRow("own key in any case") << list("Salvar|&Sair") << QString() << list("S&alvar|&Sair");
        QTest::newRow("double ampersand is no key")
            << list("P&&D|Pesquisa") << QString() << list("&P&&D|P&esquisa");
        QTest::newRow("accents and signs skipped") << list("Ações|Área") << QString() << list("&Ações|Á&rea");
        QTest::newRow("reserved keys avoided")
            << list("Arquivo|Novo") << QStringLiteral("an") << list("A&rquivo|N&ovo");
        QTest::newRow("no letter left") << list("Aa|a|b") << QString() << list("&Aa|a|&b");
        QTest::newRow("digits and empty") << list("1 Dia||Dia") << QString() << list("&1 Dia||&Dia");
    }
    void captionsGetDistinctKeys() {
        QFETCH(QStringList, captions);
        QFETCH(QString, reserved);
        QFETCH(QStringList, expected);
        QSet<QChar> keys;
        for (QChar c : reserved)
            keys.insert(c);
        QCOMPARE(withAccessKeys(captions, keys), expected);
    }

    void menuBarGivesWayToTheWindowsButtonsAndKeepsItsOwnCaptions() {
        QMainWindow window;
        auto* file = window.menuBar()->addMenu(QStringLiteral("Novo"));
        auto* help = window.menuBar()->addMenu(QStringLiteral("&Help"));
        auto* novo = new QPushButton(QStringLiteral("&Novo"), &window);
        window.setCentralWidget(novo);
        window.show();
        keepAccessKeys(window.menuBar());
        QCOMPARE(file->title(), QStringLiteral("N&ovo"));
        QCOMPARE(help->title(), QStringLiteral("&Help"));

        // The button goes: the entry takes its first letter again, from its own caption.
        novo->hide();
        giveAccessKeys(window.menuBar());
        QCOMPARE(file->title(), QStringLiteral("&Novo"));
        // A caption set from outside (another language) is keyed afresh.
        file->setTitle(QStringLiteral("Nuevo"));
        giveAccessKeys(window.menuBar());
        QCOMPARE(file->title(), QStringLiteral("&Nuevo"));

        // An opened menu's entries are keyed, hidden ones left out.
        auto* hidden = file->addAction(QStringLiteral("Abrir oculto"));
        hidden->setVisible(false);
        auto* open = file->addAction(QStringLiteral("Abrir"));
        auto* close = file->addAction(QStringLiteral("Arquivar"));
        file->popup(QPoint());
        QTRY_VERIFY(file->isVisible());
        QCOMPARE(open->text(), QStringLiteral("&Abrir"));
        QCOMPARE(close->text(), QStringLiteral("A&rquivar"));
        QCOMPARE(hidden->text(), QStringLiteral("Abrir oculto"));
        file->close();

        // Alt+letter opens the entry by the key it was given.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_N, Qt::AltModifier);
        QTRY_VERIFY(file->isVisible());
        file->close();
    }
};

QTEST_MAIN(TestAccessKeys)
#include "tst_access_keys.moc"
