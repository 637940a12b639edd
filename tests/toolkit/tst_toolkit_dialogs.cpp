// The filter and locate dialogs: criteria typed per field reach the dataset, each
// dialog keeps its own set, and their texts follow the toolkit's language.
#include "ToolkitFixture.h"
#include "core/ToolkitTexts.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/FilterDialog.h"
#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using dv::test::ToolkitFixture;

namespace {

// Answers the next modal dialog with `answer`; fails instead of hanging when none comes.
void whenModal(const std::function<void(QWidget*)>& answer) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            answer(modal);
            // A check that failed inside the answer must not leave the dialog open.
            if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible()) dialog->reject();
            timer->deleteLater();
            delete tries;
        } else if (++*tries > 200) {
            timer->stop();
            QFAIL("no modal dialog came");
        }
    });
    timer->start(10);
}

} // namespace

class TestToolkitDialogs : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolkitFixture> m_db;
    Dataset& ds() { return *m_db->contacts; }
    QStringList names() {
        QStringList list;
        for (int r = 0; r < ds().recordCount(); ++r)
            list << ds().displayText(r, ds().fieldByName("contato_nome"));
        return list;
    }

private slots:
    void init() {
        selectToolkitTexts("pt_BR");
        m_db = std::make_unique<ToolkitFixture>();
    }
    void cleanup() { m_db.reset(); }

    void filterCriteriaReachTheDataset_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("criterion");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("any part, any case") << "contato_nome"
                                            << "SOUZA" << QStringList{"Ana Souza"};
        QTest::newRow("or") << "contato_nome"
                            << "carla or ana" << QStringList{"Ana Souza", "Carla Dias"};
        QTest::newRow("and") << "contato_nome"
                             << "ana and souza" << QStringList{"Ana Souza"};
        QTest::newRow("null") << "contato_cpf"
                              << "null" << QStringList{"Bruno \"Bê\" Lima"};
        QTest::newRow("wildcard") << "contato_nome"
                                  << "c%s" << QStringList{"Carla Dias"};
        QTest::newRow("a day") << "contato_data"
                               << "31/12/1995" << QStringList{"Carla Dias"};
    }
    void filterCriteriaReachTheDataset() {
        QFETCH(QString, field);
        QFETCH(QString, criterion);
        QFETCH(QStringList, rows);
        FilterDialog dialog(FilterDialog::Kind::Filter);
        dialog.setDataSource(m_db->dsContacts.get());
        whenModal([&](QWidget* modal) {
            QCOMPARE(modal, &dialog);
            dialog.setTypedCriterion(field, criterion);
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        });
        QVERIFY(dialog.execute());
        QCOMPARE(names(), rows);
        QVERIFY(dialog.hasCriteria());
        QCOMPARE(dialog.criteria().textOf(field), criterion);
        // Shown again, the dialog holds the criteria in force; Cancel changes nothing.
        whenModal([&](QWidget*) {
            QCOMPARE(dialog.typedCriterion(field), criterion);
            dialog.setTypedCriterion(field, "zzz");
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
        });
        QVERIFY(!dialog.execute());
        QCOMPARE(names(), rows);
        dialog.clearCriteria();
        QCOMPARE(ds().recordCount(), 3);
    }

    void typingInTheTableAndClearing() {
        FilterDialog dialog(FilterDialog::Kind::Filter);
        dialog.setDataSource(m_db->dsContacts.get());
        whenModal([&](QWidget*) {
            QTableWidget* table = dialog.table();
            // The visible fields, pictures left out; labels in the first column.
            QCOMPARE(table->rowCount(), 12);
            QCOMPARE(table->item(1, 0)->text(), QString("Nome"));
            table->setCurrentCell(1, 1); // the editor opens on the current cell
            auto* editor = table->viewport()->findChild<QLineEdit*>();
            QVERIFY(editor);
            QTest::keyClicks(editor, "dias");
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents(); // the view commits on its next turn
            QVERIFY(table->item(1, 0)->font().bold());
            table->setCurrentCell(5, 1);
            table->item(5, 1)->setText("J");
            QTest::mouseClick(dialog.clearButton(), Qt::LeftButton); // the current row's criterion
            QCOMPARE(table->item(5, 1)->text(), QString());
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        });
        QVERIFY(dialog.execute());
        QCOMPARE(names(), QStringList{"Carla Dias"});
        whenModal([&](QWidget*) {
            QTest::mouseClick(dialog.clearAllButton(), Qt::LeftButton);
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        });
        QVERIFY(dialog.execute());
        QVERIFY(!dialog.hasCriteria());
        QCOMPARE(ds().recordCount(), 3);
    }

    // The navigator's Filter button: hidden until asked for, then the filter dialog
    // over the navigator's rows; off while a row is being edited.
    void navigatorFilterButton() {
        QWidget form;
        auto* nav = new DBNavigator(&form);
        nav->setDataSource(m_db->dsContacts.get());
        form.show();
        QToolButton* filter = nav->button(DBNavigator::Filter);
        QVERIFY(filter->isHidden());
        QVERIFY(!nav->visibleButtons().contains(DBNavigator::Filter));
        nav->setFilterButtonShown(true);
        QVERIFY(filter->isVisible() && filter->isEnabled());
        QCOMPARE(filter->toolTip(), toolkitText(ToolkitText::FilterTitle));
        QSignalSpy clicked(nav, &DBNavigator::buttonClicked);
        whenModal([&](QWidget* modal) {
            QCOMPARE(modal, static_cast<QWidget*>(nav->filterDialog()));
            QCOMPARE(nav->filterDialog()->kind(), FilterDialog::Kind::Filter);
            nav->filterDialog()->setTypedCriterion("contato_nome", "dias");
            QTest::mouseClick(nav->filterDialog()->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(filter, Qt::LeftButton);
        QCOMPARE(names(), QStringList{"Carla Dias"});
        QCOMPARE(clicked.count(), 1);
        // Cancel leaves the rows as they were.
        whenModal([&](QWidget*) { QTest::mouseClick(nav->filterDialog()->cancelButton(), Qt::LeftButton); });
        QTest::mouseClick(filter, Qt::LeftButton);
        QCOMPARE(names(), QStringList{"Carla Dias"});
        QCOMPARE(clicked.count(), 1);
        ds().edit();
        QVERIFY(!filter->isEnabled());
        ds().cancel();
        nav->filterDialog()->clearCriteria();
        QCOMPARE(ds().recordCount(), 3);
        // Choosing the buttons shows it as well.
        nav->setVisibleButtons({DBNavigator::First, DBNavigator::Filter});
        QCOMPARE(nav->visibleButtons(),
                 (QList<DBNavigator::Button>{DBNavigator::First, DBNavigator::Filter}));
    }

    void filterAndLocateKeepSeparateSets() {
        FilterDialog filter(FilterDialog::Kind::Filter);
        FilterDialog locate(FilterDialog::Kind::Locate);
        filter.setDataSource(m_db->dsContacts.get());
        locate.setDataSource(m_db->dsContacts.get());
        // Locate offers every column the query reads, hidden ones too.
        auto offers = [](const FilterDialog& d, const char* name) {
            for (Field* f : d.offeredFields())
                if (f->fieldName() == name) return true;
            return false;
        };
        QVERIFY(offers(locate, "contato_qtd") && !offers(filter, "contato_qtd"));
        QVERIFY(offers(filter, "lk_uf") && !offers(locate, "lk_uf"));
        QVERIFY(!offers(filter, "contato_foto") && !offers(locate, "contato_foto"));
        filter.applyCriteria({{"contato_pessoa", "F"}});
        locate.applyCriteria({{"contato_nome", "a"}});
        QCOMPARE(names(), QStringList({"Ana Souza", "Carla Dias"}));
        locate.applyCriteria({{"contato_nome", "dias"}});
        QCOMPARE(names(), QStringList{"Carla Dias"});
        QCOMPARE(filter.criteria().textOf("contato_pessoa"), QString("F"));
        locate.clearCriteria();
        QVERIFY(!locate.hasCriteria());
        QVERIFY(filter.hasCriteria());
        QCOMPARE(names(), QStringList({"Ana Souza", "Carla Dias"}));
    }

    void textsFollowTheLanguage_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("cancel");
        QTest::addColumn<QString>("clearAll");
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Filtro"
                               << "Cancelar"
                               << "Limpar &todos";
        QTest::newRow("en") << "en"
                            << "Filter"
                            << "Cancel"
                            << "Clear &all";
        QTest::newRow("es") << "es"
                            << "Filtro"
                            << "Cancelar"
                            << "Limpiar &todos";
    }
    void textsFollowTheLanguage() {
        QFETCH(QString, language);
        QFETCH(QString, title);
        QFETCH(QString, cancel);
        QFETCH(QString, clearAll);
        selectToolkitTexts(language);
        FilterDialog dialog(FilterDialog::Kind::Filter);
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(dialog.cancelButton()->text(), cancel);
        QCOMPARE(dialog.clearAllButton()->text(), clearAll);
        FilterDialog locate(FilterDialog::Kind::Locate);
        QCOMPARE(locate.windowTitle(), toolkitText(ToolkitText::LocateTitle));
        QCOMPARE(locate.table()->horizontalHeaderItem(1)->text(), toolkitText(ToolkitText::LocateValue));
    }
};

QTEST_MAIN(TestToolkitDialogs)
#include "tst_toolkit_dialogs.moc"
