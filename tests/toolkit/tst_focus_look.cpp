// Where the keyboard is shows under the application's style: a ring around the
// focused button and grid cell, and the selected row of a grid the keyboard is not
// in drawn quieter than that of the grid being worked in.
#include "ToolkitFixture.h"
#include "core/VisualStyle.h"
#include "toolkit/DBGrid.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace dv;
using dv::test::ToolkitFixture;

namespace {

QColor pixel(QWidget* w, QPoint at) {
    return w->grab().toImage().pixelColor(at);
}

bool near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 40;
}

} // namespace

class TestFocusLook : public QObject {
    Q_OBJECT

    QWidget window;
    QLineEdit* box = nullptr;
    QPushButton* button = nullptr;
    DBGrid* grid = nullptr;
    std::unique_ptr<ToolkitFixture> data;

private slots:
    void initTestCase() {
        QVERIFY(applyVisualStyle(*qApp, QStringLiteral("Smokey Quartz Kamri")));
        data = std::make_unique<ToolkitFixture>();
        auto* row = new QHBoxLayout(&window);
        box = new QLineEdit(&window);
        button = new QPushButton(QStringLiteral("Salvar"), &window);
        grid = new DBGrid(&window);
        grid->setDataSource(data->dsContacts.get());
        grid->setRowSelect(true);
        row->addWidget(box);
        row->addWidget(button);
        row->addWidget(grid);
        window.resize(900, 300);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab); // the window is now worked from the keyboard
        QCOMPARE(QApplication::focusWidget(), button);
    }

    void focusedButtonHasTheRing() {
        const QPoint edge(2, button->height() / 2);
        button->setFocus(Qt::TabFocusReason);
        QVERIFY(near(pixel(button, edge), focusFrameColor()));
        box->setFocus(Qt::TabFocusReason);
        QVERIFY(!near(pixel(button, edge), focusFrameColor()));
    }

    void gridBeingWorkedInStandsOut() {
        grid->setCurrentIndex(grid->model()->index(0, 0));
        const QRect first = grid->visualRect(grid->model()->index(0, 0));
        const QRect second = grid->visualRect(grid->model()->index(0, 1));
        // Inside the row, away from the text (right end of a short value).
        const QPoint inRow = grid->viewport()->mapTo(
            grid, QPoint(qMin(second.right(), grid->viewport()->width()) - 4, second.center().y()));
        const QPoint cellEdge = grid->viewport()->mapTo(grid, QPoint(first.left() + 1, first.center().y()));

        box->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        const QColor quiet = pixel(grid, inRow);
        QVERIFY(!near(pixel(grid, cellEdge), focusFrameColor()));

        grid->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        const QColor strong = pixel(grid, inRow);
        QVERIFY(near(strong, grid->palette().color(QPalette::Highlight)));
        QVERIFY(!near(quiet, strong));
        QVERIFY(!near(quiet, grid->palette().color(QPalette::Base)));
        QVERIFY(near(pixel(grid, cellEdge), focusFrameColor()));
    }
};

QTEST_MAIN(TestFocusLook)
#include "tst_focus_look.moc"
