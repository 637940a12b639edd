#include "AgendaFixture.h"
#include "clinical/U_frmAniversario.h"
#include "clinical/WhatsAppLink.h"
#include "core/Services.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// By the clock (Monday 16/03/2026): ANA, BETO and CAIO (no mobile) were born on a
// 16th of March, DANI on the 20th; EDU is inactive, FABI born on 29/02.
struct Patients {
    qint64 ana = 0;

    explicit Patients(AgendaApp& a) {
        ana = born(a, QStringLiteral("ANA PAULA"), QDate(1990, 3, 16), QStringLiteral("(31) 98765-4321"));
        born(a, QStringLiteral("BETO REIS"), QDate(2000, 3, 16), QStringLiteral("12 99111-2222"));
        born(a, QStringLiteral("CAIO DIAS"), QDate(1985, 3, 16), QString());
        born(a, QStringLiteral("DANI ROCHA"), QDate(1970, 3, 20), QStringLiteral("(12) 99333-4444"));
        born(a, QStringLiteral("EDU LOPES"), QDate(1980, 3, 16), QStringLiteral("(12) 99444-5555"), "N");
        born(a, QStringLiteral("FABI COSTA"), QDate(2000, 2, 29), QStringLiteral("(12) 99666-7777"));
        a.nameClinic(QStringLiteral("CLINICA SORRISO"));
    }
    static qint64 born(AgendaApp& a, const QString& name, const QDate& birth, const QString& mobile,
                       const char* active = "S") {
        return a.exec(
            QStringLiteral("insert into paciente (paciente_nome, convenio_id, paciente_ativo, "
                           "paciente_celular, paciente_data_nascimento) values (:n, 1, :a, :c, :b)"),
            {AgendaApp::p("n", name), AgendaApp::p("a", QString::fromLatin1(active)),
             AgendaApp::p("c", mobile.isNull() ? QVariant() : mobile), AgendaApp::p("b", birth)},
            QStringLiteral("paciente_id"));
    }
};

bool withBirthdays(AgendaApp& a, const std::function<void(TfrmAniversario*)>& work) {
    const bool shown =
        inModal<TfrmAniversario>([&a] { a.app.opener().open(QStringLiteral("frmAniversario")); }, work);
    if (!shown) qWarning() << "the screen did not open; messages:" << a.dialogs().texts();
    return shown;
}

QStringList names(TfrmAniversario* s) {
    return fieldValues(s->SQL_Aniversario, QStringLiteral("paciente_nome"));
}

QString greeting(const QString& name) {
    return QStringLiteral("Olá %1, feliz aniversário! Toda a equipe da CLINICA SORRISO deseja a você um novo "
                          "ano cheio de saúde e muitos sorrisos.")
        .arg(name);
}

} // namespace

// Birthday greetings by WhatsApp.
class TestBirthdays : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void todaysBirthdaysGetTheirMessages() {
        AgendaApp a;
        Patients p(a);
        const QStringList& opened = a.app.s.shell.opened();
        const qsizetype before = opened.size();
        QVERIFY(withBirthdays(a, [&](TfrmAniversario* s) {
            QCOMPARE(s->edtDia->date(), kMonday);
            QCOMPARE(names(s), (QStringList{"ANA PAULA", "BETO REIS", "CAIO DIAS"}));
            QCOMPARE(fieldValues(s->SQL_Aniversario, QStringLiteral("whatsapp")),
                     (QStringList{"5531987654321", "5512991112222", "Celular ausente"}));
            QCOMPARE(fieldValues(s->SQL_Aniversario, QStringLiteral("idade")),
                     (QStringList{"36", "26", "41"}));
            QCOMPARE(s->lblTotal->text(), QStringLiteral("3"));

            s->gridPacientes->setFocus();
            QTest::keyClick(s->gridPacientes, Qt::Key_Return); // ANA
            QVERIFY(s->SQL_Aniversario->locate(QStringLiteral("paciente_nome"), QStringLiteral("BETO REIS")));
            s->btnWhatsApp->click();
            QVERIFY(s->SQL_Aniversario->locate(QStringLiteral("paciente_nome"), QStringLiteral("CAIO DIAS")));
            s->btnWhatsApp->click(); // no mobile: told, nothing opened or noted
            QVERIFY(a.dialogs().lastText().contains(QStringLiteral("CAIO DIAS")));

            // A second message on the same birthday is asked about first.
            QVERIFY(s->SQL_Aniversario->locate(QStringLiteral("paciente_nome"), QStringLiteral("ANA PAULA")));
            QCOMPARE(s->SQL_Aniversario->fieldByName(QStringLiteral("mensagem_data"))->asDateTime(),
                     services().clock().now());
            a.dialogs().queueConfirmation(false);
            s->btnWhatsApp->click();
        }));
        QCOMPARE(opened.mid(before),
                 (QStringList{
                     whatsAppLink(QStringLiteral("5531987654321"), greeting(QStringLiteral("ANA PAULA"))),
                     whatsAppLink(QStringLiteral("5512991112222"), greeting(QStringLiteral("BETO REIS")))}));
        QCOMPARE(a.count(QStringLiteral("select count(*) from aniversario_mensagem")), 2);
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from aniversario_mensagem where paciente_id = %1 and "
                                   "mensagem_usuario = 'admin'")
                        .arg(p.ana)),
            1);
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    void theMonthAndTheLeapDay() {
        AgendaApp a;
        Patients p(a);
        QVERIFY(withBirthdays(a, [&](TfrmAniversario* s) {
            s->rbMes->setChecked(true);
            QCOMPARE(names(s), (QStringList{"ANA PAULA", "BETO REIS", "CAIO DIAS", "DANI ROCHA"}));
            s->rbDia->setChecked(true);
            s->edtDia->setDate(QDate(2026, 2, 28)); // no 29th this year
            QCOMPARE(names(s), QStringList{"FABI COSTA"});
            s->edtDia->setDate(QDate(2028, 2, 28));
            QCOMPARE(names(s), QStringList());
            s->edtDia->setDate(QDate());
            QCOMPARE(names(s), QStringList()); // an emptied day lists nobody
        }));
    }

    // Closing with the message changed asks whether to keep it; Cancel stays.
    void aChangedMessageIsOfferedOnClose() {
        AgendaApp a;
        Patients p(a);
        QVERIFY(withBirthdays(a, [&](TfrmAniversario* s) {
            s->memModelo->setPlainText(QStringLiteral("Parabéns, {nome}!"));
            a.dialogs().queueQuestion(DialogService::Answer::Cancel);
            QTest::keyClick(s, Qt::Key_Escape);
            QVERIFY(s->isVisible());
            a.dialogs().queueQuestion(DialogService::Answer::Yes);
            s->btnFechar->click();
            QVERIFY(!s->isVisible());
        }));
        QCOMPARE(
            scalar(a.db(), QStringLiteral("select mensagem_texto from mensagem_modelo where mensagem_nome = "
                                          "'aniversario'"))
                .toString(),
            QStringLiteral("Parabéns, {nome}!"));
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    void shippedTextsMatchTheScreen_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("es") << QStringLiteral("es");
    }
    void shippedTextsMatchTheScreen() {
        QFETCH(QString, code);
        AgendaApp a;
        session().setLanguage(code);
        QVERIFY(withBirthdays(a, [&](TfrmAniversario* s) {
            QCOMPARE(languageProblems(s, languageFile(a.app, code, s->objectName())), QStringList());
        }));
    }
};

QTEST_MAIN(TestBirthdays)
#include "tst_birthdays.moc"
