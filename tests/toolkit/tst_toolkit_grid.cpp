// The grid: its model (checked by QAbstractItemModelTester), columns and their
// layout, titles and the sort mark, following and moving the current row, editing
// through the dataset, check-box and lookup cells, fixed columns, and the search box.
#include "ScriptedServices.h"
#include "ToolkitFixture.h"
#include "core/LanguageFile.h"
#include "core/Session.h"
#include "core/ToolkitTexts.h"
#include "core/db/DatasetModel.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/FrozenColumns.h"
#include "toolkit/GridLookupEditor.h"
#include "toolkit/IncrementalSearch.h"
#include "toolkit/LookupPopup.h"
#include "toolkit/LookupTitles.h"
#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using namespace dv;
using dv::test::ScriptedServices;
using dv::test::ToolkitFixture;

using dv::test::typeText;

namespace {

// A treatment's items for the cell editors: each item a service (its key typed as
// data and shown through a lookup field), an hour and a cep with masks, and a symbol
// drawn from a picture; the services with a name, price, code and flag; the symbols
// with a BMP or PNG icon each.
struct Items {
    std::unique_ptr<Dataset> services, symbols, items;
    std::unique_ptr<DataSource> dsServices, dsSymbols, dsItems;

    // A 6x6 icon: a square of `colour` inside a magenta ground (keyed or transparent).
    static QByteArray icon(const QColor& colour, const char* format) {
        const bool png = qstrcmp(format, "PNG") == 0;
        QImage image(6, 6, png ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        image.fill(png ? QColor(255, 0, 255, 0) : QColor(Qt::magenta));
        for (int y = 2; y < 4; ++y)
            for (int x = 2; x < 4; ++x)
                image.setPixelColor(x, y, colour);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }

    explicit Items(Connection& c) {
        c.execute("CREATE TABLE servico (servico_id INTEGER PRIMARY KEY, servico_nome VARCHAR(40),"
                  " servico_valor CURRENCY, servico_codigo VARCHAR(6), servico_ativo VARCHAR(1))");
        c.execute("INSERT INTO servico VALUES (1, 'Consulta', 800000, 'C01', 'S'), (2, 'Limpeza', 1200000, "
                  "'L01', 'S'),"
                  " (3, 'Restauração', 1500000, 'R01', 'N')");
        c.execute("CREATE TABLE simbolo (simbolo_id INTEGER PRIMARY KEY, simbolo_nome VARCHAR(20), "
                  "simbolo_figura BLOB)");
        c.execute("CREATE TABLE item (item_id INTEGER PRIMARY KEY AUTOINCREMENT, servico_id INTEGER,"
                  " item_hora VARCHAR(5), item_cep VARCHAR(9), simbolo_id INTEGER)");
        c.execute("INSERT INTO item (servico_id, item_hora, item_cep, simbolo_id) VALUES (1, '09:15', "
                  "'30110012', 1),"
                  " (NULL, NULL, NULL, NULL)");
        const QList<std::pair<QString, QByteArray>> icons{{"Cárie", icon(Qt::red, "BMP")},
                                                          {"Coroa", icon(Qt::blue, "PNG")}};
        for (qsizetype i = 0; i < icons.size(); ++i)
            c.execute("INSERT INTO simbolo VALUES (:id, :nome, :figura)",
                      {{"id", ParamType::Integer, i + 1},
                       {"nome", ParamType::String, icons[i].first},
                       {"figura", ParamType::Blob, icons[i].second}});

        services = std::make_unique<Dataset>(&c, QStringLiteral("SQL_Servico"));
        services->setSql(QStringLiteral("select * from servico order by servico_nome"));
        services->addField({.name = "servico_id", .displayLabel = "Id"});
        services->addField({.name = "servico_nome", .displayLabel = "Serviço"});
        services->addField({.name = "servico_valor", .displayLabel = "Valor", .displayFormat = "#,##0.00"});
        services->addField({.name = "servico_codigo", .displayLabel = "Código"});
        services->addField({.name = "servico_ativo", .displayLabel = "Ativo"});
        dsServices = std::make_unique<DataSource>(services.get(), QStringLiteral("dsServico"));
        services->open();

        symbols = std::make_unique<Dataset>(&c, QStringLiteral("SQL_Simbolo"));
        symbols->setSql(QStringLiteral("select * from simbolo order by simbolo_id"));
        symbols->addField({.name = "simbolo_id", .displayLabel = "Id"});
        symbols->addField({.name = "simbolo_nome", .displayLabel = "Símbolo"});
        symbols->addField({.name = "simbolo_figura", .displayLabel = "Figura"});
        dsSymbols = std::make_unique<DataSource>(symbols.get(), QStringLiteral("dsSimbolo"));
        symbols->open();

        items = std::make_unique<Dataset>(&c, QStringLiteral("SQL_Item"));
        items->setSql(QStringLiteral("select * from item order by item_id"));
        items->addField({.name = "item_id", .displayLabel = "Id"});
        items->addField({.name = "servico_id", .displayLabel = "Cód. Serviço"});
        items->addField({.name = "lk_servico",
                         .type = FieldType::String,
                         .displayLabel = "Serviço",
                         .size = 40,
                         .kind = FieldKind::Lookup,
                         .lookupDataset = services.get(),
                         .keyFields = "servico_id",
                         .lookupKeyFields = "servico_id",
                         .lookupResultField = "servico_nome"});
        items->addField({.name = "item_hora", .displayLabel = "Hora", .editMask = "##:##;1;_"});
        items->addField({.name = "item_cep", .displayLabel = "Cep", .editMask = "99999-999;0;_"});
        items->addField({.name = "simbolo_id", .displayLabel = "Símbolo"});
        dsItems = std::make_unique<DataSource>(items.get(), QStringLiteral("dsItem"));
        items->open();
    }
};

// Keys go where a user's would: the open drop-down, else the focused widget.
QWidget* focused() {
    if (QWidget* p = QApplication::activePopupWidget()) return p->focusWidget() ? p->focusWidget() : p;
    return QApplication::focusWidget();
}
void keys(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(focused(), char(c.unicode()));
}

} // namespace

class TestToolkitGrid : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolkitFixture> m_db;
    std::unique_ptr<DBGrid> m_grid;
    std::unique_ptr<QAbstractItemModelTester> m_tester;

    Dataset& ds() { return *m_db->contacts; }
    GridModel& model() { return *m_grid->gridModel(); }
    QString cell(int row, const QString& field, int role = Qt::DisplayRole) {
        return model().data(model().index(row, model().columnOf(field)), role).toString();
    }
    QStringList titles() {
        QStringList list;
        for (int c = 0; c < model().columnCount(); ++c)
            list << model().headerData(c, Qt::Horizontal).toString();
        return list;
    }
    QPoint cellCentre(int row, int column) { return m_grid->visualRect(model().index(row, column)).center(); }

private slots:
    void initTestCase() { selectToolkitTexts("pt_BR"); }
    void init() {
        m_db = std::make_unique<ToolkitFixture>();
        m_grid = std::make_unique<DBGrid>();
        m_grid->resize(700, 300);
        m_grid->setDataSource(m_db->dsContacts.get());
        m_tester = std::make_unique<QAbstractItemModelTester>(
            m_grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        m_grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    }
    void cleanup() {
        m_tester.reset();
        m_grid.reset();
        m_db.reset();
    }

    void columnsAreTheVisibleFields() {
        QCOMPARE(titles(), QStringList({"Id", "Nome", "CPF", "Cep", "Fone", "Pessoa", "Ativo",
                                        "Data Cadastro", "Valor", "Observação", "UF", "Estado"}));
        QCOMPARE(model().rowCount(), 3);
        QCOMPARE(cell(0, "contato_data"), QString("05/03/2024"));
        QCOMPARE(cell(0, "contato_valor"), QString("123,45"));
        QCOMPARE(cell(0, "lk_uf"), QString("Minas Gerais"));
        QCOMPARE(cell(0, "contato_obs"), QString("primeira linha …"));
        QCOMPARE(cell(0, "contato_obs", Qt::ToolTipRole), QString("primeira linha\nsegunda"));
        // Widths in characters: the fields' display widths.
        QCOMPARE(m_grid->fieldWidth("contato_nome"), 60);
        QCOMPARE(m_grid->columnWidth(1), 60 * m_grid->charWidth() + 8);
        // Hiding a field in the dataset takes its column away.
        ds().fieldByName("contato_cep")->setVisible(false);
        QVERIFY(!m_grid->isFieldShown("contato_cep"));
        QCOMPARE(model().columnCount(), 11);
        ds().close();
        QCOMPARE(model().rowCount(), 0);
        ds().open();
        QCOMPARE(model().rowCount(), 3);
    }

    void layoutIsReadAndRestoredInDisplayOrder() {
        m_grid->setColumns(
            {{"contato_nome", "Nome do contato", 20}, {"contato_id", "", 0}, {"gone", "X", 5}});
        QCOMPARE(m_grid->shownFields(), QStringList({"contato_nome", "contato_id"})); // unknown field skipped
        QCOMPARE(titles(), QStringList({"Nome do contato", "Id"}));
        const QList<GridColumn> shown = m_grid->columns();
        QCOMPARE(shown[0], (GridColumn{"contato_nome", "Nome do contato", 20}));
        QCOMPARE(shown[1].title, QString("Id"));
        QCOMPARE(shown[1].width, ds().fieldByName("contato_id")->displayWidth());
        // A column dragged elsewhere: the model takes the order.
        m_grid->horizontalHeader()->moveSection(1, 0);
        QCOMPARE(m_grid->shownFields(), QStringList({"contato_id", "contato_nome"}));
        QCOMPARE(model().headerData(0, Qt::Horizontal).toString(), QString("Id"));
        QCOMPARE(m_grid->horizontalHeader()->logicalIndex(0), 0);
        // Resized with the mouse, read back in characters.
        m_grid->setColumnWidth(1, 12 * m_grid->charWidth() + 8);
        QCOMPARE(m_grid->fieldWidth("contato_nome"), 12);
        QCOMPARE(m_grid->columns()[1].width, 12);
        // Shown again, a column goes to the end; titles and widths can be set.
        m_grid->setFieldShown("contato_cpf", true);
        m_grid->setFieldTitle("contato_cpf", "Documento");
        m_grid->setFieldWidth("contato_cpf", 14);
        QCOMPARE(m_grid->shownFields(), QStringList({"contato_id", "contato_nome", "contato_cpf"}));
        QCOMPARE(m_grid->fieldTitle("contato_cpf"), QString("Documento"));
        QCOMPARE(m_grid->fieldWidth("contato_cpf"), 14);
        m_grid->setFieldShown("contato_id", false);
        QCOMPARE(m_grid->shownFields(), QStringList({"contato_nome", "contato_cpf"}));
        // Survives reopening the query.
        ds().close();
        ds().open();
        QCOMPARE(m_grid->shownFields(), QStringList({"contato_nome", "contato_cpf"}));
        QCOMPARE(m_grid->fieldWidth("contato_nome"), 12);
        // An empty list goes back to every visible field.
        m_grid->setColumns({});
        QCOMPARE(model().columnCount(), 12);
        QCOMPARE(m_grid->defaultColumns().size(), 12);
    }

    void titlesAreButtonsAndShowTheSort() {
        QSignalSpy clicks(m_grid.get(), &DBGrid::titleButtonClicked);
        const int c = model().columnOf("contato_nome");
        QHeaderView* header = m_grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(c) + 10, header->height() / 2));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks[0][0].toString(), QString("contato_nome"));
        QVERIFY(!model().headerData(c, Qt::Horizontal, Qt::DecorationRole).isValid());
        m_grid->setSortIndicator("contato_nome", true);
        QVERIFY(model().headerData(c, Qt::Horizontal, Qt::FontRole).value<QFont>().underline());
        const QIcon up = model().headerData(c, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        m_grid->setSortIndicator("contato_nome", false);
        const QIcon down = model().headerData(c, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
        QVERIFY(!up.isNull() && !down.isNull());
        QVERIFY(up.pixmap(12).toImage() != down.pixmap(12).toImage());
        m_grid->setSortIndicator("contato_id", true);
        QVERIFY(!model().headerData(c, Qt::Horizontal, Qt::DecorationRole).isValid());
        QVERIFY(!model().headerData(c, Qt::Horizontal, Qt::FontRole).isValid());
        // Two title lines, rows 120 % of the font.
        const QFontMetrics fm(m_grid->font());
        QCOMPARE(m_grid->verticalHeader()->defaultSectionSize(), qRound(fm.height() * 1.2));
        QVERIFY(header->height() >= 2 * fm.lineSpacing());
        QCOMPARE(m_grid->font().family(), QString("Verdana"));
        QCOMPARE(m_grid->font().pointSize(), 8);
        QCOMPARE(m_grid->palette().color(QPalette::AlternateBase), QColor(0xFB, 0xFB, 0xFB));
        QCOMPARE(m_grid->titleColor(), QColor(0xF4, 0xF4, 0xF4));
        m_grid->setTitleColor(QColor(0xEB, 0xEB, 0xEB));
        QVERIFY(header->styleSheet().contains("#ebebeb"));
    }

    void followsAndMovesTheCurrentRow() {
        QCOMPARE(m_grid->currentIndex().row(), 0);
        ds().last();
        QCOMPARE(m_grid->currentIndex().row(), 2);
        QVERIFY(model().headerData(2, Qt::Vertical, Qt::DecorationRole).isValid()); // the row marker
        QVERIFY(!model().headerData(0, Qt::Vertical, Qt::DecorationRole).isValid());
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(1, 1));
        QCOMPARE(ds().recNo(), 2);
        m_grid->setFocus();
        QTest::keyClick(m_grid.get(), Qt::Key_Up);
        QCOMPARE(ds().recNo(), 1);
        // Sorting the dataset keeps the grid on the same record.
        ds().moveTo(1); // Bruno
        ds().setSort("contato_nome DESC");
        QCOMPARE(m_grid->currentIndex().row(), ds().currentRow());
        QCOMPARE(cell(m_grid->currentIndex().row(), "contato_nome"), QString("Bruno \"Bê\" Lima"));
    }

    void readOnlyGridGivesEnterEscapeAndDoubleClick() {
        m_grid->setReadOnly(true);
        m_grid->setRowSelect(true);
        QSignalSpy enter(m_grid.get(), &DBGrid::returnPressed);
        QSignalSpy escape(m_grid.get(), &DBGrid::escapePressed);
        QSignalSpy dbl(m_grid.get(), &DBGrid::rowDoubleClicked);
        m_grid->setFocus();
        QTest::keyClick(m_grid.get(), Qt::Key_Return);
        QTest::keyClick(m_grid.get(), Qt::Key_Escape);
        QTest::mouseDClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
        QCOMPARE(enter.count(), 1);
        QCOMPARE(escape.count(), 1);
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(ds().recNo(), 3);
        QVERIFY(!(model().flags(model().index(0, 1)) & Qt::ItemIsEditable));
        // Typing does not edit.
        QTest::keyClicks(m_grid.get(), "x");
        QCOMPARE(ds().state(), DatasetState::Browse);
    }

    // Tab moves between cells only where they can be edited; elsewhere it leaves the grid.
    void tabLeavesAGridThatOnlyShowsRows() {
        QWidget screen;
        auto* grid = new DBGrid(&screen);
        auto* next = new QLineEdit(&screen);
        auto* layout = new QVBoxLayout(&screen);
        layout->addWidget(grid);
        layout->addWidget(next);
        grid->setDataSource(m_db->dsContacts.get());
        screen.show();
        QApplication::setActiveWindow(&screen);
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        grid->setCurrentIndex(grid->model()->index(0, 0));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid); // editable: the next cell
        QCOMPARE(grid->currentIndex().column(), 1);
        grid->setReadOnly(true);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
        QCOMPARE(grid->currentIndex().column(), 1);
        QTest::keyClick(next, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), grid);
    }

    void checkBoxCellsStoreFlags() {
        m_grid->setCheckBoxField("contato_ativo");
        const int c = model().columnOf("contato_ativo");
        QCOMPARE(model().data(model().index(0, c), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model().data(model().index(1, c), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(cell(0, "contato_ativo"), QString());
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(1, c));
        QCOMPARE(ds().recNo(), 2);
        QCOMPARE(ds().fieldByName("contato_ativo")->asString(), QString("S"));
        ds().post();
        QCOMPARE(m_db->stored("contato_ativo", 2).toString(), QString("S"));
        // Read-only: no change.
        m_grid->setReadOnly(true);
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(1, c));
        QCOMPARE(ds().fieldByName("contato_ativo")->asString(), QString("S"));
        QCOMPARE(ds().state(), DatasetState::Browse);
    }

    void editingWritesThroughTheDataset() {
        ScriptedServices services;
        m_grid->setFocus();
        m_grid->setCurrentIndex(model().index(0, model().columnOf("contato_nome")));
        QTest::keyClick(m_grid.get(), 'Z'); // typing starts the editor
        QLineEdit* editor = m_grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        typeText(editor, "élia");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits on its next turn
        QCOMPARE(ds().state(), DatasetState::Edit);
        QCOMPARE(ds().fieldByName("contato_nome")->asString(), QString("Zélia"));
        // Escape cancels the row's changes.
        QTest::keyClick(m_grid.get(), Qt::Key_Escape);
        QCOMPARE(ds().state(), DatasetState::Browse);
        QCOMPARE(cell(0, "contato_nome"), QString("Ana Souza"));
        // Dates are typed day first.
        m_grid->setCurrentIndex(model().index(0, model().columnOf("contato_data")));
        m_grid->edit(m_grid->currentIndex());
        auto* date = m_grid->viewport()->findChild<DBDateEdit*>();
        QVERIFY(date);
        date->selectAll();
        date->home(false);
        QTest::keyClicks(date, "02011999");
        QTest::keyClick(date, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(ds().fieldByName("contato_data")->asDate(), QDate(1999, 1, 2));
        ds().post();
        // Insert appends; Ctrl+Delete asks and deletes.
        QTest::keyClick(m_grid.get(), Qt::Key_Insert);
        QCOMPARE(ds().state(), DatasetState::Insert);
        QCOMPARE(model().rowCount(), 4);
        QCOMPARE(m_grid->currentIndex().row(), 3);
        QTest::keyClick(m_grid.get(), Qt::Key_Escape);
        QCOMPARE(model().rowCount(), 3);
        m_grid->setCurrentIndex(model().index(2, 1));
        services.dialogs.queueConfirmation(true);
        QTest::keyClick(m_grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(services.dialogs.lastText(), QString("Excluir o registro?"));
        QCOMPARE(model().rowCount(), 2);
        auto count = m_db->temp.db->query("select count(*) from contato");
        QVERIFY(count->next());
        QCOMPARE(count->integer(0), 2);
        // Not allowed: the keys do nothing.
        m_grid->setAllowInsert(false);
        m_grid->setAllowDelete(false);
        QTest::keyClick(m_grid.get(), Qt::Key_Insert);
        QTest::keyClick(m_grid.get(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(model().rowCount(), 2);
        QCOMPARE(ds().state(), DatasetState::Browse);
        DV_VERIFY_SERVICES(services);
    }

    // A value the field cannot hold is told in a message in the interface language; the
    // cell keeps what it had.
    void typedValueTheFieldRefusesIsTold_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("pt_BR") << "pt_BR"
                               << "Ocorreu um Erro\r\r'12a' não é um valor válido para o campo 'Valor'";
        QTest::newRow("en") << "en"
                            << "An error occurred\r\r'12a' is not a valid amount for the field 'Valor'";
        QTest::newRow("es") << "es"
                            << "Se produjo un error\r\r'12a' no es un importe válido para el campo 'Valor'";
    }
    void typedValueTheFieldRefusesIsTold() {
        QFETCH(QString, language);
        QFETCH(QString, message);
        // The shipped language files, as the application folder holds them.
        session().setExecutableFolder(QStringLiteral(DV_SOURCE_DIR "/assets/"));
        session().setLanguage(language);
        const auto back = qScopeGuard([] { session().reset(); });
        ScriptedServices services;
        m_grid->setFocus();
        m_grid->setCurrentIndex(model().index(0, model().columnOf("contato_valor")));
        const QString before = cell(0, "contato_valor");
        QTest::keyClick(m_grid.get(), '1');
        QLineEdit* editor = m_grid->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        typeText(editor, "2a");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(services.dialogs.texts().size(), 1);
        QCOMPARE(services.dialogs.lastText(), message);
        QCOMPARE(cell(0, "contato_valor"), before);
        DV_VERIFY_SERVICES(services);
    }

    void lookupCellsChooseAndClearTheKey() {
        const int c = model().columnOf("lk_uf");
        QVERIFY(model().flags(model().index(0, c)) & Qt::ItemIsEditable);
        m_grid->setCurrentIndex(model().index(0, c));
        m_grid->edit(m_grid->currentIndex());
        auto* combo = m_grid->viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QString("Minas Gerais"));
        combo->setCurrentIndex(combo->findText("Rio de Janeiro"));
        m_grid->setFocus(); // leaving the editor commits it
        QCOMPARE(ds().fieldByName("contato_uf")->asString(), QString("RJ"));
        QCOMPARE(cell(0, "lk_uf"), QString("Rio de Janeiro"));
        m_grid->setFocus();
        QTest::keyClick(m_grid.get(), Qt::Key_Delete);
        QVERIFY(ds().fieldByName("contato_uf")->isNull());
        QCOMPARE(cell(0, "lk_uf"), QString());
    }

    // The declared drop-down of a cell: several columns, typing finds the row, the key
    // taken lands in the column's field (a lookup field's key field for a lookup
    // column) and the lookup dataset stays on the chosen row.
    void cellDropDownOverAnotherDataset_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("stored");
        const QStringList two{"servico_nome", "servico_valor"};
        const QStringList four{"servico_nome", "servico_valor", "servico_codigo", "servico_ativo"};
        QTest::newRow("two columns on a lookup field, Tab")
            << "lk_servico" << two << "lim" << int(Qt::Key_Tab) << "2";
        QTest::newRow("four columns on a data column, Enter")
            << "servico_id" << four << "RES" << int(Qt::Key_Return) << "3";
        QTest::newRow("no such row keeps the key") << "servico_id" << two << "xyz" << int(Qt::Key_Tab) << "1";
        QTest::newRow("Escape keeps the key") << "lk_servico" << two << "lim" << int(Qt::Key_Escape) << "1";
    }
    void cellDropDownOverAnotherDataset() {
        QFETCH(QString, column);
        QFETCH(QStringList, shown);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, stored);
        Items rows(*m_db->temp.db);
        DBGrid grid;
        grid.resize(700, 200);
        grid.setDataSource(rows.dsItems.get());
        grid.setColumnLookup(column, rows.dsServices.get(), "servico_id", shown, {20, 8, 6, 4});
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        GridModel& m = *grid.gridModel();
        grid.setCurrentIndex(m.index(0, m.columnOf(column)));
        grid.setFocus();
        keys(typed);
        auto* editor = grid.viewport()->findChild<GridLookupEditor*>();
        QVERIFY(editor);
        QVERIFY(editor->isPopupVisible());
        QCOMPARE(editor->popupWindow()->grid()->gridModel()->columnCount(), shown.size());
        QCOMPARE(editor->text(), typed);
        QPointer<GridLookupEditor> open(editor);
        QTest::keyClick(focused(), Qt::Key(key));
        if (key == Qt::Key_Escape) {
            // The drop-down closes and gives the cell's text back; the editor stays.
            QVERIFY(!editor->isPopupVisible());
            QCOMPARE(editor->text(), QString("Consulta"));
            QTest::keyClick(focused(), Qt::Key_Escape);
        }
        QTRY_VERIFY(!open || !open->isVisible());
        QCOMPARE(rows.items->fieldByName("servico_id")->asString(), stored);
        // The lookup dataset is on the row the cell holds, for a screen that reads it.
        QCOMPARE(rows.services->fieldByName("servico_id")->asString(), stored);
        if (key == Qt::Key_Tab) QCOMPARE(grid.currentIndex().column(), m.columnOf(column) + 1);
        // Nothing typed reaches another cell.
        QCOMPARE(rows.items->fieldByName("item_hora")->asString(), QString("09:15"));
        if (rows.items->isEditing()) rows.items->post();
        QCOMPARE(rows.items->lookup("item_id", {1}, "servico_id").toString(), stored);
    }

    void cellDropDownOpensOnTheCellsRowAndClears() {
        Items rows(*m_db->temp.db);
        DBGrid grid;
        grid.setDataSource(rows.dsItems.get());
        grid.setColumnLookup("servico_id", rows.dsServices.get(), "servico_id",
                             {"servico_nome", "servico_valor"});
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        GridModel& m = *grid.gridModel();
        rows.services->last();
        grid.setCurrentIndex(m.index(0, m.columnOf("servico_id")));
        grid.setFocus();
        QTest::keyClick(focused(), Qt::Key_F2);
        auto* editor = grid.viewport()->findChild<GridLookupEditor*>();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QString("Consulta"));
        QCOMPARE(rows.services->fieldByName("servico_id")->asInteger(), 1);
        // F4 drops the grid down on that row; Down and Enter take the next one.
        QTest::keyClick(focused(), Qt::Key_F4);
        QVERIFY(editor->isPopupVisible());
        QTest::keyClick(focused(), Qt::Key_Down);
        QTest::keyClick(focused(), Qt::Key_Return);
        QTRY_COMPARE(rows.items->fieldByName("servico_id")->asInteger(), 2);
        // An emptied text empties the cell.
        grid.setFocus();
        QTest::keyClick(focused(), Qt::Key_F2);
        editor = grid.viewport()->findChild<GridLookupEditor*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(focused(), Qt::Key_Backspace);
        QTest::keyClick(focused(), Qt::Key_Tab);
        QVERIFY(rows.items->fieldByName("servico_id")->isNull());
    }

    // The drop-down's titles given in code are the screen's texts: the language file
    // addresses them as "<field>_Lookup.Items", a shorter list leaving the rest.
    void cellDropDownTitlesFollowTheLanguageFile() {
        Items rows(*m_db->temp.db);
        QWidget screen;
        screen.setObjectName("frmItens");
        auto* grid = new DBGrid(&screen);
        grid->setDataSource(rows.dsItems.get());
        grid->setColumnLookup("servico_id", rows.dsServices.get(), "servico_id",
                              {"servico_nome", "servico_valor"}, {}, {"Serviço", "Valor"});
        QTemporaryDir dir;
        QFile file(dir.filePath("frmItens.lpu"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[frmItens]\nservico_id_Lookup.Items=Service\n");
        file.close();
        QVERIFY(LanguageFile::apply(&screen, file.fileName(), "frmItens"));
        QCOMPARE(grid->columnLookup("servico_id")->titles, QStringList({"Service", "Valor"}));
        // Declared again (a screen re-reading its lookups): one addressable object.
        grid->setColumnLookup("servico_id", rows.dsServices.get(), "servico_id", {"servico_nome"}, {},
                              {"Serviço"});
        QCOMPARE(grid->findChildren<LookupTitles*>().size(), 1);
        QVERIFY(LanguageFile::apply(&screen, file.fileName(), "frmItens"));
        QCOMPARE(grid->columnLookup("servico_id")->titles, QStringList({"Service"}));

        screen.show();
        QApplication::setActiveWindow(&screen);
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        GridModel& m = *grid->gridModel();
        grid->setCurrentIndex(m.index(0, m.columnOf("servico_id")));
        grid->setFocus();
        QTest::keyClick(focused(), Qt::Key_F2);
        QTest::keyClick(focused(), Qt::Key_F4);
        auto* editor = grid->viewport()->findChild<GridLookupEditor*>();
        QVERIFY(editor && editor->isPopupVisible());
        QCOMPARE(editor->popupWindow()->grid()->gridModel()->titleAt(0), QString("Service"));
        QTest::keyClick(focused(), Qt::Key_Escape);
    }

    // A picker: the symbols' pictures in the drop-down and in the cells, the icon's
    // transparent part showing the cell under it.
    void pictureDropDown() {
        Items rows(*m_db->temp.db);
        DBGrid grid;
        grid.resize(500, 200);
        grid.setDataSource(rows.dsItems.get());
        grid.setColumns({{"item_id"}, {"simbolo_id", "", 8}});
        grid.setColumnPicker("simbolo_id", rows.dsSymbols.get(), "simbolo_id", "simbolo_figura",
                             QSize(24, 24), {"simbolo_nome"});
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        GridModel& m = *grid.gridModel();
        const int c = m.columnOf("simbolo_id");
        QVERIFY(grid.rowHeight(0) >= 24);
        // Row 0 holds the red BMP: red in the middle, the cell's own colour at the edge.
        const QImage shot = grid.viewport()->grab().toImage();
        const QRect cellRect = grid.visualRect(m.index(0, c));
        const qreal ratio = shot.devicePixelRatio();
        auto pixel = [&](QPoint p) { return shot.pixelColor((QPointF(p) * ratio).toPoint()); };
        QCOMPARE(pixel(cellRect.center()), QColor(Qt::red));
        QCOMPARE(pixel(cellRect.center() + QPoint(-2, -2)), pixel(cellRect.topLeft() + QPoint(3, 3)));
        QVERIFY(pixel(cellRect.center() + QPoint(-2, -2)) != QColor(Qt::magenta));
        // The drop-down: the pictures as pictures; the blue PNG chosen.
        grid.setCurrentIndex(m.index(1, c));
        grid.setFocus();
        QTest::keyClick(focused(), Qt::Key_F2);
        auto* editor = grid.viewport()->findChild<GridLookupEditor*>();
        QVERIFY(editor);
        QTest::keyClick(focused(), Qt::Key_F4);
        QVERIFY(editor->isPopupVisible());
        DBGrid* list = editor->popupWindow()->grid();
        const int pc = list->gridModel()->columnOf("simbolo_figura");
        QVERIFY(pc >= 0);
        QVERIFY(!list->gridModel()->index(0, pc).data(Qt::DecorationRole).value<QPixmap>().isNull());
        QTest::keyClick(focused(), Qt::Key_Down);
        QTest::keyClick(focused(), Qt::Key_Return);
        QTRY_COMPARE(rows.items->fieldByName("simbolo_id")->asInteger(), 2);
        rows.items->post();
        QCOMPARE(rows.symbols->fieldByName("simbolo_id")->asInteger(), 2);
        QCoreApplication::processEvents();
        const QImage after = grid.viewport()->grab().toImage();
        const QRect second = grid.visualRect(m.index(1, c));
        QCOMPARE(after.pixelColor((QPointF(second.center()) * ratio).toPoint()), QColor(Qt::blue));
    }

    // Masked text cells type through the field's mask and store as it says.
    void cellEditorsUseTheFieldsMask_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("hour, stored with its colon") << "item_hora"
                                                     << "09:15"
                                                     << "0830"
                                                     << "08:30";
        QTest::newRow("cep, stored as digits") << "item_cep"
                                               << "30110-012"
                                               << "01001000"
                                               << "01001000";
    }
    void cellEditorsUseTheFieldsMask() {
        QFETCH(QString, field);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Items rows(*m_db->temp.db);
        DBGrid grid;
        grid.setDataSource(rows.dsItems.get());
        grid.show();
        QApplication::setActiveWindow(&grid);
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        GridModel& m = *grid.gridModel();
        grid.setCurrentIndex(m.index(0, m.columnOf(field)));
        grid.setFocus();
        QTest::keyClick(focused(), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(focused());
        QVERIFY(editor);
        QVERIFY(!editor->inputMask().isEmpty());
        QCOMPARE(editor->text(), shown);
        editor->selectAll();
        keys(typed + "99"); // more than the mask holds: the rest is refused
        QTest::keyClick(focused(), Qt::Key_Return);
        QTRY_COMPARE(rows.items->fieldByName(field)->asString(), stored);
        rows.items->post();
        QCOMPARE(rows.items->lookup("item_id", {1}, field).toString(), stored);
    }

    void enterCanMoveToTheNextColumn() {
        m_grid->setEnterMovesToNextColumn(true);
        m_grid->setColumns({{"contato_nome"}, {"contato_cpf"}});
        m_grid->setCurrentIndex(model().index(0, 0));
        m_grid->setFocus();
        QTest::keyClick(m_grid.get(), Qt::Key_Return);
        QCOMPARE(m_grid->currentIndex(), model().index(0, 1));
        QTest::keyClick(m_grid.get(), Qt::Key_Return);
        QCOMPARE(m_grid->currentIndex(), model().index(1, 0));
        QCOMPARE(ds().recNo(), 2);
    }

    void fixedColumnStaysWhileScrolling() {
        m_grid->setFixedColumns(1);
        m_grid->setColumns({{"contato_nome", "", 30},
                            {"contato_cpf", "", 40},
                            {"contato_obs", "", 60},
                            {"contato_fone", "", 40}});
        QCoreApplication::processEvents();
        auto* frozen = m_grid->findChild<FrozenColumns*>();
        QVERIFY(frozen);
        QVERIFY(frozen->view()->isVisible());
        QCOMPARE(frozen->width(), m_grid->columnWidth(0));
        QVERIFY(frozen->view()->isColumnHidden(1));
        QVERIFY(!frozen->view()->isColumnHidden(0));
        m_grid->horizontalScrollBar()->setValue(m_grid->horizontalScrollBar()->maximum());
        QCOMPARE(frozen->view()->geometry().left(), m_grid->verticalHeader()->width() + m_grid->frameWidth());
        // Clicking its title is clicking the grid's.
        QSignalSpy clicks(m_grid.get(), &DBGrid::titleButtonClicked);
        QTest::mouseClick(frozen->view()->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks[0][0].toString(), QString("contato_nome"));
    }

    void picturesInCells() {
        QImage blue(80, 40, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        blue.save(&buffer, "PNG");
        ds().edit();
        ds().fieldByName("contato_foto")->setBytes(png);
        ds().post();
        ds().next();
        ds().edit();
        ds().fieldByName("contato_foto")->setBytes("not a picture");
        ds().post();
        ds().fieldByName("contato_foto")->setVisible(true);
        m_grid->setPictureField("contato_foto", QSize(32, 32));
        const int c = model().columnOf("contato_foto");
        QVERIFY(c >= 0);
        const QPixmap shown = model().data(model().index(0, c), Qt::DecorationRole).value<QPixmap>();
        QCOMPARE(shown.size(), QSize(32, 16));                                     // scaled down, shape kept
        QVERIFY(!model().data(model().index(1, c), Qt::DecorationRole).isValid()); // unreadable: nothing
        QVERIFY(!model().data(model().index(2, c), Qt::DecorationRole).isValid()); // none
        QVERIFY(m_grid->verticalHeader()->defaultSectionSize() >= 34);             // rows grow to hold them
        m_grid->grab();
    }

    void cellColoursComeFromTheScreen() {
        m_grid->setCellColors([](int row, const Field* f, CellColors& colors) {
            if (row == 1 && f->fieldName() == "contato_nome") colors.background = QBrush(Qt::red);
        });
        QCOMPARE(model()
                     .data(model().index(1, model().columnOf("contato_nome")), Qt::BackgroundRole)
                     .value<QBrush>(),
                 QBrush(Qt::red));
        QVERIFY(
            !model().data(model().index(0, model().columnOf("contato_nome")), Qt::BackgroundRole).isValid());
    }

    void searchBoxMovesToTheFirstMatch() {
        IncrementalSearch search;
        search.setDataSource(m_db->dsContacts.get());
        search.setSearchField("contato_nome");
        ds().setSort("contato_nome ASC");
        QTest::keyClicks(&search, "c");
        QCOMPARE(ds().fieldByName("contato_nome")->asString(), QString("Carla Dias"));
        QCOMPARE(m_grid->currentIndex().row(), 2);
        QTest::keyClick(&search, Qt::Key_Backspace);
        QTest::keyClicks(&search, "BRU");
        QCOMPARE(ds().fieldByName("contato_nome")->asString(), QString("Bruno \"Bê\" Lima"));
        QTest::keyClicks(&search, "x"); // no match: stays
        QCOMPARE(ds().fieldByName("contato_nome")->asString(), QString("Bruno \"Bê\" Lima"));
        search.setSearchField("no_such_field");
        QVERIFY(!search.search());
        QSignalSpy escape(&search, &IncrementalSearch::escapePressed);
        QTest::keyClick(&search, Qt::Key_Escape);
        QCOMPARE(escape.count(), 1);
    }
};

QTEST_MAIN(TestToolkitGrid)
#include "tst_toolkit_grid.moc"
