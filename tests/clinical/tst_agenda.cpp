#include "AgendaFixture.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/MonthCalendar.h"
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {
const QStringList kHours = {"08:00", "08:30", "09:00"};
} // namespace

// The appointment agenda, driven as a receptionist would.
class TestAgenda : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void bookingTakesTheSlotAndDeletingFreesIt() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QCOMPARE(s->windowTitle(), QStringLiteral("Agenda de Horários"));
            QCOMPARE(s->DBLC_Dentista->text(), QStringLiteral("ANA LIMA"));
            QCOMPARE(s->edtDataInicial->date(), kMonday);
            QCOMPARE(hours(s->SQL_Horario), kHours);
            QCOMPARE(s->lblTotal->text(), QStringLiteral("0"));

            s->SQL_Horario->locate(QStringLiteral("hora_id"), QStringLiteral("08:30"));
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                QCOMPARE(m->SQL_Update->fieldByName("hora_id")->asString(), QStringLiteral("08:30"));
                QCOMPARE(m->edtDentista->text(), QStringLiteral("ANA LIMA"));
                m->wwDBLookupCombo1->setKeyValue(joao);
                m->BitBtn1->click();
                QVERIFY(!m->isVisible());
            }));
            QCOMPARE(hours(s->SQL_Horario), (QStringList{"08:00", "09:00"}));
            QCOMPARE(hours(s->SQL_Agenda), QStringList{"08:30"});
            QCOMPARE(s->lblTotal->text(), QStringLiteral("1"));
            QVERIFY(s->isEnabled());

            a.dialogs().queueConfirmation(true);
            s->SpeedButton3->click();
            QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Confirmation).value(0),
                     QStringLiteral("Deja realmente excluir o horário agendado de 08:30?"));
            QCOMPARE(hours(s->SQL_Horario), kHours);
            QCOMPARE(s->lblTotal->text(), QStringLiteral("0"));
        }));
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda")), 0);
        Q_UNUSED(ana);
    }

    // Opened to book for a patient: the dentist asked for while still active (else
    // the first), the patient named above the lists.
    void bookingForAPatientStartsOnTheirDentist_data() {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("shown");
        QTest::newRow("active dentist") << QStringLiteral("S") << QStringLiteral("BRUNO COSTA");
        QTest::newRow("inactive dentist") << QStringLiteral("N") << QStringLiteral("ANA LIMA");
    }
    void bookingForAPatientStartsOnTheirDentist() {
        QFETCH(QString, active);
        QFETCH(QString, shown);
        AgendaApp a;
        a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 bruno = a.addDentist(QStringLiteral("BRUNO COSTA"), kHours, active);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        QVERIFY(inModal<TfrmAgenda_Consulta>(
            [&] {
                a.app.opener().open(
                    QStringLiteral("frmAgenda_Consulta"),
                    {{QStringLiteral("paciente_id"), joao}, {QStringLiteral("dentista_id"), bruno}});
            },
            [&](TfrmAgenda_Consulta* s) {
                QCOMPARE(s->DBLC_Dentista->text(), shown);
                QCOMPARE(s->lblAgendandoPaciente->text(), QStringLiteral("JOAO SOUZA"));
                QVERIFY(!s->lblAgendando->isHidden());
                QCOMPARE(s->bookingPatient().toLongLong(), joao);
            }));
        QVERIFY(a.withAgenda([](TfrmAgenda_Consulta* s) {
            QVERIFY(s->lblAgendando->isHidden()); // the plain agenda books for whoever is chosen
            QVERIFY(s->bookingPatient().isNull());
        }));
    }

    void appointmentDaysAreStoredWithoutTime() {
        AgendaApp a;
        a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                m->wwDBLookupCombo1->setKeyValue(joao);
                m->BitBtn1->click();
            }));
        }));
        QCOMPARE(scalar(a.db(), QStringLiteral("select agenda_data_consulta from agenda")).toString(),
                 QStringLiteral("2026-03-16 00:00:00"));
    }

    // The free-slot list was read before another workstation booked 08:00: saving is
    // refused with a message and nothing more is stored; the database itself refuses
    // a second row for the slot.
    void aSlotBookedMeanwhileIsRefused() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        const qint64 maria = a.addPatient(QStringLiteral("MARIA ROCHA"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QCOMPARE(hours(s->SQL_Horario).value(0), QStringLiteral("08:00"));
            {
                auto other = Connection::open(a.app.folder.connectionString(), QStringLiteral("/"));
                other->execute(
                    QStringLiteral("insert into agenda (paciente_id, dentista_id, agenda_data_cadastro, "
                                   "agenda_data_consulta, hora_id) values (:p, :d, :c, :c, '08:00')"),
                    {AgendaApp::p("p", maria), AgendaApp::p("d", ana), AgendaApp::p("c", kMonday)});
            }
            s->SQL_Horario->first();
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                m->wwDBLookupCombo1->setKeyValue(joao);
                m->BitBtn1->click();
                QVERIFY(m->isVisible()); // the row is kept for the user to close
                QVERIFY(m->SQL_Update->isEditing());
                m->BitBtn2->click();
            }));
            QVERIFY(a.dialogs()
                        .texts(ScriptedDialogs::Kind::Warning)
                        .value(0)
                        .startsWith(QStringLiteral("O horário 08:00 do dia 16/03/2026 já está agendado")));
            QCOMPARE(hours(s->SQL_Agenda), QStringList{"08:00"});
            QCOMPARE(hours(s->SQL_Horario), (QStringList{"08:30", "09:00"}));
        }));
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda")), 1);
        QCOMPARE(a.count(QStringLiteral("select paciente_id from agenda")), int(maria));
        try {
            a.book(ana, joao, kMonday, QStringLiteral("08:00"));
            QFAIL("a second appointment in one slot was stored");
        } catch (const DatabaseError& e) {
            QVERIFY(e.message().contains(QStringLiteral("Key violation")));
        }
    }

    // Another day typed without refreshing, or an hour the dentist no longer works:
    // the appointment is never stored on a slot of the wrong day.
    void staleFreeSlotsAreNeverBooked() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            s->edtDataInicial->setDate(kMonday.addDays(1)); // Tuesday: no hours
            s->SpeedButton1->click();
            QVERIFY(a.dialogs()
                        .texts(ScriptedDialogs::Kind::Information)
                        .value(0)
                        .startsWith(QStringLiteral(
                            "A lista de horários disponíveis foi atualizada para o dia 17/03/2026")));
            QVERIFY(hours(s->SQL_Horario).isEmpty());
            s->SpeedButton1->click();
            QVERIFY(a.dialogs()
                        .texts(ScriptedDialogs::Kind::Information)
                        .value(1)
                        .startsWith(QStringLiteral("Não existe horário disponível para o dia selecionado!")));

            s->edtDataInicial->setDate(kMonday);
            s->SpeedButton2->click();
            a.exec(QStringLiteral("delete from horario where hora_id = '08:00'"));
            s->SQL_Horario->first();
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                m->wwDBLookupCombo1->setKeyValue(joao);
                m->BitBtn1->click();
                m->BitBtn2->click();
            }));
            QVERIFY(a.dialogs()
                        .texts(ScriptedDialogs::Kind::Warning)
                        .value(0)
                        .contains(QStringLiteral("não é um horário de atendimento")));
        }));
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda")), 0);
        Q_UNUSED(ana);
    }

    void saveWithoutPatientKeepsTheFormOpen() {
        AgendaApp a;
        a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                m->BitBtn1->click();
                QVERIFY(m->isVisible());
            }));
        }));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Warning),
                 QStringList{QStringLiteral("O campo \"Paciente\" é de preenchimento obrigatório!")});
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda")), 0);
    }

    void changeAndDeleteOnAnEmptyGridDoNothing() {
        AgendaApp a;
        a.addDentist(QStringLiteral("ANA LIMA"), {});
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            s->SpeedButton1->click();
            s->btnAlterar->click();
            a.dialogs().queueConfirmation(true);
            s->SpeedButton3->click();
        }));
        QCOMPARE(
            a.dialogs().texts(),
            (QStringList{QStringLiteral("Não existe horário disponível para o dia selecionado! Verifique no "
                                        "cadastro do dentista os horários definidos para este dentista!"),
                         QStringLiteral("Selecione o registro a ser alterado!"),
                         QStringLiteral("Deja realmente excluir o horário agendado de ?")}));
    }

    void changingAnAppointmentKeepsItsSlot() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        const qint64 maria = a.addPatient(QStringLiteral("MARIA ROCHA"));
        a.book(ana, joao, kMonday, QStringLiteral("09:00"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QVERIFY(AgendaApp::withAppointment(s->btnAlterar, [&](TfrmAgenda_Manut* m) {
                m->wwDBLookupCombo1->setKeyValue(maria);
                m->BitBtn1->click();
                QVERIFY(!m->isVisible());
            }));
            QCOMPARE(fieldValues(s->SQL_Agenda, QStringLiteral("paciente_nome")), QStringList{"MARIA ROCHA"});
        }));
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda where hora_id = '09:00'")), 1);
    }

    void changingAnAppointmentDeletedElsewhere() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        a.book(ana, joao, kMonday, QStringLiteral("09:00"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            a.exec(QStringLiteral("delete from agenda"));
            s->btnAlterar->click(); // the form closes itself after its message
            QVERIFY(s->SQL_Agenda->isEmpty());
            QCOMPARE(hours(s->SQL_Horario), kHours);
        }));
        QVERIFY(a.dialogs()
                    .texts(ScriptedDialogs::Kind::Information)
                    .value(0)
                    .startsWith(QStringLiteral("Este agendamento não existe mais")));
        QCOMPARE(a.count(QStringLiteral("select count(*) from agenda")), 0);
    }

    // Range, other dentist, past hours in red, export.
    void periodDentistColoursAndExport() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 bia = a.addDentist(QStringLiteral("BIA COSTA"), {QStringLiteral("14:00")});
        const qint64 joao = a.addPatient(QStringLiteral("JOAO SOUZA"));
        a.book(ana, joao, kMonday, QStringLiteral("08:00"));
        a.book(ana, joao, kMonday, QStringLiteral("09:30"));
        a.book(ana, joao, kMonday.addDays(1), QStringLiteral("08:00"));
        a.book(ana, joao, kMonday.addDays(7), QStringLiteral("08:00"));
        a.book(bia, joao, kMonday, QStringLiteral("14:00"));
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QCOMPARE(s->lblTotal->text(), QStringLiteral("2"));
            auto red = [s](int row) {
                const QModelIndex i = s->wwDBGrid1->model()->index(row, 0);
                return s->wwDBGrid1->model()->data(i, Qt::BackgroundRole).value<QBrush>().color() == Qt::red;
            };
            QVERIFY(red(0));  // 08:00 today, it is 09:30
            QVERIFY(!red(1)); // 09:30 is not past yet

            s->wwData->setSelection(kMonday, kMonday.addDays(2));
            emit s->wwData->rangeSelected(kMonday, kMonday.addDays(2));
            QCOMPARE(s->edtDataFinal->date(), kMonday.addDays(2));
            QCOMPARE(s->lblTotal->text(), QStringLiteral("3"));
            QVERIFY(!red(2));                                                 // tomorrow
            QCOMPARE(hours(s->SQL_Horario), (QStringList{"08:30", "09:00"})); // the first day's

            s->edtDataFinal->setDate(kMonday.addDays(-1));
            s->SpeedButton2->click();
            QCOMPARE(s->lblTotal->text(), QStringLiteral("0"));
            s->edtDataFinal->setDate(kMonday);
            s->SpeedButton2->click();

            s->DBLC_Dentista->setText(QStringLiteral("BIA COSTA"));
            emit s->DBLC_Dentista->changed();
            QCOMPARE(hours(s->SQL_Agenda), QStringList{"14:00"});
            QVERIFY(hours(s->SQL_Horario).isEmpty());
            QCOMPARE(s->edtDataInicial->date(), kMonday);

            s->BitBtn2->click();
            s->BitBtn2->click();
        }));
        QCOMPARE(a.app.s.shell.opened().size(), 2);
        QFile f(a.app.folder.path() + QStringLiteral("RelatGrid.xls"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(f.readAll());
        QVERIFY(page.contains(QStringLiteral("Agenda do período 16/03/2026 à 16/03/2026")));
        QVERIFY(page.contains(QStringLiteral("Dentista: BIA COSTA")));
    }

    void agendaByPatientFromADayOnward() {
        AgendaApp a;
        const qint64 ana = a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        const qint64 old = a.addDentist(QStringLiteral("CARLOS REIS"), {}, QStringLiteral("N"));
        const qint64 joao = a.addPatient(QStringLiteral("AAA JOAO"));
        a.book(ana, joao, kMonday.addDays(-7), QStringLiteral("08:00"));
        a.book(ana, joao, kMonday, QStringLiteral("08:30"));
        a.book(old, joao, kMonday.addDays(400), QStringLiteral("10:00"));
        auto* screen = a.app.opener().registry().create(QStringLiteral("frmAgenda_Paciente"), nullptr);
        auto* s = qobject_cast<TfrmAgenda_Paciente*>(screen);
        QVERIFY(s);
        QCOMPARE(s->DBLC_Paciente->text(), QStringLiteral("AAA JOAO"));
        QCOMPARE(hours(s->SQL_Agenda), (QStringList{"08:30", "10:00"}));
        QCOMPARE(fieldValues(s->SQL_Agenda, QStringLiteral("lk_Dentista")), (QStringList{"ANA LIMA", ""}));
        s->edtDataInicial->setDate(kMonday.addDays(-30));
        QCOMPARE(s->SQL_Agenda->recordCount(), 2); // only the refresh button reloads
        s->btnAtualizar->click();
        QCOMPARE(s->SQL_Agenda->recordCount(), 3);
        delete s;
    }

    // Every text of the shipped English and Spanish files reaches the screens.
    void languageFilesReachTheScreens_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("es") << QStringLiteral("es");
    }
    void languageFilesReachTheScreens() {
        QFETCH(QString, code);
        AgendaApp a;
        a.addDentist(QStringLiteral("ANA LIMA"), kHours);
        session().setLanguage(code);
        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            QCOMPARE(languageProblems(s, languageFile(a.app, code, s->objectName())), QStringList());
            QVERIFY(AgendaApp::withAppointment(s->SpeedButton1, [&](TfrmAgenda_Manut* m) {
                QCOMPARE(languageProblems(m, languageFile(a.app, code, m->objectName())), QStringList());
            }));
        }));
        std::unique_ptr<QWidget> byPatient(
            a.app.opener().registry().create(QStringLiteral("frmAgenda_Paciente"), nullptr));
        byPatient->show();
        QCOMPARE(languageProblems(byPatient.get(),
                                  languageFile(a.app, code, QStringLiteral("frmAgenda_Paciente"))),
                 QStringList());
    }
};

QTEST_MAIN(TestAgenda)
#include "tst_agenda.moc"
