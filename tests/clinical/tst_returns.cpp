#include "AgendaFixture.h"
#include "clinical/U_frmRetorno.h"
#include "clinical/WhatsAppLink.h"
#include "core/Services.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// By the clock (16/03/2026): ANA and DANI last came more than six months ago; BETO
// came back in February; CAIO's last visit is old but he is booked for Friday.
struct Patients {
    qint64 ana = 0, beto = 0, caio = 0, dani = 0;

    explicit Patients(AgendaApp& a) {
        const qint64 lima = a.addDentist(QStringLiteral("ANA LIMA"), {});
        const qint64 costa = a.addDentist(QStringLiteral("BRUNO COSTA"), {});
        ana = a.addPatient(QStringLiteral("ANA PAULA"), QStringLiteral("31(012)99876-5432"));
        beto = a.addPatient(QStringLiteral("BETO REIS"), QStringLiteral("(12) 99111-2222"));
        caio = a.addPatient(QStringLiteral("CAIO DIAS"), QStringLiteral("(12) 99333-4444"));
        dani = a.addPatient(QStringLiteral("DANI ROCHA"), QString());
        consultation(a, ana, costa, QDate(2025, 1, 10));
        consultation(a, ana, lima, QDate(2025, 8, 10));
        consultation(a, beto, lima, QDate(2025, 6, 1));
        consultation(a, beto, lima, QDate(2026, 2, 1));
        consultation(a, caio, lima, QDate(2025, 5, 1));
        a.book(lima, caio, QDate(2026, 3, 20), QStringLiteral("08:00"));
        consultation(a, dani, costa, QDate(2025, 3, 1));
        a.nameClinic(QStringLiteral("CLINICA SORRISO"));
    }
    static void consultation(AgendaApp& a, qint64 patient, qint64 dentist, const QDate& day) {
        a.exec(QStringLiteral(
                   "insert into consulta (paciente_id, dentista_id, consulta_data, consulta_aprovado, "
                   "forma_pagamento_id) values (:p, :d, :day, 'S', 1)"),
               {AgendaApp::p("p", patient), AgendaApp::p("d", dentist), AgendaApp::p("day", day)});
    }
};

bool withReturns(AgendaApp& a, const std::function<void(TfrmRetorno*)>& work) {
    const bool shown =
        inModal<TfrmRetorno>([&a] { a.app.opener().open(QStringLiteral("frmRetorno")); }, work);
    if (!shown) qWarning() << "the screen did not open; messages:" << a.dialogs().texts();
    return shown;
}

QStringList names(TfrmRetorno* s) {
    return fieldValues(s->SQL_Retorno, QStringLiteral("paciente_nome"));
}

} // namespace

// Bringing back the patients who have not come for months.
class TestReturns : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void listsThePatientsDueWithTheirLastVisit() {
        AgendaApp a;
        Patients p(a);
        QVERIFY(withReturns(a, [&](TfrmRetorno* s) {
            QCOMPARE(s->spnMeses->value(), 6);
            QCOMPARE(names(s), (QStringList{"DANI ROCHA", "ANA PAULA"}));
            QCOMPARE(fieldValues(s->SQL_Retorno, QStringLiteral("dentista_nome")),
                     (QStringList{"BRUNO COSTA", "ANA LIMA"}));
            QCOMPARE(fieldValues(s->SQL_Retorno, QStringLiteral("whatsapp")),
                     (QStringList{"Celular ausente", "5512998765432"}));
            QCOMPARE(s->lblTotal->text(), QStringLiteral("2"));

            s->spnMeses->setValue(12);
            s->btnAtualizar->click();
            QCOMPARE(names(s), QStringList{"DANI ROCHA"});
        }));
    }

    void contactAttemptsAreRecorded() {
        AgendaApp a;
        Patients p(a);
        QVERIFY(withReturns(a, [&](TfrmRetorno* s) {
            QVERIFY(s->SQL_Retorno->locate(QStringLiteral("paciente_nome"), QStringLiteral("ANA PAULA")));
            a.dialogs().queueInput(std::nullopt); // cancelled: nothing noted
            s->btnContato->click();
            a.dialogs().queueInput(QStringLiteral("não atendeu"));
            s->btnContato->click();
            QCOMPARE(s->SQL_Retorno->fieldByName(QStringLiteral("paciente_nome"))->asString(),
                     QStringLiteral("ANA PAULA"));
            QCOMPARE(s->SQL_Retorno->fieldByName(QStringLiteral("tentativa_obs"))->asString(),
                     QStringLiteral("não atendeu"));
            QCOMPARE(s->SQL_Retorno->fieldByName(QStringLiteral("tentativa_data"))->asDateTime(),
                     services().clock().now());
            a.dialogs().queueInput(QStringLiteral("vai ligar"));
            s->btnContato->click();
            QCOMPARE(s->SQL_Retorno->fieldByName(QStringLiteral("tentativa_obs"))->asString(),
                     QStringLiteral("vai ligar")); // the latest attempt shows
        }));
        QCOMPARE(a.count(QStringLiteral("select count(*) from retorno_tentativa")), 2);
        QCOMPARE(
            scalar(a.db(), QStringLiteral("select min(tentativa_usuario) from retorno_tentativa")).toString(),
            QStringLiteral("admin"));
    }

    void whatsAppUsesTheReturnMessage() {
        AgendaApp a;
        Patients p(a);
        const QStringList& opened = a.app.s.shell.opened();
        const qsizetype before = opened.size();
        QVERIFY(withReturns(a, [&](TfrmRetorno* s) {
            s->btnWhatsApp->click(); // DANI: no mobile
            QVERIFY(a.dialogs()
                        .texts(ScriptedDialogs::Kind::Warning)
                        .value(0)
                        .contains(QStringLiteral("DANI ROCHA")));
            QVERIFY(s->SQL_Retorno->locate(QStringLiteral("paciente_nome"), QStringLiteral("ANA PAULA")));
            s->btnWhatsApp->click();
            s->memModelo->setPlainText(QStringLiteral("Oi {nome}, saudades! Desde {data}."));
            s->btnSalvarModelo->click();
            s->btnWhatsApp->click();
        }));
        QCOMPARE(opened.mid(before),
                 (QStringList{whatsAppLink(QStringLiteral("5512998765432"),
                                           QStringLiteral(
                                               "Olá ANA PAULA, sua última consulta com ANA LIMA foi em "
                                               "10/08/2025. Que tal agendar seu retorno? Responda esta "
                                               "mensagem para marcarmos o melhor horário. CLINICA SORRISO")),
                              whatsAppLink(QStringLiteral("5512998765432"),
                                           QStringLiteral("Oi ANA PAULA, saudades! Desde 10/08/2025."))}));
        QCOMPARE(
            scalar(a.db(), QStringLiteral("select mensagem_texto from mensagem_modelo where mensagem_nome = "
                                          "'retorno'"))
                .toString(),
            QStringLiteral("Oi {nome}, saudades! Desde {data}."));
    }

    // Enter on the list opens the agenda of the patient's last dentist (not the first
    // one); "Novo" brings the patient in; once stored the agenda closes and the
    // patient leaves the list. Closing the appointment unsaved books nothing.
    void bookingFromTheListUsesTheAgenda() {
        AgendaApp a;
        Patients p(a);
        const qint64 zeca = a.addDentist(QStringLiteral("ZECA MOURA"), {"08:00", "09:00"});
        const qint64 eva = a.addPatient(QStringLiteral("EVA NUNES"), QStringLiteral("(12) 99555-6666"));
        Patients::consultation(a, eva, zeca, QDate(2025, 5, 5));
        LoggedIn::reopen(dm().SQL_Paciente);
        QVERIFY(withReturns(a, [&](TfrmRetorno* s) {
            QVERIFY(s->SQL_Retorno->locate(QStringLiteral("paciente_nome"), QStringLiteral("EVA NUNES")));
            s->gridPacientes->setFocus();
            QVERIFY(inModal<TfrmAgenda_Consulta>(
                [&] { QTest::keyClick(s->gridPacientes, Qt::Key_Return); },
                [&](TfrmAgenda_Consulta* agenda) {
                    QCOMPARE(agenda->DBLC_Dentista->keyValue().toLongLong(), zeca);
                    QCOMPARE(agenda->lblAgendandoPaciente->text(), QStringLiteral("EVA NUNES"));
                    QVERIFY(!agenda->lblAgendandoPaciente->isHidden());
                    QCOMPARE(hours(agenda->SQL_Horario), (QStringList{"08:00", "09:00"}));

                    QVERIFY(AgendaApp::withAppointment(agenda->SpeedButton1, [](TfrmAgenda_Manut* m) {
                        m->BitBtn2->click(); // Fechar: nothing stored
                    }));
                    QVERIFY(agenda->isVisible());
                    QVERIFY(agenda->bookedAppointment().isNull());

                    QVERIFY(agenda->SQL_Horario->locate(QStringLiteral("hora_id"), QStringLiteral("09:00")));
                    QVERIFY(AgendaApp::withAppointment(agenda->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                        QCOMPARE(m->wwDBLookupCombo1->text(), QStringLiteral("EVA NUNES"));
                        m->BitBtn1->click();
                    }));
                    QVERIFY(!agenda->isVisible());
                    QVERIFY(!agenda->bookedAppointment().isNull());
                }));
            // The patient after EVA takes her row.
            QCOMPARE(s->SQL_Retorno->fieldByName(QStringLiteral("paciente_nome"))->asString(),
                     QStringLiteral("ANA PAULA"));
            QCOMPARE(names(s), (QStringList{"DANI ROCHA", "ANA PAULA"}));
            QCOMPARE(s->lblAgendado->text(),
                     QStringLiteral("Agendado: EVA NUNES em 16/03/2026 às 09:00 com ZECA MOURA"));
        }));
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from agenda where paciente_id = %1 and dentista_id = %2 "
                                   "and hora_id = '09:00'")
                        .arg(eva)
                        .arg(zeca)),
            1);
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda where paciente_id = %1").arg(eva)), 1);
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
        QVERIFY(withReturns(a, [&](TfrmRetorno* s) {
            QCOMPARE(languageProblems(s, languageFile(a.app, code, s->objectName())), QStringList());
        }));
    }
};

QTEST_MAIN(TestReturns)
#include "tst_returns.moc"
