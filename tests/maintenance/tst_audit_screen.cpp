// The audit trail's screen: a patient's edit found by the table filter with its
// values old beside new, and the chain check before and after a row is changed by
// hand.
#include "../clinical/ClinicalFixture.h"
#include "TestHelpers.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "maintenance/MaintenanceScreens.h"
#include "maintenance/U_frmAuditoria.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

LoggedIn::Options auditOptions() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) {
        registerClinicalScreens(r);
        registerMaintenanceScreens(r);
    };
    return o;
}

// The changes grid as "column|before|after" lines.
QStringList changes(const TfrmAuditoria* s) {
    QStringList lines;
    for (int r = 0; r < s->gridAlteracoes->rowCount(); ++r)
        lines << s->gridAlteracoes->item(r, 0)->text() + QLatin1Char('|') +
                     s->gridAlteracoes->item(r, 1)->text() + QLatin1Char('|') +
                     s->gridAlteracoes->item(r, 2)->text();
    return lines;
}

} // namespace

class TestAuditScreen : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }

    void findsTheEditAndChecksTheChain() {
        LoggedIn& app = sharedApp(QStringLiteral("audit"), auditOptions);
        PatientsApp a(app);
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

        app.opener().open(QStringLiteral("frmAuditoria"));
        auto* s = qobject_cast<TfrmAuditoria*>(app.opener().openScreen(QStringLiteral("frmAuditoria")));
        QVERIFY2(s, qPrintable(a.dialogs().texts().join(QLatin1Char('\n'))));
        QVERIFY(!s->btnNovo->isEnabled() && !s->btnEditar->isEnabled() && !s->btnExcluir->isEnabled());
        const QDate today = QDate::currentDate();
        s->wwDataI->setDate(today.addDays(-1));
        s->wwDataF->setDate(today.addDays(1));
        const int paciente = s->cbTabela->findText(QStringLiteral("paciente"));
        QVERIFY(paciente > 0);
        s->cbTabela->setCurrentIndex(paciente);
        s->btnAplicar->click();
        QVERIFY(s->SQL_Consulta->recordCount() >= 2);
        for (const QString& t : fieldValues(s->SQL_Consulta, QStringLiteral("auditoria_tabela")))
            QCOMPARE(t, QStringLiteral("paciente"));

        // Newest first: the profession's edit.
        s->SQL_Consulta->first();
        QCOMPARE(s->SQL_Consulta->fieldByName(QStringLiteral("auditoria_acao"))->asString(),
                 QStringLiteral("U"));
        QCOMPARE(changes(s), QStringList{QStringLiteral("paciente_profissao|(nulo)|Dentista")});

        // The patient filter by name and by id; a name no one has gives nothing.
        for (const QString& text : {QStringLiteral("maria da"), QString::number(id)}) {
            s->edPaciente->setText(text);
            s->btnAplicar->click();
            QVERIFY2(s->SQL_Consulta->recordCount() >= 2, qPrintable(text));
        }
        s->edPaciente->setText(QStringLiteral("x' or '1'='1"));
        s->btnAplicar->click();
        QCOMPARE(s->SQL_Consulta->recordCount(), 0);
        QCOMPARE(s->gridAlteracoes->rowCount(), 0);
        s->edPaciente->clear();
        s->btnAplicar->click();
        const int admin = s->cbUsuario->findText(QStringLiteral("admin"));
        QVERIFY(admin > 0);
        s->cbUsuario->setCurrentIndex(admin);
        s->btnAplicar->click();
        QVERIFY(s->SQL_Consulta->recordCount() >= 2);
        for (const QString& u : fieldValues(s->SQL_Consulta, QStringLiteral("auditoria_usuario")))
            QCOMPARE(u, QStringLiteral("admin"));

        a.dialogs().clearMessages();
        s->btnVerificar->click();
        QVERIFY2(a.dialogs().lastText().startsWith(QStringLiteral("Trilha íntegra (")),
                 qPrintable(a.dialogs().lastText()));

        // Changed by hand: the check names the row and the grid goes to it.
        const qint64 first =
            a.count(QStringLiteral("select min(auditoria_id) from auditoria where "
                                   "auditoria_tabela = 'paciente' and auditoria_paciente = :id"),
                    PatientsApp::id(id));
        dm().ADOConexao()->execute(
            QStringLiteral("update auditoria set auditoria_usuario = 'intruso' where auditoria_id = :id"),
            {{QStringLiteral("id"), ParamType::Integer, first}});
        s->btnVerificar->click();
        QCOMPARE(
            a.dialogs().lastText(),
            QStringLiteral("A trilha está quebrada no registro %1: alterado, ou fora de ordem depois de uma "
                           "exclusão.")
                .arg(first));
        QCOMPARE(s->SQL_Consulta->fieldByName(QStringLiteral("auditoria_id"))->asVariant().toLongLong(),
                 first);
        s->close();
    }

    // Every text of the shipped English and Spanish files reaches the screen.
    void languageFilesReachTheScreen() {
        LoggedIn& app = sharedApp(QStringLiteral("audit"), auditOptions);
        for (const QString& code : {QStringLiteral("en"), QStringLiteral("es")}) {
            session().setLanguage(code);
            app.opener().open(QStringLiteral("frmAuditoria"));
            QWidget* s = app.opener().openScreen(QStringLiteral("frmAuditoria"));
            QVERIFY(s);
            const QStringList problems = languageProblems(s, languageFile(app, code, s->objectName()));
            QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
            s->close();
        }
        session().setLanguage(QString());
    }
};

QTEST_MAIN(TestAuditScreen)
#include "tst_audit_screen.moc"
