// The data-aware controls read and write their fields as a user drives them: masks
// storing digits or literals, upper case, flags, person types, dates, lookups,
// pictures, the navigator and the calculator.
#include "ScriptedServices.h"
#include "ToolkitFixture.h"
#include "core/ComponentTexts.h"
#include "core/ToolkitTexts.h"
#include "core/db/DbErrors.h"
#include "toolkit/CalculatorPopup.h"
#include "toolkit/CalendarPopup.h"
#include "toolkit/Colors.h"
#include "toolkit/DBCalcEdit.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBComboBox.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBMemo.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/DBRadioGroup.h"
#include "toolkit/DBRichEdit.h"
#include "toolkit/EditMask.h"
#include "toolkit/LookupPopup.h"
#include "toolkit/MonthCalendar.h"
#include "toolkit/TransparentPicture.h"
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace dv;
using dv::test::ScriptedServices;
using dv::test::ToolkitFixture;

using dv::test::typeText;

class TestToolkitControls : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolkitFixture> m_db;
    std::unique_ptr<QWidget> m_form;

    // A shown form holding the control, with a second box to move the focus to.
    template <typename T> T* onForm() {
        m_form = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_form.get());
        auto* control = new T(m_form.get());
        layout->addWidget(control);
        auto* other = new QLineEdit(m_form.get());
        other->setObjectName("other");
        layout->addWidget(other);
        m_form->show();
        if (!QTest::qWaitForWindowExposed(m_form.get())) qWarning("form not exposed");
        return control;
    }
    void leave() {
        m_form->findChild<QLineEdit*>("other")->setFocus();
        QCoreApplication::processEvents();
    }
    Dataset& ds() { return *m_db->contacts; }

private slots:
    void initTestCase() { selectToolkitTexts("pt_BR"); }
    void init() { m_db = std::make_unique<ToolkitFixture>(); }
    void cleanup() {
        m_form.reset();
        m_db.reset();
    }

    void maskTranslationAndStorage_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("qtMask");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::newRow("cpf digits") << "999.999.999-99;0;_"
                                    << "000.000.000-00;_"
                                    << "123.456.789-09"
                                    << "12345678909"
                                    << "12345678909";
        QTest::newRow("cnpj digits") << "99.999.999/9999-99;0;_"
                                     << "00.000.000/0000-00;_"
                                     << "11.222.333/0001-81"
                                     << "11222333000181"
                                     << "11222333000181";
        QTest::newRow("cep digits") << "99999-999;0;_"
                                    << "00000-000;_"
                                    << "12345-678"
                                    << "12345678"
                                    << "12345678";
        QTest::newRow("phone literals") << "99(999)99999-9999;1;_"
                                        << "00(000)00000-0000;_"
                                        << "11(011)34567-8901"
                                        << "11(011)34567-8901"
                                        << "11011345678901";
        QTest::newRow("phone part typed") << "99(999)99999-9999;1;_"
                                          << "00(000)00000-0000;_"
                                          << "11(011)3456_-____"
                                          << "11(011)3456 -"
                                          << "110113456";
        QTest::newRow("nothing typed") << "99999-999;0;_"
                                       << "00000-000;_"
                                       << "_____-___"
                                       << ""
                                       << "";
        QTest::newRow("required digit, other blank") << "00:00;1;*"
                                                     << "99:99;*"
                                                     << "08:30"
                                                     << "08:30"
                                                     << "0830";
        QTest::newRow("letters, upper case, escaped literal") << "!>LL\\-000;0; "
                                                              << ">AA-999; "
                                                              << "AB-123"
                                                              << "AB123"
                                                              << "AB123";
        QTest::newRow("no mask") << ""
                                 << ""
                                 << "livre"
                                 << "livre"
                                 << "livre";
    }
    void maskTranslationAndStorage() {
        QFETCH(QString, mask);
        QFETCH(QString, qtMask);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        const EditMask m(mask);
        QCOMPARE(m.qtInputMask(), qtMask);
        QCOMPARE(m.toStored(shown), stored);
        QCOMPARE(m.typedText(shown), typed);
        // What is stored comes back into the box as it was shown.
        if (!mask.isEmpty() && !stored.isEmpty()) {
            QLineEdit box;
            box.setInputMask(m.qtInputMask());
            box.setText(m.toEditText(stored));
            QCOMPARE(m.toStored(box.displayText()), stored);
        }
    }

    void editStoresDigitsOrLiterals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("cpf") << "contato_cpf"
                             << "52998224725"
                             << "529.982.247-25"
                             << "52998224725";
        QTest::newRow("cep") << "contato_cep"
                             << "12345678"
                             << "12345-678"
                             << "12345678";
        QTest::newRow("phone") << "contato_fone"
                               << "11011345678901"
                               << "11(011)34567-8901"
                               << "11(011)34567-8901";
    }
    void editStoresDigitsOrLiterals() {
        QFETCH(QString, field);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        auto* box = onForm<DBEdit>();
        box->bind(m_db->dsContacts.get(), field);
        ds().moveTo(1); // Bruno: all three empty
        QCOMPARE(box->typedText(), QString());
        box->setFocus();
        box->home(false);
        QTest::keyClicks(box, keys);
        QCOMPARE(box->displayText(), shown);
        QCOMPARE(ds().state(), DatasetState::Edit); // the first keystroke edits
        QCOMPARE(ds().fieldByName(field)->asString(), stored);
        QCOMPARE(box->typedText(), keys);
        ds().post();
        QCOMPARE(m_db->stored(field, 2).toString(), stored);
        // Another row and back: the box shows the stored value through the mask.
        ds().first();
        ds().moveTo(1);
        QCOMPARE(box->displayText(), shown);
    }

    void editShowsStoredValueThroughMask() {
        auto* box = onForm<DBEdit>();
        box->bind(m_db->dsContacts.get(), "contato_cpf");
        QCOMPARE(box->displayText(), QString("123.456.789-09"));
        box->setEditMask(QString("99999999999;0;_")); // the box's own mask wins
        QCOMPARE(box->displayText(), QString("12345678909"));
    }

    void editUpperCaseAndTextLimit() {
        auto* box = onForm<DBEdit>();
        box->bind(m_db->dsContacts.get(), "contato_nome");
        box->setCharCase(CharCase::Upper);
        QCOMPARE(box->maxLength(), 60);
        box->setFocus();
        box->selectAll();
        typeText(box, "joão da silva");
        QCOMPARE(box->text(), QString("JOÃO DA SILVA"));
        QCOMPARE(ds().fieldByName("contato_nome")->asString(), QString("JOÃO DA SILVA"));
        // Typing goes on undisturbed by the value written back at each keystroke.
        QTest::keyClicks(box, "x");
        QCOMPARE(box->text(), QString("JOÃO DA SILVAX"));
        ds().cancel();
        QCOMPARE(box->text(), QString("Ana Souza"));
    }

    void editWritesNumbersWhenLeft() {
        auto* box = onForm<DBEdit>();
        box->bind(m_db->dsContacts.get(), "contato_valor");
        QCOMPARE(box->text(), QString("123,45"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "1.234,5");
        QCOMPARE(ds().state(), DatasetState::Edit);
        QCOMPARE(ds().fieldByName("contato_valor")->asCurrency(), Currency::fromRaw(1234500)); // not yet
        leave();
        QCOMPARE(ds().fieldByName("contato_valor")->asCurrency(), Currency::fromRaw(12345000));
        QCOMPARE(box->text(), QString("1.234,50"));
        // A text that is not a number is refused and the field keeps its value.
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "doze");
        QVERIFY_THROWS_EXCEPTION(DatabaseError, box->updateRecord());
        QCOMPARE(ds().fieldByName("contato_valor")->asCurrency(), Currency::fromRaw(12345000));
    }

    void boxesOfReadOnlyQueriesRefuseTyping() {
        Dataset join(m_db->temp.db.get(), "SQL_Join");
        join.setSql("select contato.contato_nome, uf.uf_nome from contato inner join uf on uf.uf_id = "
                    "contato.contato_uf");
        DataSource source(&join, "dsJoin");
        join.open();
        auto* box = onForm<DBEdit>();
        box->bind(&source, "contato_nome");
        QVERIFY(box->QLineEdit::isReadOnly());
        QVERIFY(!box->isReadOnly()); // not by choice
        box->setFocus();
        QTest::keyClicks(box, "x");
        QCOMPARE(join.state(), DatasetState::Browse);
        QCOMPARE(box->text(), QString("Ana Souza"));
    }

    void memoWritesAsTyped() {
        auto* memo = onForm<DBMemo>();
        memo->bind(m_db->dsContacts.get(), "contato_obs");
        QCOMPARE(memo->toPlainText(), QString("primeira linha\nsegunda"));
        memo->setFocus();
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, " e mais");
        QCOMPARE(ds().fieldByName("contato_obs")->asString(), QString("primeira linha\nsegunda e mais"));
    }

    void richTextKeepsFormatting() {
        auto* rich = onForm<DBRichEdit>();
        rich->bind(m_db->dsContacts.get(), "contato_obs");
        QCOMPARE(rich->toPlainText(), QString("primeira linha\nsegunda")); // plain text shown as such
        rich->setFocus();
        rich->moveCursor(QTextCursor::End);
        QTest::keyClicks(rich, "!");
        const QString stored = ds().fieldByName("contato_obs")->asString();
        QVERIFY(Qt::mightBeRichText(stored));
        ds().post();
        ds().next();
        ds().first();
        QCOMPARE(rich->toPlainText(), QString("primeira linha\nsegunda!"));
    }

    void checkBoxStoresFlags() {
        auto* check = onForm<DBCheckBox>();
        check->bind(m_db->dsContacts.get(), "contato_ativo");
        QVERIFY(check->isChecked());
        ds().next();
        QVERIFY(!check->isChecked());
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
        QCOMPARE(ds().state(), DatasetState::Edit);
        QCOMPARE(ds().fieldByName("contato_ativo")->asString(), QString("S"));
        ds().post();
        QCOMPARE(m_db->stored("contato_ativo", 2).toString(), QString("S"));
        QTest::keyClick(check, Qt::Key_Space);
        QCOMPARE(ds().fieldByName("contato_ativo")->asString(), QString("N"));
        // Other values, as a screen sets them.
        check->setValueChecked("1");
        check->setValueUnchecked("0");
        QVERIFY(!check->isChecked()); // "N" is neither
        QTest::keyClick(check, Qt::Key_Space);
        QCOMPARE(ds().fieldByName("contato_ativo")->asString(), QString("1"));
    }

    void radioGroupStoresValues() {
        auto* radio = onForm<DBRadioGroup>();
        radio->setObjectName("dbRadioPessoa");
        radio->setItems({"Física", "Jurídica"});
        radio->setValues({"F", "J"});
        radio->setColumns(2);
        radio->bind(m_db->dsContacts.get(), "contato_pessoa");
        QCOMPARE(radio->itemIndex(), 0);
        ds().next();
        QCOMPARE(radio->itemIndex(), 1);
        QSignalSpy changed(radio, &DBRadioGroup::changed);
        QTest::mouseClick(radio->button(0), Qt::LeftButton);
        QCOMPARE(radio->itemIndex(), 0);
        QCOMPARE(ds().fieldByName("contato_pessoa")->asString(), QString("F"));
        QCOMPARE(changed.count(), 1);
        // A value that is no choice selects none.
        ds().fieldByName("contato_pessoa")->setAsString("X");
        QCOMPARE(radio->itemIndex(), -1);
        ds().cancel();
        // Language files: captions change, stored values stay.
        const ComponentTextKind* kind = ComponentTexts::kindOf(radio);
        QVERIFY(kind);
        QVERIFY(kind->keys.contains(TextKey::Items));
        QVERIFY(kind->blankBeforeHintEquals);
        kind->setItems(radio, {"Natural", "Legal"});
        QCOMPARE(radio->button(1)->text(), QString("Legal"));
        QCOMPARE(kind->items(radio), QStringList({"Natural", "Legal"}));
        QTest::mouseClick(radio->button(1), Qt::LeftButton);
        QCOMPARE(ds().fieldByName("contato_pessoa")->asString(), QString("J"));
        // Without values a choice stores its caption.
        radio->setValues({});
        QTest::mouseClick(radio->button(0), Qt::LeftButton);
        QCOMPARE(ds().fieldByName("contato_pessoa")->asString(), QString("N")); // "Natural", cut to the size
        QVERIFY(ComponentTexts::kindOf(new DBCheckBox(m_form.get()))->blankBeforeHintEquals);
    }

    void comboBoxWritesChoice() {
        auto* combo = onForm<DBComboBox>();
        combo->addItems({"F", "J"});
        combo->bind(m_db->dsContacts.get(), "contato_pessoa");
        QCOMPARE(combo->currentText(), QString("F"));
        ds().next();
        QCOMPARE(combo->currentText(), QString("J"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Up);
        QCOMPARE(ds().fieldByName("contato_pessoa")->asString(), QString("F"));
        QCOMPARE(ds().state(), DatasetState::Edit);
    }

    void dateEditShowsAndReadsDayFirst_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QDate>("date");
        QTest::newRow("four-digit year") << "15082023" << QDate(2023, 8, 15);
        QTest::newRow("89 is 2089") << "010289" << QDate(2089, 2, 1);
        QTest::newRow("90 is 1990") << "010290" << QDate(1990, 2, 1);
        QTest::newRow("00 is 2000, a leap year") << "290200" << QDate(2000, 2, 29);
    }
    void dateEditShowsAndReadsDayFirst() {
        QFETCH(QString, keys);
        QFETCH(QDate, date);
        ScriptedServices services;
        auto* box = onForm<DBDateEdit>();
        box->bind(m_db->dsContacts.get(), "contato_data");
        QCOMPARE(box->text(), QString("05/03/2024"));
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        box->home(false);
        QTest::keyClicks(box, keys);
        leave();
        QCOMPARE(ds().fieldByName("contato_data")->asDate(), date);
        QCOMPARE(box->text(), date.toString("dd/MM/yyyy"));
        QCOMPARE(services.dialogs.count(), 0);
    }

    void dateEditRefusesDaysThatDoNotExist() {
        ScriptedServices services;
        auto* box = onForm<DBDateEdit>();
        box->bind(m_db->dsContacts.get(), "contato_data");
        QSignalSpy changed(box, &DBDateEdit::dateChanged);
        box->setFocus();
        box->home(false);
        QTest::keyClicks(box, "31022024");
        leave();
        QCOMPARE(services.dialogs.texts(), QStringList{"Data inválida."});
        QCOMPARE(ds().fieldByName("contato_data")->asDate(), QDate(2024, 3, 5));
        QCOMPARE(box->text(), QString("05/03/2024"));
        QCOMPARE(changed.count(), 0);
        // Emptied, the field is emptied.
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        leave();
        QVERIFY(ds().fieldByName("contato_data")->isNull());
        QCOMPARE(changed.count(), 1);
        ds().post();
        QVERIFY(m_db->stored("contato_data", 1).isNull());
    }

    void dateEditCalendarPicksAndClears() {
        ScriptedServices services;
        services.clock.set(QDateTime(QDate(2024, 7, 10), QTime(9, 0)));
        auto* box = onForm<DBDateEdit>();
        box->bind(m_db->dsContacts.get(), "contato_data");
        box->showCalendar();
        QVERIFY(box->calendarPopup()->isVisible());
        QCOMPARE(box->calendarPopup()->calendar()->selectedDate(), QDate(2024, 3, 5));
        emit box->calendarPopup()->picked(QDate(2024, 3, 20));
        QCOMPARE(ds().fieldByName("contato_data")->asDate(), QDate(2024, 3, 20));
        // Unbound: a plain date box.
        DBDateEdit plain;
        QSignalSpy changed(&plain, &DBDateEdit::dateChanged);
        plain.setDate(QDate(2024, 1, 2));
        QCOMPARE(plain.text(), QString("02/01/2024"));
        QCOMPARE(plain.date(), QDate(2024, 1, 2));
        QCOMPARE(changed.count(), 1);
        plain.setDate(QDate());
        QVERIFY(!plain.date().isValid());
    }

    void monthCalendarSelectsRanges() {
        auto* cal = onForm<MonthCalendar>();
        cal->setSelection(QDate(2024, 5, 20), QDate(2024, 5, 10));
        QCOMPARE(cal->selectionStart(), QDate(2024, 5, 10));
        QCOMPARE(cal->selectionEnd(), QDate(2024, 5, 20));
        QSignalSpy ranges(cal, &MonthCalendar::rangeSelected);
        auto* days = cal->findChild<QTableView*>();
        QVERIFY(days);
        days->setFocus();
        QTest::keyClick(days, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(days, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(cal->selectionStart(), QDate(2024, 5, 10));
        QCOMPARE(cal->selectionEnd(), QDate(2024, 5, 12));
        QTest::keyClick(days, Qt::Key_Right);
        QCOMPARE(cal->selectionStart(), QDate(2024, 5, 13));
        QCOMPARE(cal->selectionEnd(), QDate(2024, 5, 13));
        QCOMPARE(ranges.count(), 3);
    }

    void lookupComboShowsChoosesAndClears() {
        auto* combo = onForm<DBLookupCombo>();
        combo->bind(m_db->dsContacts.get(), "contato_uf");
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_nome", "uf_id"}, {"Nome", "UF"});
        QCOMPARE(combo->text(), QString("Minas Gerais"));
        ds().next();
        QCOMPARE(combo->text(), QString("São Paulo"));
        // Typing drops the grid down on the first row beginning with the text.
        combo->lineEdit()->setFocus();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "ri");
        QVERIFY(combo->isPopupVisible());
        QCOMPARE(m_db->states->fieldByName("uf_id")->asString(), QString("RJ"));
        QCOMPARE(combo->popupWindow()->grid()->model()->columnCount(), 2);
        QCOMPARE(combo->popupWindow()->grid()->model()->headerData(1, Qt::Horizontal).toString(),
                 QString("UF"));
        QSignalSpy changed(combo, &DBLookupCombo::changed);
        QTest::keyClick(combo->popupWindow()->grid(), Qt::Key_Down);
        QTest::keyClick(combo->popupWindow()->grid(), Qt::Key_Return);
        QVERIFY(!combo->isPopupVisible());
        QCOMPARE(ds().fieldByName("contato_uf")->asString(), QString("SC"));
        QCOMPARE(ds().fieldByName("lk_uf")->asString(), QString("Santa Catarina"));
        QCOMPARE(combo->text(), QString("Santa Catarina"));
        QCOMPARE(changed.count(), 1);
        // The clear key with the whole text selected empties the field.
        combo->lineEdit()->selectAll();
        QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        QVERIFY(ds().fieldByName("contato_uf")->isNull());
        QCOMPARE(combo->text(), QString());
        QCOMPARE(changed.count(), 2);
        ds().post();
        QVERIFY(m_db->stored("contato_uf", 2).isNull());
        // Escape while typing restores the value shown.
        QTest::keyClicks(combo->lineEdit(), "mi");
        QTest::keyClick(combo->popupWindow()->grid(), Qt::Key_Escape);
        QCOMPARE(combo->text(), QString());
        QVERIFY(ds().fieldByName("contato_uf")->isNull());
    }

    // A lookup list kept closed until needed is read when a box is given it.
    void lookupComboOpensListKeptForDemand() {
        m_db->states->close();
        m_db->states->setOpenedOnDemand(true);
        auto* combo = onForm<DBLookupCombo>();
        combo->bind(m_db->dsContacts.get(), "contato_uf");
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_nome", "uf_id"}, {"Nome", "UF"});
        QVERIFY(m_db->states->isActive());
        QCOMPARE(combo->text(), QString("Minas Gerais"));
    }

    // The drop-down's titles are the box's items for the language files: the given
    // titles or the lookup fields' labels, replaced in order.
    void lookupComboTitlesAreItsItems() {
        auto* combo = onForm<DBLookupCombo>();
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_id", "uf_nome"}, {"UF"});
        const ComponentTextKind* kind = ComponentTexts::kindOf(combo);
        QVERIFY(kind && kind->keys.contains(TextKey::Items));
        const QString label = m_db->states->fieldByName("uf_nome")->displayLabel();
        QCOMPARE(kind->items(combo), (QStringList{"UF", label}));
        kind->setItems(combo, {"State", "Name"});
        combo->lineEdit()->setFocus();
        QTest::keyClicks(combo->lineEdit(), "s");
        QVERIFY(combo->isPopupVisible());
        const QAbstractItemModel* titles = combo->popupWindow()->grid()->model();
        QCOMPARE(titles->headerData(0, Qt::Horizontal).toString(), QString("State"));
        QCOMPARE(titles->headerData(1, Qt::Horizontal).toString(), QString("Name"));
    }

    void unboundLookupComboChoosesLookupRow() {
        auto* combo = onForm<DBLookupCombo>();
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_nome"});
        QSignalSpy changed(combo, &DBLookupCombo::changed);
        combo->setText("rio de janeiro");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(m_db->states->fieldByName("uf_id")->asString(), QString("RJ"));
        QCOMPARE(combo->text(), QString("Rio de Janeiro"));
        QCOMPARE(combo->keyValue().toString(), QString("RJ"));
        combo->setText("Acre"); // no such row: only shown
        QCOMPARE(changed.count(), 1);
        QCOMPARE(combo->keyValue().toString(), QString("RJ"));
    }

    // Keys go where a user's would: the open drop-down, else the focused widget.
    static void keys(const QString& text) {
        for (const QChar c : text)
            QTest::keyClick(focused(), char(c.unicode()));
    }
    static QWidget* focused() {
        if (QWidget* p = QApplication::activePopupWidget()) return p->focusWidget() ? p->focusWidget() : p;
        return QApplication::focusWidget();
    }

    void lookupComboTakesFocusAsItsEditor() {
        auto* combo = onForm<DBLookupCombo>();
        combo->bind(m_db->dsContacts.get(), "contato_uf");
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_id", "uf_nome"});
        QVERIFY(combo->focusPolicy() & Qt::TabFocus);
        QApplication::setActiveWindow(m_form.get());
        combo->setFocus(Qt::OtherFocusReason);
        QCOMPARE(QApplication::focusWidget(), combo->lineEdit());
        QVERIFY(combo->hasFocus());
        // The composite itself is not a stop of its own in the Tab order.
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("other"));
        QTest::keyClick(focused(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), combo->lineEdit());
    }

    void lookupComboTabTakesTheMatchAndMovesOn_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("tabKey");
        QTest::addColumn<QString>("stored");
        QTest::newRow("SC then Tab") << "SC" << int(Qt::Key_Tab) << "SC";
        QTest::newRow("lower case then Tab") << "rj" << int(Qt::Key_Tab) << "RJ";
        QTest::newRow("SC then Shift+Tab") << "SC" << int(Qt::Key_Backtab) << "SC";
        QTest::newRow("no such state keeps the stored one") << "XY" << int(Qt::Key_Tab) << "MG";
    }
    void lookupComboTabTakesTheMatchAndMovesOn() {
        QFETCH(QString, typed);
        QFETCH(int, tabKey);
        QFETCH(QString, stored);
        // A box before and one after the lookup, as in a form.
        m_form = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_form.get());
        auto* before = new QLineEdit(m_form.get());
        auto* combo = new DBLookupCombo(m_form.get());
        auto* after = new QLineEdit(m_form.get());
        for (QWidget* w :
             {static_cast<QWidget*>(before), static_cast<QWidget*>(combo), static_cast<QWidget*>(after)})
            layout->addWidget(w);
        combo->bind(m_db->dsContacts.get(), "contato_uf");
        combo->setLookup(m_db->dsStates.get(), "uf_id", {"uf_id", "uf_nome"}, {"UF", "Nome"});
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        before->setFocus();
        QTest::keyClick(focused(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), combo->lineEdit());
        keys(typed);
        QCOMPARE(combo->text().left(typed.size()).toUpper(), typed.toUpper());
        QTest::keyClick(focused(), Qt::Key(tabKey),
                        tabKey == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
        QVERIFY(!combo->isPopupVisible());
        QCOMPARE(QApplication::focusWidget(), tabKey == Qt::Key_Tab ? after : before);
        QCOMPARE(ds().fieldByName("contato_uf")->asString(), stored);
        QCOMPARE(combo->text(), stored);
        // What is typed next lands in the box now focused, never in the state.
        keys("88");
        QCOMPARE(QApplication::focusWidget() == after ? after->text() : before->text(), QString("88"));
        QCOMPARE(ds().fieldByName("contato_uf")->asString(), stored);
    }

    void pictureBoxShowsPicturesAndSurvivesGarbage() {
        QImage red(30, 20, QImage::Format_RGB32);
        red.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        red.save(&buffer, "PNG");
        ds().edit();
        ds().fieldByName("contato_foto")->setBytes(png);
        ds().post();
        ds().next();
        ds().edit();
        ds().fieldByName("contato_foto")->setBytes(QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg", 24));
        ds().post();
        ds().first();

        auto* image = onForm<DBImage>();
        image->resize(100, 100);
        image->bind(m_db->dsContacts.get(), "contato_foto");
        QVERIFY(image->hasPicture());
        QCOMPARE(image->picture().size(), QSize(30, 20));
        image->setCenter(true);
        QCOMPARE(image->pictureRect().size(), QSize(30, 20));
        image->setStretch(true);
        image->setProportional(true);
        QCOMPARE(image->pictureRect().width(), image->contentsRect().width());
        image->grab(); // draws
        ds().next();
        QVERIFY(!image->hasPicture());
        image->grab();
        ds().next();
        QVERIFY(!image->hasPicture()); // no picture at all
        // Unbound: bytes that are no picture keep what was shown.
        DBImage plain;
        QVERIFY(plain.setPictureData(png));
        QVERIFY(!plain.setPictureData("garbage"));
        QVERIFY(plain.hasPicture());
    }

    // An icon over a picture: a BMP's bottom-left colour shows what lies under it, a
    // PNG's alpha is its own; whatever lies under the rest is covered.
    void transparentPictures_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("BMP, colour key") << "BMP";
        QTest::newRow("PNG, alpha") << "PNG";
    }
    void transparentPictures() {
        QFETCH(QString, format);
        // A 4x4 icon: a blue cross on a magenta ground (BMP) or on nothing (PNG).
        const bool alpha = format == "PNG";
        QImage icon(4, 4, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        icon.fill(alpha ? QColor(0, 0, 0, 0) : QColor(Qt::magenta));
        for (int i = 0; i < 4; ++i) {
            icon.setPixelColor(i, 1, Qt::blue);
            icon.setPixelColor(1, i, Qt::blue);
        }
        if (alpha) icon.setPixelColor(3, 3, QColor(255, 0, 255, 0)); // magenta, yet transparent
        // Through a file, as icons come.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(icon.save(&buffer, qPrintable(format)));
        const QImage loaded = QImage::fromData(bytes, qPrintable(format));
        QCOMPARE(loaded.hasAlphaChannel(), alpha);

        const QImage keyed = withColourKey(loaded);
        QCOMPARE(keyed.size(), QSize(4, 4));
        QCOMPARE(qAlpha(keyed.pixel(0, 3)), 0);
        QCOMPARE(qAlpha(keyed.pixel(3, 0)), 0);
        QCOMPARE(keyed.pixel(1, 1), QColor(Qt::blue).rgb());

        QImage under(8, 8, QImage::Format_RGB32);
        under.fill(Qt::green);
        {
            QPainter p(&under);
            drawTransparent(p, QRect(0, 0, 8, 8), loaded); // scaled twice over
        }
        QCOMPARE(under.pixelColor(7, 7), QColor(Qt::green)); // under the key colour
        QCOMPARE(under.pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(under.pixelColor(2, 2), QColor(Qt::blue)); // under the cross
        QCOMPARE(under.pixelColor(7, 3), QColor(Qt::blue));
    }

    void transparentPictureEdges() {
        QVERIFY(withColourKey(QImage()).isNull());
        // A picture of one colour is all key: nothing of it is drawn.
        QImage plain(3, 3, QImage::Format_RGB888);
        plain.fill(Qt::red);
        QImage under(3, 3, QImage::Format_RGB32);
        under.fill(Qt::white);
        QPainter p(&under);
        drawTransparent(p, QRect(0, 0, 3, 3), plain);
        drawTransparent(p, QRect(0, 0, 3, 3), QImage());
        p.end();
        QCOMPARE(under.pixelColor(1, 1), QColor(Qt::white));
    }

    void navigatorFollowsDatasetAndAsksBeforeDeleting() {
        ScriptedServices services;
        auto* nav = onForm<DBNavigator>();
        nav->setDataSource(m_db->dsContacts.get());
        auto enabled = [&](DBNavigator::Button b) { return nav->button(b)->isEnabled(); };
        QVERIFY(!enabled(DBNavigator::First) && !enabled(DBNavigator::Prior));
        QVERIFY(enabled(DBNavigator::Next) && enabled(DBNavigator::Last) && enabled(DBNavigator::Insert));
        QVERIFY(!enabled(DBNavigator::Post) && !enabled(DBNavigator::Cancel));
        QCOMPARE(nav->button(DBNavigator::Next)->toolTip(), QString("Próximo registro"));
        QTest::mouseClick(nav->button(DBNavigator::Last), Qt::LeftButton);
        QCOMPARE(ds().recNo(), 3);
        QVERIFY(!enabled(DBNavigator::Next) && enabled(DBNavigator::Prior));
        QTest::mouseClick(nav->button(DBNavigator::Edit), Qt::LeftButton);
        QVERIFY(enabled(DBNavigator::Post) && enabled(DBNavigator::Cancel) && !enabled(DBNavigator::Insert));
        QTest::mouseClick(nav->button(DBNavigator::Cancel), Qt::LeftButton);
        services.dialogs.queueConfirmation(false);
        QTest::mouseClick(nav->button(DBNavigator::Delete), Qt::LeftButton);
        QCOMPARE(services.dialogs.lastText(), QString("Excluir o registro?"));
        QCOMPARE(ds().recordCount(), 3);
        services.dialogs.queueConfirmation(true);
        QTest::mouseClick(nav->button(DBNavigator::Delete), Qt::LeftButton);
        QCOMPARE(ds().recordCount(), 2);
        nav->setEnabled(false);
        QVERIFY(!nav->button(DBNavigator::First)->isEnabled() || !nav->isEnabled());
        DV_VERIFY_SERVICES(services);
    }

    void navigatorPostWritesTheFocusedBox() {
        m_form = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_form.get());
        auto* value = new DBCalcEdit(m_form.get());
        auto* nav = new DBNavigator(m_form.get());
        layout->addWidget(value);
        layout->addWidget(nav);
        value->bind(m_db->dsContacts.get(), "contato_valor");
        nav->setDataSource(m_db->dsContacts.get());
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        value->setFocus();
        value->selectAll();
        QTest::keyClicks(value, "99,9");
        QVERIFY(nav->button(DBNavigator::Post)->isEnabled());
        QTest::mouseClick(nav->button(DBNavigator::Post), Qt::LeftButton);
        QCOMPARE(ds().state(), DatasetState::Browse);
        QCOMPARE(m_db->stored("contato_valor", 1).toString(), QString("999000"));
    }

    void calculatorComputesAndWrites() {
        auto* calc = onForm<DBCalcEdit>();
        calc->bind(m_db->dsContacts.get(), "contato_valor");
        calc->showCalculator();
        CalculatorPopup* pad = calc->calculator();
        QVERIFY(pad->isVisible());
        QCOMPARE(*pad->value(), 123.45);
        for (const char* k : {"C", "1", "2", "+", "3", "*", "2", "="})
            pad->press(k);
        QCOMPARE(*pad->value(), 30.0); // as a pocket calculator: in the order typed
        for (const char* k : {"/", "0", "="})
            pad->press(k);
        QVERIFY(!pad->value()); // "Erro"
        for (const char* k : {"C", "2", ",", "5", "*", "4"})
            pad->press(k);
        QTest::keyClick(pad, Qt::Key_Return);
        QVERIFY(!pad->isVisible());
        QCOMPARE(ds().fieldByName("contato_valor")->asCurrency(), Currency::fromRaw(100000));
        QCOMPARE(ds().state(), DatasetState::Edit);
    }

    void colourNumbersAreBlueGreenRed() {
        QCOMPARE(colorFromNumber(16514043), QColor(0xFB, 0xFB, 0xFB));
        QCOMPARE(colorFromNumber(16774120), QColor(0xE8, 0xF3, 0xFF)); // 0xFFF3E8: light blue
        QCOMPARE(colorFromNumber(15395583), QColor(0xFF, 0xEA, 0xEA));
        QCOMPARE(colorFromNumber(0x0000FF), QColor(Qt::red));
        QCOMPARE(colorNumber(QColor(Qt::blue)), qint64(0xFF0000));
        QCOMPARE(colorFromNumber(-16777201), QGuiApplication::palette().color(QPalette::Button)); // clBtnFace
    }
};

QTEST_MAIN(TestToolkitControls)
#include "tst_toolkit_controls.moc"
