// Brazilian formatting and parsing, independent of the machine's locale.
#include "core/db/BrFormat.h"
#include <QLocale>
#include <QtTest>

using namespace dv;

class TestBrFormat : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // A foreign default locale must not leak into what we show.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void parseDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("full") << "05/03/2016" << QDate(2016, 3, 5);
        QTest::newRow("short parts") << "5/3/2016" << QDate(2016, 3, 5);
        QTest::newRow("two-digit year 89") << "1/2/89" << QDate(2089, 2, 1);
        QTest::newRow("two-digit year 90") << "1/2/90" << QDate(1990, 2, 1);
        QTest::newRow("two-digit year 00") << "31/12/00" << QDate(2000, 12, 31);
        QTest::newRow("blanks around") << "  10/01/2024 " << QDate(2024, 1, 10);
        QTest::newRow("leap day") << "29/02/2024" << QDate(2024, 2, 29);
        QTest::newRow("no such day") << "29/02/2023" << QDate();
        QTest::newRow("month 13") << "01/13/2024" << QDate();
        QTest::newRow("month first is not read") << "12/31/2024" << QDate();
        QTest::newRow("iso is not read") << "2024-01-10" << QDate();
        QTest::newRow("three-digit year") << "1/1/202" << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void parseDate() {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const auto d = br::parseDate(text);
        QCOMPARE(d.value_or(QDate()), expected);
    }

    void parseDateTime() {
        QCOMPARE(br::parseDateTime("05/03/2016 14:30").value(), QDateTime(QDate(2016, 3, 5), QTime(14, 30)));
        QCOMPARE(br::parseDateTime("05/03/2016 14:30:15").value(),
                 QDateTime(QDate(2016, 3, 5), QTime(14, 30, 15)));
        QCOMPARE(br::parseDateTime("05/03/2016").value(), QDateTime(QDate(2016, 3, 5), QTime(0, 0)));
        QVERIFY(!br::parseDateTime("05/03/2016 25:00"));
    }

    void formatDates() {
        QCOMPARE(br::formatDate(QDate(2016, 3, 5)), QString("05/03/2016"));
        QCOMPARE(br::formatDate(QDate()), QString());
        const QDateTime noon(QDate(2016, 3, 5), QTime(12, 5, 9));
        const QDateTime midnight(QDate(2016, 3, 5), QTime(0, 0));
        QCOMPARE(br::formatDateTime(noon), QString("05/03/2016 12:05:09"));
        QCOMPARE(br::formatDateTime(midnight), QString("05/03/2016 00:00:00"));
        QCOMPARE(br::formatDateTime(midnight, br::TimePart::WhenNonZero), QString("05/03/2016"));
        QCOMPARE(br::formatDateTime(noon, br::TimePart::WhenNonZero), QString("05/03/2016 12:05:09"));
    }

    void formatDateTimeMask_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        QTest::newRow("date") << "dd/mm/yyyy"
                              << "05/03/2016";
        QTest::newRow("short") << "d/m/yy"
                               << "5/3/16";
        QTest::newRow("minutes after hour") << "dd/mm/yyyy hh:mm"
                                            << "05/03/2016 14:07";
        QTest::newRow("n for minutes") << "hh:nn:ss"
                                       << "14:07:09";
        QTest::newRow("month names") << "d 'de' mmmm 'de' yyyy"
                                     << "5 de março de 2016";
        QTest::newRow("short month") << "mmm/yyyy"
                                     << "mar/2016";
        QTest::newRow("day name") << "dddd"
                                  << "sábado";
        QTest::newRow("c with time") << "c"
                                     << "05/03/2016 14:07:09";
    }
    void formatDateTimeMask() {
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QCOMPARE(br::formatDateTimeMask(mask, QDateTime(QDate(2016, 3, 5), QTime(14, 7, 9))), expected);
    }

    void formatNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("thousands");
        QTest::addColumn<QString>("expected");
        QTest::newRow("grouped") << 1234567.891 << 2 << true << "1.234.567,89";
        QTest::newRow("plain") << 1234.5 << 2 << false << "1234,50";
        QTest::newRow("negative") << -1234.5 << 1 << true << "-1.234,5";
        QTest::newRow("negative rounds to zero") << -0.001 << 2 << true << "0,00";
        QTest::newRow("no decimals") << 999.6 << 0 << true << "1.000";
        QTest::newRow("small") << 0.25 << 2 << true << "0,25";
    }
    void formatNumber() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(bool, thousands);
        QFETCH(QString, expected);
        QCOMPARE(br::formatNumber(value, decimals, thousands), expected);
    }

    void parseNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("expected");
        QTest::newRow("grouped with comma") << "1.234,56" << true << 1234.56;
        QTest::newRow("comma") << "1234,5" << true << 1234.5;
        QTest::newRow("negative") << "-0,5" << true << -0.5;
        QTest::newRow("whole") << "42" << true << 42.0;
        QTest::newRow("plain point") << "1234.56" << true << 1234.56;
        QTest::newRow("several dots group") << "1.234.567" << true << 1234567.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("letters") << "12a" << false << 0.0;
        QTest::newRow("empty") << " " << false << 0.0;
        QTest::newRow("lone comma") << "," << false << 0.0;
    }
    void parseNumber() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, expected);
        const auto v = br::parseNumber(text);
        QCOMPARE(bool(v), ok);
        if (ok) QCOMPARE(*v, expected);
    }

    void parseInteger() {
        QCOMPARE(br::parseInteger("1.234").value(), 1234);
        QCOMPARE(br::parseInteger("-7").value(), -7);
        QVERIFY(!br::parseInteger("1,5"));
        QVERIFY(!br::parseInteger("12.34"));
        QVERIFY(!br::parseInteger(""));
    }

    void masks_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<qint64>("raw"); // ten-thousandths
        QTest::addColumn<QString>("expected");
        QTest::newRow("money") << "R$ #,##0.00" << qint64(12345600) << "R$ 1.234,56";
        QTest::newRow("grouped") << "#,##0.00" << qint64(12345600) << "1.234,56";
        QTest::newRow("rounds half away") << "#,##0.00" << qint64(-50) << "-0,01";
        QTest::newRow("half below rounds to zero") << "#,##0.00" << qint64(-49) << "0,00";
        QTest::newRow("negative prefix") << "R$ #,##0.00" << qint64(-50000) << "-R$ 5,00";
        QTest::newRow("negative section") << "#,##0.00;(#,##0.00)" << qint64(-50000) << "(5,00)";
        QTest::newRow("zero section") << "#,##0.00;-#,##0.00;\"zero\"" << qint64(0) << "zero";
        QTest::newRow("optional decimals") << "0.##" << qint64(15000) << "1,5";
        QTest::newRow("optional all") << "#.##" << qint64(5000) << ",5";
        QTest::newRow("millions") << "#,##0.00" << qint64(12345678900000) << "1.234.567.890,00";
        QTest::newRow("no decimals") << "#,##0" << qint64(15000) << "2";
        QTest::newRow("leading zeros") << "000" << qint64(70000) << "007";
        QTest::newRow("six places") << "0.000000" << qint64(12345) << "1,234500";
    }
    void masks() {
        QFETCH(QString, mask);
        QFETCH(qint64, raw);
        QFETCH(QString, expected);
        QCOMPARE(br::formatMask(mask, Currency::fromRaw(raw)), expected);
        // Floats and integers read the same masks.
        if (raw % 10000 == 0) QCOMPARE(br::formatMask(mask, raw / 10000), expected);
        // Halves are exact only in ten-thousandths; doubles skip them.
        if (raw % 50 != 0 || raw % 100 == 0) QCOMPARE(br::formatMask(mask, double(raw) / 10000.0), expected);
    }

    void floatsAndMoney() {
        QCOMPARE(br::formatFloat(1234.5), QString("1234,5"));
        QCOMPARE(br::formatFloat(0.1), QString("0,1"));
        QCOMPARE(br::formatFloat(-3), QString("-3"));
        QCOMPARE(br::formatMoney(Currency::fromRaw(12345600)), QString("R$ 1.234,56"));
        QCOMPARE(br::formatCurrency(Currency::fromRaw(-12345600)), QString("-1.234,56"));
        QCOMPARE(br::parseMoney("R$ 1.234,56").value(), Currency::fromRaw(12345600));
        QCOMPARE(br::formatInteger(-1234567, true), QString("-1.234.567"));
    }
};

QTEST_GUILESS_MAIN(TestBrFormat)
#include "tst_dataset_brformat.moc"
