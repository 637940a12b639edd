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
        for (int i = 0; i < 10; ++i)
            sum += *Currency::parse(QStringLiteral("0,10"));
        QCOMPARE(sum, Currency::fromUnits(1));
        QCOMPARE(Currency::fromUnits(100).dividedToCents(3).toString(), QStringLiteral("33,33"));
        QCOMPARE(Currency::fromUnits(-100).dividedToCents(3).toString(), QStringLiteral("-33,33"));
        QCOMPARE(Currency::fromRaw(5).roundedToCents(), Currency::fromRaw(0));
        QCOMPARE(Currency::fromRaw(50).roundedToCents(), Currency::fromRaw(100));
        QCOMPARE(Currency::fromRaw(12345600).toMoneyString(), QStringLiteral("R$ 1.234,56"));
        QCOMPARE(Currency::fromRaw(-5).toPlainString(), QStringLiteral("-0.0005"));
    }

    // The operations installments are made of, on amounts written as typed ("1.234,5678").
    void truncatedToUnits_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("units");
        QTest::newRow("fraction dropped") << "12,9999"
                                          << "12,0000";
        QTest::newRow("whole stays") << "7,00"
                                     << "7,0000";
        QTest::newRow("negative toward zero") << "-12,99"
                                              << "-12,0000";
        QTest::newRow("below one") << "0,9999"
                                   << "0,0000";
    }
    void truncatedToUnits() {
        QFETCH(QString, amount);
        QFETCH(QString, units);
        QCOMPARE(Currency::parse(amount)->truncatedToUnits(), *Currency::parse(units));
    }

    void percentage_data() {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain") << "200,00"
                               << "10"
                               << "20,00";
        QTest::newRow("fractional rate") << "100,00"
                                         << "2,5"
                                         << "2,50";
        QTest::newRow("half cent rounds up") << "0,50"
                                             << "1"
                                             << "0,01"; // 0,005
        QTest::newRow("just under half a cent") << "0,4999"
                                                << "1"
                                                << "0,00"; // 0,004999
        QTest::newRow("negative half away from zero") << "-0,50"
                                                      << "1"
                                                      << "-0,01";
        QTest::newRow("four-place rate") << "1.000,00"
                                         << "0,1234"
                                         << "1,23"; // 1,234
        QTest::newRow("past 64 bits in between") << "90.000.000.000,00"
                                                 << "100"
                                                 << "90.000.000.000,00";
    }
    void percentage() {
        QFETCH(QString, amount);
        QFETCH(QString, percent);
        QFETCH(QString, result);
        QCOMPARE(Currency::parse(amount)->percentage(*Currency::parse(percent)), *Currency::parse(result));
    }

    void split_data() {
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("parts");
        QTest::addColumn<bool>("remainderFirst");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("remainder last") << "100,00" << 3 << false << QStringList{"33,33", "33,33", "33,34"};
        QTest::newRow("remainder first") << "100,00" << 3 << true << QStringList{"33,34", "33,33", "33,33"};
        QTest::newRow("parts rounded up") << "200,00" << 3 << false << QStringList{"66,67", "66,67", "66,66"};
        QTest::newRow("even") << "90,00" << 3 << true << QStringList{"30,00", "30,00", "30,00"};
        QTest::newRow("one part") << "10,5" << 1 << false << QStringList{"10,5"};
        QTest::newRow("sub-cent digits land on the remainder")
            << "10,0001" << 2 << false << QStringList{"5,00", "5,0001"};
        QTest::newRow("fewer cents than parts")
            << "0,02" << 3 << false << QStringList{"0,01", "0,01", "0,00"};
        QTest::newRow("negative") << "-100,00" << 3 << true << QStringList{"-33,34", "-33,33", "-33,33"};
        QTest::newRow("no parts") << "100,00" << 0 << false << QStringList{};
    }
    void split() {
        QFETCH(QString, total);
        QFETCH(int, parts);
        QFETCH(bool, remainderFirst);
        QFETCH(QStringList, expected);
        const Currency t = *Currency::parse(total);
        const QList<Currency> got =
            t.split(parts, remainderFirst ? Currency::RemainderOn::First : Currency::RemainderOn::Last);
        QList<Currency> want;
        for (const QString& e : expected)
            want << *Currency::parse(e);
        QCOMPARE(got, want);
        Currency sum;
        for (Currency c : got)
            sum += c;
        if (parts > 0) QCOMPARE(sum, t);
    }
};

QTEST_GUILESS_MAIN(TestCurrency)
#include "tst_currency.moc"
