#include "ScriptedServices.h"
#include "core/DateUtils.h"
#include "core/FieldUtils.h"
#include "core/db/DbErrors.h"
#include "core/db/Field.h"
#include <QtTest>

using dv::test::ScriptedDialogs;

class TestFieldUtils : public QObject {
    Q_OBJECT
private slots:
    void cpf_data();
    void cpf();
    void cnpj_data();
    void cnpj();
    void nonDigitIsAConversionError_data();
    void nonDigitIsAConversionError();
    void documentRoleFollowsTheDesignedLabel();
    void capitalizeName_data();
    void capitalizeName();
    void lastDayOfMonth_data();
    void lastDayOfMonth();
    void lastDayKeepsTimeOfDay();
    void installmentDueDates_data();
    void installmentDueDates();
    void usDateTexts();
};

namespace {
void checkTable(bool (*check)(const QString&)) {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, warning);
    dv::test::ScriptedServices s;
    QCOMPARE(check(text), valid);
    if (warning.isEmpty()) {
        QVERIFY(s.dialogs.messages().isEmpty());
    } else {
        QCOMPARE(s.dialogs.count(), 1);
        QCOMPARE(s.dialogs.messages().at(0).kind, ScriptedDialogs::Kind::Warning);
        QCOMPARE(s.dialogs.lastText(), warning);
    }
}
} // namespace

void TestFieldUtils::cpf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("warning");
    const QString wrong = QStringLiteral("CPF errado, corrija-o!");
    const QString length = QStringLiteral("O CPF deve conter 11 dígitos!");
    QTest::newRow("valid") << "52998224725" << true << "";
    QTest::newRow("valid 2") << "12345678909" << true << "";
    QTest::newRow("last digit changed") << "52998224726" << false << wrong;
    QTest::newRow("tenth digit changed") << "52998224735" << false << wrong;
    QTest::newRow("body changed") << "52998224625" << false << wrong;
    // One digit repeated passes the check digits; no such CPF is issued.
    QTest::newRow("all zeros") << "00000000000" << false << wrong;
    QTest::newRow("all ones") << "11111111111" << false << wrong;
    QTest::newRow("all nines") << "99999999999" << false << wrong;
    QTest::newRow("typed with dots and hyphen") << "529.982.247-25" << false << length;
    QTest::newRow("short") << "5299822472" << false << length;
    QTest::newRow("empty") << "" << false << length;
}

void TestFieldUtils::cpf() {
    checkTable(dv::checkCpf);
}

void TestFieldUtils::cnpj_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("warning");
    const QString wrong = QStringLiteral("Cnpj errado, corrija-o!");
    const QString length = QStringLiteral("O Cnpj deve conter 14 dígitos!");
    QTest::newRow("valid") << "11222333000181" << true << "";
    QTest::newRow("valid 2") << "19131243000197" << true << "";
    QTest::newRow("last digit changed") << "11222333000182" << false << wrong;
    QTest::newRow("13th digit changed") << "11222333000191" << false << wrong;
    QTest::newRow("all zeros") << "00000000000000" << false << wrong; // passes the check digits
    QTest::newRow("typed with punctuation") << "11.222.333/0001-81" << false << length;
    QTest::newRow("a CPF") << "52998224725" << false << length;
}

void TestFieldUtils::cnpj() {
    checkTable(dv::checkCnpj);
}

void TestFieldUtils::nonDigitIsAConversionError_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isCpf");
    QTest::newRow("cpf letter") << "5299822472a" << true;
    QTest::newRow("cpf dots, right length") << "529.982.247" << true;
    QTest::newRow("cpf arabic-indic digit") << QStringLiteral("5299822472٥") << true;
    QTest::newRow("cnpj blank") << "1122233300018 " << false;
}

void TestFieldUtils::nonDigitIsAConversionError() {
    QFETCH(QString, text);
    QFETCH(bool, isCpf);
    dv::test::ScriptedServices s;
    try {
        isCpf ? dv::checkCpf(text) : dv::checkCnpj(text);
        QFAIL("no error raised");
    } catch (const dv::PlainError& e) {
        QCOMPARE(e.message(), QStringLiteral("'%1' não é um número válido").arg(text));
    }
    QVERIFY(s.dialogs.messages().isEmpty());
}

// A field whose role changes (a contact's CPF or CNPJ) is checked and masked by the
// role it was last given, never by the label a language file shows.
void TestFieldUtils::documentRoleFollowsTheDesignedLabel() {
    dv::Field f(nullptr, dv::FieldDef::column(QStringLiteral("contato_cpf"), QStringLiteral("Cpf/Cnpj")));
    QCOMPARE(dv::documentKindOf(f), dv::DocumentKind::Cpf);
    f.setDesignedLabel(QStringLiteral("Cnpj"));
    f.setDisplayLabel(QStringLiteral("CPF/CNPJ"));
    QCOMPARE(dv::documentKindOf(f), dv::DocumentKind::Cnpj);
    QCOMPARE(dv::editMaskFor(f), QStringLiteral("99.999.999/9999-99;0;_"));
}

void TestFieldUtils::capitalizeName_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("particle das") << "MARIA DAS DORES"
                                  << "Maria das Dores";
    QTest::newRow("accented first letter, e") << "joão e maria"
                                              << "João e Maria";
    QTest::newRow("hyphen starts no word") << "ANA-MARIA"
                                           << "Ana-maria";
    QTest::newRow("apostrophe starts no word") << "JOANA D'ARC"
                                               << "Joana D'arc";
    QTest::newRow("all particles")
        << "A DA B DO C DE D EM E NA F NO G NAS H NOS I DAS J DOS K COM L E M À N"
        << "A da B do C de D em e na F no G nas H nos I das J dos K com L e M à N"; // "E na": the particle e
    QTest::newRow("particle at the end") << "JOSÉ DA"
                                         << "José Da";
    QTest::newRow("particle first") << "da silva"
                                    << "Da Silva";
    QTest::newRow("particle prefix of a word") << "ANA DANTAS"
                                               << "Ana Dantas";
    QTest::newRow("accented capitals lowered")
        << "ÁLVARO ÇÃO ÉRICO ÍTALO ÔNIX ÜBER ÕES ÂNGELA ÊNIO ÀS ÚRSULA"
        << "Álvaro Ção Érico Ítalo Ônix Über Ões Ângela Ênio Às Úrsula";
    QTest::newRow("other accented capitals keep case") << "ÈVE ÑANDU"
                                                       << "Ève Ñandu";
    QTest::newRow("double blank") << "ANA  MARIA"
                                  << "Ana  Maria";
    QTest::newRow("leading blank") << " ana"
                                   << " Ana";
    QTest::newRow("trailing blank") << "ana "
                                    << "Ana ";
    QTest::newRow("digits untouched") << "RUA 7 DE SETEMBRO"
                                      << "Rua 7 de Setembro";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFieldUtils::capitalizeName() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(dv::capitalizeName(text), expected);
}

void TestFieldUtils::lastDayOfMonth_data() {
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("january") << QDate(2025, 1, 15) << QDate(2025, 1, 31);
    QTest::newRow("february") << QDate(2025, 2, 1) << QDate(2025, 2, 28);
    QTest::newRow("leap february") << QDate(2024, 2, 10) << QDate(2024, 2, 29);
    QTest::newRow("april, last day itself") << QDate(2025, 4, 30) << QDate(2025, 4, 30);
    QTest::newRow("december") << QDate(2025, 12, 1) << QDate(2025, 12, 31);
}

void TestFieldUtils::lastDayOfMonth() {
    QFETCH(QDate, date);
    QFETCH(QDate, expected);
    QCOMPARE(dv::lastDayOfMonth(date), expected);
}

void TestFieldUtils::lastDayKeepsTimeOfDay() {
    const QDateTime in(QDate(2025, 6, 3), QTime(14, 25, 7));
    QCOMPARE(dv::lastDayOfMonth(in), QDateTime(QDate(2025, 6, 30), QTime(14, 25, 7)));
}

void TestFieldUtils::installmentDueDates_data() {
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QList<QDate>>("expected"); // installments 1, 2, 3, ...
    QTest::newRow("31st") << QDate(2025, 1, 31)
                          << QList<QDate>{QDate(2025, 1, 31), QDate(2025, 2, 28), QDate(2025, 3, 31),
                                          QDate(2025, 4, 30), QDate(2025, 5, 31), QDate(2025, 6, 30)};
    QTest::newRow("31st, leap year") << QDate(2024, 1, 31)
                                     << QList<QDate>{QDate(2024, 1, 31), QDate(2024, 2, 29),
                                                     QDate(2024, 3, 31)};
    QTest::newRow("30th") << QDate(2025, 1, 30)
                          << QList<QDate>{QDate(2025, 1, 30), QDate(2025, 2, 28), QDate(2025, 3, 31),
                                          QDate(2025, 4, 30), QDate(2025, 5, 30), QDate(2025, 6, 30)};
    QTest::newRow("30th, leap year") << QDate(2024, 1, 30)
                                     << QList<QDate>{QDate(2024, 1, 30), QDate(2024, 2, 29),
                                                     QDate(2024, 3, 31)};
    QTest::newRow("29th") << QDate(2025, 1, 29)
                          << QList<QDate>{QDate(2025, 1, 29), QDate(2025, 2, 28), QDate(2025, 3, 31),
                                          QDate(2025, 4, 30), QDate(2025, 5, 30)};
    QTest::newRow("29th, leap year") << QDate(2024, 1, 29)
                                     << QList<QDate>{QDate(2024, 1, 29), QDate(2024, 2, 29),
                                                     QDate(2024, 3, 29), QDate(2024, 4, 29)};
    QTest::newRow("10th") << QDate(2025, 1, 10)
                          << QList<QDate>{QDate(2025, 1, 10), QDate(2025, 2, 10), QDate(2025, 3, 10),
                                          QDate(2025, 4, 10)};
    QTest::newRow("across the year") << QDate(2025, 11, 30)
                                     << QList<QDate>{QDate(2025, 11, 30), QDate(2025, 12, 30),
                                                     QDate(2026, 1, 30), QDate(2026, 2, 28),
                                                     QDate(2026, 3, 31)};
}

void TestFieldUtils::installmentDueDates() {
    QFETCH(QDate, first);
    QFETCH(QList<QDate>, expected);
    QList<QDate> got;
    QDate previous = first;
    for (int n = 1; n <= expected.size(); ++n) {
        previous = dv::installmentDueDate(n, first, previous);
        got.append(previous);
    }
    QCOMPARE(got, expected);
}

void TestFieldUtils::usDateTexts() {
    QCOMPARE(dv::usDateTextSlashes(QDate(2016, 3, 5)), QStringLiteral("03/05/2016"));
    QCOMPARE(dv::usDateText(QDate(2016, 3, 5)), QStringLiteral("03/05/2016"));
    QCOMPARE(dv::usDateTextSlashes(QDate(2025, 12, 31)), QStringLiteral("12/31/2025"));
    // Not the machine's locale: a German one writes dates with dots.
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(dv::usDateTextSlashes(QDate(2016, 3, 5)), QStringLiteral("03/05/2016"));
    QLocale::setDefault(saved);
}

QTEST_MAIN(TestFieldUtils)
#include "tst_fieldutils.moc"
