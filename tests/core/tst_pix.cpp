#include "core/PixPayload.h"
#include "core/QrCode.h"
#include <QTest>

using dv::Currency;
namespace pix = dv::pix;

class TestPix : public QObject {
    Q_OBJECT
private slots:
    // The Central Bank's published example and the CRC's standard check value.
    void crcOfThePublishedExample() {
        QCOMPARE(pix::crc16("123456789"), quint16(0x29B1));
        const QString example = QStringLiteral(
            "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-4266554400005204000053039865802BR5913"
            "Fulano de Tal6008BRASILIA62070503***63041D3D");
        const auto d = pix::decode(example);
        QVERIFY(d);
        QCOMPARE(d->value("26.00"), QStringLiteral("br.gov.bcb.pix"));
        QCOMPARE(d->value("26.01"), QStringLiteral("123e4567-e12b-12d1-a456-426655440000"));
        QCOMPARE(d->value("59"), QStringLiteral("Fulano de Tal"));
        QCOMPARE(d->value("62.05"), QStringLiteral("***"));
        // One changed character, or a wrong CRC, and the payload is refused.
        QVERIFY(!pix::decode(QString(example).replace("Fulano", "Fulana")));
        QVERIFY(!pix::decode(example.left(example.size() - 4) + "1D3E"));
        QVERIFY(!pix::decode(QStringLiteral("000201")));
    }

    void chargeDecodesToItsFields() {
        pix::Charge c;
        c.key = QStringLiteral("12.345.678/0001-95");
        c.name = QStringLiteral("Clínica Odontológica São João do Sorriso Ltda");
        c.city = QStringLiteral("São José dos Campos");
        c.amount = *Currency::parse(QStringLiteral("1.234,5"));
        c.reference = QStringLiteral("PARC-42/3");
        const QString text = pix::payload(c);
        const auto d = pix::decode(text);
        QVERIFY2(d, qPrintable(text));
        QCOMPARE(d->value("00"), QStringLiteral("01"));
        QCOMPARE(d->value("26.01"), QStringLiteral("12345678000195"));
        QCOMPARE(d->value("52"), QStringLiteral("0000"));
        QCOMPARE(d->value("53"), QStringLiteral("986"));
        QCOMPARE(d->value("54"), QStringLiteral("1234.50"));
        QCOMPARE(d->value("58"), QStringLiteral("BR"));
        QCOMPARE(d->value("59"), QStringLiteral("CLINICA ODONTOLOGICA SAO"));
        QCOMPARE(d->value("60"), QStringLiteral("SAO JOSE DOS CA"));
        QCOMPARE(d->value("62.05"), QStringLiteral("PARC423"));
        for (QChar ch : text)
            QVERIFY(ch.unicode() < 0x80);

        // No amount leaves it to the payer; no reference gives "***".
        c.amount = Currency();
        c.reference.clear();
        const auto open = pix::decode(pix::payload(c));
        QVERIFY(open);
        QVERIFY(!open->fields.contains("54"));
        QCOMPARE(open->value("62.05"), QStringLiteral("***"));
    }

    void keys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("key");
        QTest::newRow("cpf") << "123.456.789-09"
                             << "12345678909";
        QTest::newRow("cnpj") << "12.345.678/0001-95"
                              << "12345678000195";
        QTest::newRow("e-mail") << " Financeiro@Clinica.com.br "
                                << "financeiro@clinica.com.br";
        QTest::newRow("phone") << "+55 (12) 99876-5432"
                               << "+5512998765432";
        QTest::newRow("random key") << "123E4567-E12B-12D1-A456-426655440000"
                                    << "123e4567-e12b-12d1-a456-426655440000";
        QTest::newRow("phone without country") << "(12) 99876-5432"
                                               << "";
        QTest::newRow("short digits") << "12345"
                                      << "";
        QTest::newRow("words") << "minha chave"
                               << "";
        QTest::newRow("empty") << ""
                               << "";
    }
    void keys() {
        QFETCH(QString, typed);
        QFETCH(QString, key);
        QCOMPARE(pix::normalizedKey(typed), key);
        pix::Charge c;
        c.key = typed;
        c.amount = Currency::fromUnits(10);
        // A charge with no valid key is never built.
        QCOMPARE(pix::payload(c).isEmpty(), key.isEmpty());
    }

    void qrPicture() {
        const QString text =
            pix::payload({QStringLiteral("12345678909"), QStringLiteral("Clinica"), QStringLiteral("Taubate"),
                          Currency::fromUnits(150), QStringLiteral("P1")});
        const QImage image = dv::qrImage(text);
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), image.height());
        // Quiet zone white, finder pattern's corner black.
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(4, 4), QColor(Qt::black));
        QVERIFY(!QImage::fromData(dv::qrPng(text), "PNG").isNull());
        QVERIFY(dv::qrPng(QString()).isEmpty());
    }
};

QTEST_MAIN(TestPix)
#include "tst_pix.moc"
