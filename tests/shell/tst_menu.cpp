#include "AccessFixture.h"
#include "shell/U_frmMenu.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

QStringList texts(const QList<QTreeWidgetItem*>& items) {
    QStringList t;
    for (QTreeWidgetItem* i : items)
        t << i->text(0);
    return t;
}
QList<QTreeWidgetItem*> groups(QTreeWidget* tree) {
    QList<QTreeWidgetItem*> g;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        g << tree->topLevelItem(i);
    return g;
}
QList<QTreeWidgetItem*> entries(QTreeWidgetItem* group) {
    QList<QTreeWidgetItem*> e;
    for (int i = 0; i < group->childCount(); ++i)
        e << group->child(i);
    return e;
}
QTreeWidgetItem* node(QTreeWidget* tree, const QString& group, const QString& entry = QString()) {
    for (QTreeWidgetItem* g : groups(tree))
        if (g->text(0) == group) {
            if (entry.isEmpty()) return g;
            for (QTreeWidgetItem* e : entries(g))
                if (e->text(0) == entry) return e;
        }
    return nullptr;
}

TfrmMenu* openMenu(LoggedIn& app) {
    app.main()->MenudeAcesso1Click();
    return app.main()->menuWindow();
}

} // namespace

// The system menu window: the tree over menu_sistema, the path and help of the chosen
// node, and opening through the opener.
class TestMenu : public QObject {
    Q_OBJECT

private slots:
    void treeHoldsActiveEntriesUnderActiveGroups() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart
            << QStringLiteral(
                   "update menu_sistema set menu_ativo = 'N' where menu_id = 1 and sub_menu_id = 5")
            << QStringLiteral(
                   "update menu_sistema set menu_ativo = 'N' where menu_id = 3 and sub_menu_id = 0")
            << QStringLiteral(
                   "insert into menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, form_nome) "
                   "values (9, 1, 'Sem grupo', 'S', 'frmDente')");
        LoggedIn app(opt);
        TfrmMenu* menu = openMenu(app);
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(menu->windowTitle(), QStringLiteral("Menu de Acesso ao Sistema"));
        QVERIFY(menu->width() >= 270);
        QCOMPARE(
            texts(groups(menu->TreeView1)),
            (QStringList{QStringLiteral("Cadastros"), QStringLiteral("Clínico"), QStringLiteral("Sistema")}));
        // Entries in the order of their names; the inactive one left out.
        QCOMPARE(texts(entries(node(menu->TreeView1, QStringLiteral("Cadastros")))),
                 (QStringList{QStringLiteral("Convênios"), QStringLiteral("Dentes"),
                              QStringLiteral("Dentistas"), QStringLiteral("Empresa"),
                              QStringLiteral("Estoque de Produtos"), QStringLiteral("Medicamentos"),
                              QStringLiteral("Pacientes"), QStringLiteral("Serviços")}));
        QVERIFY(!groups(menu->TreeView1).first()->icon(0).isNull());
        QVERIFY(entries(groups(menu->TreeView1).first()).first()->icon(0).isNull());
        QVERIFY(menu->TreeView1->findItems(QStringLiteral("Sem grupo"), Qt::MatchRecursive).isEmpty());
        QVERIFY(menu->TreeView1->findItems(QStringLiteral("Contas a Pagar"), Qt::MatchRecursive).isEmpty());
    }

    void chosenNodeShowsItsPathAndHelp() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral(
            "update menu_sistema set menu_nome = 'Clínico  ' where menu_id = 2 and sub_menu_id = 0");
        LoggedIn app(opt);
        TfrmMenu* menu = openMenu(app);
        QTreeWidgetItem* group = node(menu->TreeView1, QStringLiteral("Clínico  "));
        QVERIFY(group);
        menu->TreeView1->setCurrentItem(group);
        QCOMPARE(menu->lbForm->text(), QStringLiteral("Clínico"));
        QCOMPARE(menu->Memo1->toPlainText(),
                 QStringLiteral("Atendimento: agenda de horários e consultas com orçamento e odontograma."));
        menu->TreeView1->setCurrentItem(
            node(menu->TreeView1, QStringLiteral("Clínico  "), QStringLiteral("Consultas")));
        QCOMPARE(menu->lbForm->text(), QStringLiteral("Clínico >> Consultas"));
        QCOMPARE(menu->Memo1->toPlainText(),
                 QStringLiteral("Consultas do paciente: orçamento, odontograma, documentos e parcelas."));
        QVERIFY(menu->Memo1->isReadOnly());
        QCOMPARE(menu->Label1->text(), QStringLiteral("Duplo clique para abrir os formulários"));
    }

    void doubleClickAndEnterOpenThroughTheOpener_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<QString>("opened");
        QTest::newRow("double click on an entry") << "Cadastros"
                                                  << "Dentistas" << false << "frmDentista";
        QTest::newRow("double click on a group") << "Cadastros"
                                                 << "" << false << "";
        QTest::newRow("Enter on an entry") << "Financeiro"
                                           << "Contas a Pagar" << true << "frmContasPagar";
        // The entries follow the group: Enter opens the group's first entry.
        QTest::newRow("Enter on a group") << "Cadastros"
                                          << "" << true << "frmContato";
    }
    void doubleClickAndEnterOpenThroughTheOpener() {
        QFETCH(QString, group);
        QFETCH(QString, entry);
        QFETCH(bool, enter);
        QFETCH(QString, opened);
        LoggedIn::Options opt;
        // Blanks after the form name do not count.
        opt.sqlBeforeStart << QStringLiteral("update menu_sistema set form_nome = form_nome || '  '");
        LoggedIn app(opt);
        TfrmMenu* menu = openMenu(app);
        QTreeWidgetItem* n = node(menu->TreeView1, group, entry);
        QVERIFY(n);
        if (enter) {
            menu->TreeView1->setCurrentItem(n);
            QTest::keyClick(menu->TreeView1, Qt::Key_Return);
        } else {
            menu->TreeView1->setCurrentItem(n);
            menu->TreeView1DblClick(n);
        }
        QCOMPARE(ScreenLog::get().shown, opened.isEmpty() ? QStringList() : QStringList{opened});
        if (!enter && entry.isEmpty()) QVERIFY(n->isExpanded());
        QCOMPARE(app.s.dialogs.count(), 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void enterOnAGroupWithoutEntriesIsRefused() {
        LoggedIn::Options opt;
        opt.sqlBeforeStart << QStringLiteral(
            "insert into menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, "
            "form_nome, menu_ajuda) values (7, 0, 'Vazio', 'S', 'frmDente', '')");
        LoggedIn app(opt);
        TfrmMenu* menu = openMenu(app);
        menu->TreeView1->setCurrentItem(node(menu->TreeView1, QStringLiteral("Vazio")));
        QTest::keyClick(menu->TreeView1, Qt::Key_Enter);
        QVERIFY(ScreenLog::get().shown.isEmpty());
        QCOMPARE(app.s.dialogs.texts(),
                 QStringList{QStringLiteral("Você não tem permissão para abrir o formulário:  "
                                            "()! Verifique com o Administrador do Sistema...")});
    }

    void treeIsReadAgainOnlyWhenTheWindowIsMadeAgain() {
        LoggedIn app;
        QPointer<TfrmMenu> menu = openMenu(app);
        app.db().execute(
            QStringLiteral("insert into menu_sistema (menu_id, sub_menu_id, menu_nome, menu_ativo, "
                           "form_nome) values (2, 9, 'Odontograma', 'S', 'frmConsulta')"));
        app.main()->MenudeAcesso1Click();
        QCOMPARE(app.main()->menuWindow(), menu.data());
        QVERIFY(!node(menu->TreeView1, QStringLiteral("Clínico"), QStringLiteral("Odontograma")));
        QTest::mouseClick(menu->btnFechar, Qt::LeftButton);
        QTRY_VERIFY(menu.isNull());
        QVERIFY(node(openMenu(app)->TreeView1, QStringLiteral("Clínico"), QStringLiteral("Odontograma")));
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
