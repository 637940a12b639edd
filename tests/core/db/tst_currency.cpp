#include "core/db/Currency.h"
#include <QtTest>

using dv::Currency;

class TestCurrency : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<bool>("ok");
        QTest::newRow("pt_BR") << "1.234,56" << qint64(12345600) << true;
        QTest::newRow("money sign") << "R$ 10,00" << qint64(100000) << true;
        QTest::newRow("negative cent") << "-0,01" << qint64(-100) << true;
        QTest::newRow("point decimal") << "1234.5" << qint64(12345000) << true;
        QTest::newRow("thousands only") << "1.234.567" << qint64(12345670000) << true;
        QTest::newRow("five places rounds") << "0,00005" << qint64(1) << true;
        QTest::newRow("empty") << "" << qint64(0) << false;
        QTest::newRow("letters") << "12a,00" << qint64(0) << false;
        QTest::newRow("too big") << "999999999999999,00" << qint64(0) << false;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(qint64, raw);
        QFETCH(bool, ok);
        const auto c = Currency::parse(text);
        QCOMPARE(c.has_value(), ok);
        if (ok) QCOMPARE(c->raw(), raw);
    }
    void format_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
        QTest::newRow("thousands") << qint64(12345600) << "1.234,56";
        QTest::newRow("rounds half up") << qint64(12345) << "1,23";
        QTest::newRow("rounds half away from zero") << qint64(-12350) << "-1,24";
        QTest::newRow("negative rounding to zero") << qint64(-10) << "0,00";
        QTest::newRow("millions") << qint64(12345678900000) << "1.234.567.890,00";
    }
    void format() {
        QFETCH(qint64, raw);
        QFETCH(QString, text);
        QCOMPARE(Currency::fromRaw(raw).toString(), text);
    }
    void exactArithmetic() {
        // Ten times 0,10 is exactly 1,00, unlike doubles.
        Currency sum;
        for (int i = 0; i < 10; ++i) sum += *Currency::parse(QStringLiteral("0,10"));
        QCOMPARE(sum, Currency::fromUnits(1));
        QCOMPARE(Currency::fromUnits(100).dividedToCents(3).toString(), QStringLiteral("33,33"));
        QCOMPARE(Currency::fromUnits(-100).dividedToCents(3).toString(), QStringLiteral("-33,33"));
        QCOMPARE(Currency::fromRaw(5).roundedToCents(), Currency::fromRaw(0));
        QCOMPARE(Currency::fromRaw(50).roundedToCents(), Currency::fromRaw(100));
        QCOMPARE(Currency::fromRaw(12345600).toMoneyString(), QStringLiteral("R$ 1.234,56"));
        QCOMPARE(Currency::fromRaw(-5).toPlainString(), QStringLiteral("-0.0005"));
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
