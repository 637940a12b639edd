#include "AgendaFixture.h"
#include "clinical/U_frmConfirmacao.h"
#include "clinical/WhatsAppLink.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBGrid.h"
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

const QDate kTuesday = kMonday.addDays(1); // the screen's day: tomorrow by the clock

// Three patients booked for Tuesday (one with no mobile, one with a landline in the
// mobile box) and one for another day, which the screen must not show.
struct Day {
    qint64 ana = 0, bruno = 0;
    qint64 maria = 0, jose = 0, pedro = 0, lucas = 0;
    qint64 mariaVisit = 0;

    explicit Day(AgendaApp& a) {
        ana = a.addDentist(QStringLiteral("ANA LIMA"), {});
        bruno = a.addDentist(QStringLiteral("BRUNO COSTA"), {});
        maria = a.addPatient(QStringLiteral("MARIA SILVA"), QStringLiteral("(12) 99876-5432"));
        // As the patient record's phone box stores it.
        jose = a.addPatient(QStringLiteral("JOSE SANTOS"), QStringLiteral("41(011)91234-5678"));
        pedro = a.addPatient(QStringLiteral("PEDRO ALVES"), QString());
        lucas = a.addPatient(QStringLiteral("LUCAS MOURA"), QStringLiteral("(12) 3456-7890"));
        mariaVisit = a.book(ana, maria, kTuesday, QStringLiteral("08:00"));
        a.book(bruno, jose, kTuesday, QStringLiteral("08:30"));
        a.book(ana, pedro, kTuesday, QStringLiteral("09:00"));
        a.book(ana, lucas, kTuesday, QStringLiteral("09:30"));
        a.book(ana, jose, kMonday, QStringLiteral("10:00"));
        a.nameClinic(QStringLiteral("CLINICA SORRISO"));
    }
};

bool withConfirmations(AgendaApp& a, const std::function<void(TfrmConfirmacao*)>& work) {
    const bool shown =
        inModal<TfrmConfirmacao>([&a] { a.app.opener().open(QStringLiteral("frmConfirmacao")); }, work);
    if (!shown) qWarning() << "the screen did not open; messages:" << a.dialogs().texts();
    return shown;
}

QString message(const QString& patient, const QString& dentist, const QString& hour) {
    return QStringLiteral("Olá %1, confirmamos sua consulta com %2 em 17/03/2026 às %3. Responda SIM para "
                          "confirmar ou NÃO para desmarcar. CLINICA SORRISO")
        .arg(patient, dentist, hour);
}

} // namespace

// Confirming tomorrow's appointments with the patients, by hand, over WhatsApp.
class TestConfirmations : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void linksCarryTheMessageAndFlaggedRowsAreRefused() {
        AgendaApp a;
        Day day(a);
        const QStringList& opened = a.app.s.shell.opened();
        const qsizetype before = opened.size();
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            QCOMPARE(s->edtDia->date(), kTuesday);
            QCOMPARE(s->cbDentista->currentText(), QStringLiteral("Todos"));
            QCOMPARE(fieldValues(s->SQL_Confirmacao, QStringLiteral("paciente_nome")),
                     (QStringList{"MARIA SILVA", "JOSE SANTOS", "PEDRO ALVES", "LUCAS MOURA"}));
            QCOMPARE(fieldValues(s->SQL_Confirmacao, QStringLiteral("whatsapp")),
                     (QStringList{"5512998765432", "5511912345678", "Celular ausente", "Celular inválido"}));
            QCOMPARE(fieldValues(s->SQL_Confirmacao, QStringLiteral("paciente_celular")).value(0),
                     QStringLiteral("(12) 99876-5432")); // as stored

            for (const QString& name : {"MARIA SILVA", "JOSE SANTOS", "PEDRO ALVES", "LUCAS MOURA"}) {
                QVERIFY(s->SQL_Confirmacao->locate(QStringLiteral("paciente_nome"), name));
                s->btnWhatsApp->click();
            }
            QCOMPARE(opened.mid(before),
                     (QStringList{whatsAppLink(QStringLiteral("5512998765432"),
                                               message("MARIA SILVA", "ANA LIMA", "08:00")),
                                  whatsAppLink(QStringLiteral("5511912345678"),
                                               message("JOSE SANTOS", "BRUNO COSTA", "08:30"))}));
            const QStringList warnings = a.dialogs().texts(ScriptedDialogs::Kind::Warning);
            QCOMPARE(warnings.size(), 2);
            QVERIFY(warnings[0].contains(QStringLiteral("PEDRO ALVES")));
            QVERIFY(warnings[1].contains(QStringLiteral("(12) 3456-7890")));

            // One dentist's day.
            s->cbDentista->setCurrentText(QStringLiteral("BRUNO COSTA"));
            s->btnAtualizar->click();
            QCOMPARE(fieldValues(s->SQL_Confirmacao, QStringLiteral("paciente_nome")),
                     QStringList{"JOSE SANTOS"});
            QCOMPARE(s->lblTotal->text(), QStringLiteral("1"));
        }));
    }

    void theAnswerIsNotedAndShownInTheAgenda() {
        AgendaApp a;
        Day day(a);
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            QVERIFY(
                s->SQL_Confirmacao->locate(QStringLiteral("paciente_nome"), QStringLiteral("MARIA SILVA")));
            s->btnDesmarcada->click();
            s->btnConfirmada->click(); // the later answer holds
            QVERIFY(
                s->SQL_Confirmacao->locate(QStringLiteral("paciente_nome"), QStringLiteral("PEDRO ALVES")));
            s->btnSemResposta->click();
            QCOMPARE(fieldValues(s->SQL_Confirmacao, QStringLiteral("confirmacao")),
                     (QStringList{"Confirmada", "", "Sem resposta", ""}));
            // The cursor stays on the row answered.
            QCOMPARE(s->SQL_Confirmacao->fieldByName(QStringLiteral("paciente_nome"))->asString(),
                     QStringLiteral("PEDRO ALVES"));
        }));
        QCOMPARE(scalar(a.db(),
                        QStringLiteral("select agenda_confirmacao_usuario from agenda where agenda_id = %1")
                            .arg(day.mariaVisit))
                     .toString(),
                 QStringLiteral("admin"));
        QVERIFY(
            !scalar(a.db(), QStringLiteral("select agenda_confirmacao_data from agenda where agenda_id = %1")
                                .arg(day.mariaVisit))
                 .isNull());
        // The audit trail has each answer, old beside new.
        const QString audited = QStringLiteral(
            "select %1 from auditoria where auditoria_tabela = 'agenda' and auditoria_acao = 'U' and "
            "auditoria_chave = '%2' order by auditoria_id desc");
        QCOMPARE(
            scalar(a.db(), audited.arg(QStringLiteral("auditoria_antes")).arg(day.mariaVisit)).toString(),
            QStringLiteral("{\"agenda_confirmacao\":\"D\"}"));
        QCOMPARE(
            scalar(a.db(), audited.arg(QStringLiteral("auditoria_depois")).arg(day.mariaVisit)).toString(),
            QStringLiteral("{\"agenda_confirmacao\":\"C\"}"));

        QVERIFY(a.withAgenda([&](TfrmAgenda_Consulta* s) {
            s->edtDataInicial->setDate(kTuesday);
            s->edtDataFinal->setDate(kTuesday);
            s->SpeedButton2->click();
            QCOMPARE(fieldValues(s->SQL_Agenda, QStringLiteral("confirmacao")),
                     (QStringList{"Confirmada", "Sem resposta", ""}));
        }));
    }

    void theEditedMessageIsKeptAndUsed() {
        AgendaApp a;
        Day day(a);
        const QStringList& opened = a.app.s.shell.opened();
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            // An empty text is refused and the stored one stays.
            s->memModelo->setPlainText(QStringLiteral("   "));
            s->btnSalvarModelo->click();
            QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Warning).value(0),
                     QStringLiteral("Digite o texto da mensagem antes de salvar."));
            s->memModelo->setPlainText(QStringLiteral("Oi {nome}! Até {data} às {hora}, {dentista}. {nada}"));
            s->btnSalvarModelo->click();
        }));
        QCOMPARE(
            scalar(a.db(), QStringLiteral("select mensagem_texto from mensagem_modelo where mensagem_nome = "
                                          "'confirmacao'"))
                .toString(),
            QStringLiteral("Oi {nome}! Até {data} às {hora}, {dentista}. {nada}"));
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            QVERIFY(
                s->SQL_Confirmacao->locate(QStringLiteral("paciente_nome"), QStringLiteral("MARIA SILVA")));
            s->btnWhatsApp->click();
        }));
        QCOMPARE(opened.last(),
                 whatsAppLink(QStringLiteral("5512998765432"),
                              QStringLiteral("Oi MARIA SILVA! Até 17/03/2026 às 08:00, ANA LIMA. {nada}")));
    }

    // Closing with the message changed asks whether to keep it; No closes and keeps
    // the stored text.
    void aChangedMessageIsOfferedOnClose() {
        AgendaApp a;
        Day day(a);
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            s->memModelo->setPlainText(QStringLiteral("Oi {nome}"));
            a.dialogs().queueQuestion(DialogService::Answer::No);
            QTest::keyClick(s, Qt::Key_Escape);
            QVERIFY(!s->isVisible());
        }));
        QCOMPARE(a.dialogs().texts(ScriptedDialogs::Kind::Question),
                 QStringList{"A mensagem foi alterada. Deseja salvá-la?"});
        QVERIFY(
            scalar(a.db(), QStringLiteral("select mensagem_texto from mensagem_modelo where mensagem_nome = "
                                          "'confirmacao'"))
                .toString()
                .startsWith(QStringLiteral("Olá {nome}")));
        DV_VERIFY_DIALOGS(a.dialogs());
    }

    // A group without the edit right uses the message as the clinic left it.
    void withoutTheEditRightTheMessageIsReadOnly() {
        AgendaApp a;
        a.exec(QStringLiteral(
            "update grupo_permissao set form_editar = 'N' where form_nome = 'frmConfirmacao'"));
        LoggedIn::reopen(dm().SQL_GrupoPermissao);
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            QVERIFY(s->memModelo->isReadOnly());
            QVERIFY(!s->btnSalvarModelo->isEnabled());
            QVERIFY(s->btnConfirmada->isEnabled());
        }));
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
        QVERIFY(withConfirmations(a, [&](TfrmConfirmacao* s) {
            QCOMPARE(languageProblems(s, languageFile(a.app, code, s->objectName())), QStringList());
        }));
    }
};

QTEST_MAIN(TestConfirmations)
#include "tst_confirmations.moc"
