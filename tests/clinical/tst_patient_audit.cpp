// Saving a patient record through the screens leaves sealed audit rows naming the
// logged-in user, with the changed values old beside new.
#include "ClinicalFixture.h"
#include "TestHelpers.h"
#include "core/db/AuditChain.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include <QPushButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

class TestPatientAudit : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void newAndEditedPatientAreInTheTrail() {
        PatientsApp a;
        a.openList();
        QVERIFY(a.withRecord(0, [&](TfrmPaciente_Manut* r) {
            typeAtCaret(r->DBEditNome, QStringLiteral("MARIA DA SILVA"));
            r->DBLookupConvenio->setKeyValue(1);
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
            typeAtCaret(r->DBEditProfissao, QStringLiteral("dentista"));
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
        }));
        const qint64 id = a.count(QStringLiteral("select max(paciente_id) from paciente"));
        Connection& db = *dm().ADOConexao();
        auto c = db.query(
            QStringLiteral("select auditoria_acao, auditoria_usuario, auditoria_antes, "
                           "auditoria_depois, auditoria_hash from auditoria where auditoria_tabela = "
                           "'paciente' and auditoria_paciente = :id order by auditoria_id"),
            {{QStringLiteral("id"), ParamType::Integer, id}});
        QStringList actions;
        QString lastBefore, lastAfter;
        while (c->next()) {
            actions << QString::fromUtf8(c->utf8(0));
            QCOMPARE(QString::fromUtf8(c->utf8(1)), QStringLiteral("admin"));
            QVERIFY(!c->isNull(4));
            lastBefore = c->isNull(2) ? QString() : QString::fromUtf8(c->utf8(2));
            lastAfter = QString::fromUtf8(c->utf8(3));
        }
        QCOMPARE(actions.first(), QStringLiteral("I"));
        QCOMPARE(actions.last(), QStringLiteral("U"));
        QCOMPARE(lastBefore, QStringLiteral("{\"paciente_profissao\":null}"));
        QCOMPARE(lastAfter, QStringLiteral("{\"paciente_profissao\":\"Dentista\"}"));
        // The anamnesis generated with the first save is in the trail too.
        QVERIFY(a.count(QStringLiteral("select count(*) from auditoria where auditoria_tabela = "
                                       "'anamnese_paciente' and auditoria_paciente = :id"),
                        PatientsApp::id(id)) > 3);
        QCOMPARE(checkAuditChain(db).brokenRow, 0);
    }
};

QTEST_MAIN(TestPatientAudit)
#include "tst_patient_audit.moc"
