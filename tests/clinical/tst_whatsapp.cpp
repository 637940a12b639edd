#include "clinical/WhatsAppLink.h"
#include <QTest>
#include <QUrlQuery>

class TestWhatsApp : public QObject {
    Q_OBJECT
private slots:
    void mobiles_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("mobile"); // empty: flagged, never sent
        QTest::newRow("punctuated") << "(12) 99876-5432"
                                    << "5512998765432";
        QTest::newRow("plain") << "12998765432"
                               << "5512998765432";
        QTest::newRow("country code") << "+55 12 99876-5432"
                                      << "5512998765432";
        QTest::newRow("country code, no plus") << "5512998765432"
                                               << "5512998765432";
        QTest::newRow("trunk zero") << "012 99876 5432"
                                    << "5512998765432";
        QTest::newRow("carrier code") << "0 15 12 99876-5432"
                                      << "5512998765432";
        QTest::newRow("as the phone box stores it") << "31(012)99876-5432"
                                                    << "5512998765432";
        QTest::newRow("phone box, no carrier") << "  (012)99876-5432"
                                               << "5512998765432";
        QTest::newRow("phone box, landline") << "31(012)3621-0000 "
                                             << "";
        QTest::newRow("landline") << "(12) 3621-0000"
                                  << "";
        QTest::newRow("old eight digits") << "(12) 9876-5432"
                                          << "";
        QTest::newRow("no area code") << "99876-5432"
                                      << "";
        QTest::newRow("too long") << "(12) 99876-54321"
                                  << "";
        QTest::newRow("letters") << "não tem"
                                 << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void mobiles() {
        QFETCH(QString, typed);
        QFETCH(QString, mobile);
        QCOMPARE(normalizedMobile(typed).value_or(QString()), mobile);
    }

    void linkCarriesTheMessage() {
        const QString message =
            QStringLiteral("Olá Maria, confirmamos sua consulta em 10/02/2026 às 14:30 & até!");
        const QUrl url(whatsAppLink(QStringLiteral("5512998765432"), message));
        QCOMPARE(url.scheme(), QStringLiteral("https"));
        QCOMPARE(url.host(), QStringLiteral("wa.me"));
        QCOMPARE(url.path(), QStringLiteral("/5512998765432"));
        QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("text"), QUrl::FullyDecoded), message);
    }
};

QTEST_MAIN(TestWhatsApp)
#include "tst_whatsapp.moc"
