// The patient's data rights: consent kept on the record and respected by the
// messages, the export of one patient's data, and anonymisation past the retention
// period with the audit chain still verifiable. Runs on both engines.
#include "../reporting/ReportFixture.h"
#include "ClinicalFixture.h"
#include "TempDb.h"
#include "TestHelpers.h"
#include "clinical/PacienteManutConsent.h"
#include "clinical/PatientAnonymiser.h"
#include "clinical/PatientConsent.h"
#include "clinical/PatientDataExport.h"
#include "clinical/PatientMessages.h"
#include "clinical/U_frmAnonimizacao.h"
#include "core/db/AuditChain.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBGrid.h"
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace dv;
using namespace dv::test;

class TestPatientRights : public QObject {
    Q_OBJECT

    std::unique_ptr<InstallDbCopy> m_copy;
    std::unique_ptr<LoggedIn> m_app;

    PatientsApp start() {
        m_copy = std::make_unique<InstallDbCopy>();
        LoggedIn::Options o = clinicalOptions();
        o.folder.database =
            m_copy->connectionString().section(QStringLiteral("Data Source="), 1).section(';', 0, 0);
        m_app = std::make_unique<LoggedIn>(o);
        return PatientsApp(*m_app);
    }

    // A patient with something in every table that can hold a row about them.
    struct Everything {
        qint64 patient, consultation, item, installment, photo, appointment, document;
    };
    Everything addEverything(PatientsApp& a, const QString& name, const QString& cpf, QDate lastVisit) {
        Everything e;
        e.patient =
            a.addPatient(name, {{QStringLiteral("paciente_cpf"), cpf},
                                {QStringLiteral("paciente_rg"), QStringLiteral("RG ") + cpf},
                                {QStringLiteral("paciente_celular"), QStringLiteral("(11) 98765-4321")},
                                {QStringLiteral("paciente_endereco"), QStringLiteral("Rua de ") + name},
                                {QStringLiteral("paciente_data_cadastro"), QDate(1999, 5, 1)}});
        e.consultation = a.addConsultation(e.patient);
        a.app.db().execute(
            QStringLiteral("update consulta set consulta_data = :d, consulta_valor = :v "
                           "where consulta_id = :id"),
            {{QStringLiteral("d"), ParamType::DateTime, QDateTime(lastVisit, QTime(0, 0))},
             {QStringLiteral("v"), ParamType::Currency, QVariant::fromValue(Currency::fromRaw(12345000))},
             {QStringLiteral("id"), ParamType::Integer, e.consultation}});
        e.item = a.addItem(e.consultation, QStringLiteral("Restauração em resina"), QStringLiteral("S"));
        e.installment = a.addInstallment(e.consultation, e.patient, 1, QStringLiteral("N"));
        e.photo = a.insert(QStringLiteral("foto"),
                           {{QStringLiteral("paciente_id"), e.patient},
                            {QStringLiteral("foto_titulo"), QStringLiteral("Sorriso de ") + name},
                            {QStringLiteral("foto_data"), QDate(2001, 1, 2)},
                            {QStringLiteral("foto_img"), QByteArray("\xff\xd8 jpeg of ") + name.toUtf8()}},
                           QStringLiteral("foto_id"));
        e.appointment = a.insert(QStringLiteral("agenda"),
                                 {{QStringLiteral("paciente_id"), e.patient},
                                  {QStringLiteral("dentista_id"), 1},
                                  {QStringLiteral("agenda_data_consulta"), lastVisit},
                                  {QStringLiteral("hora_id"), QStringLiteral("08:00")},
                                  {QStringLiteral("agenda_observacao"), QStringLiteral("Avisar ") + name}},
                                 QStringLiteral("agenda_id"));
        e.document = a.insert(QStringLiteral("documento"),
                              {{QStringLiteral("consulta_id"), e.consultation},
                               {QStringLiteral("paciente_id"), e.patient},
                               {QStringLiteral("doc_nome"), QStringLiteral("Atestado")},
                               {QStringLiteral("doc_texto"), QStringLiteral("Atesto que ") + name}},
                              QStringLiteral("doc_id"));
        consent::record(a.app.db(), e.patient, consent::Kind::Photos, true);
        return e;
    }

    static QCheckBox* whatsAppBox(QWidget* r) {
        return r->findChild<QCheckBox*>(QStringLiteral("chkConsentimentoWhatsApp"));
    }

private slots:
    void initTestCase() { DV_REQUIRE_SERVER_IF_ASKED(); }
    void cleanup() {
        m_app.reset();
        m_copy.reset();
    }

    void consentIsKeptOnTheRecordAndRespectedByMessages() {
        PatientsApp a = start();
        const qint64 id =
            a.addPatient(QStringLiteral("Clara Nunes"),
                         {{QStringLiteral("paciente_celular"), QStringLiteral("(11) 98765-4321")}});
        const QString mobile = QStringLiteral("(11) 98765-4321");
        // Never asked: the messages the clinic already sent go on.
        QVERIFY(messages::whatsAppColumn(id, mobile) != QLatin1String("Sem consentimento"));
        a.openList();

        QVERIFY(a.withRecord(id, [&](TfrmPaciente_Manut* r) {
            QCheckBox* box = whatsAppBox(r);
            QCOMPARE(box->checkState(), Qt::PartiallyChecked);
            QCOMPARE(r->findChild<QLabel*>(QStringLiteral("lblConsentimentoWhatsApp"))->text(),
                     QStringLiteral("Não registrado"));
            QVERIFY(box->focusPolicy() & Qt::TabFocus);
            QTest::mouseClick(box, Qt::LeftButton);
            QCOMPARE(box->checkState(), Qt::Checked);
            QVERIFY(r->BitBtn1->isEnabled());
            a.dialogs().queueConfirmation(true);
            r->BitBtn1->click();
            QCOMPARE(consent::current(a.app.db(), id, consent::Kind::WhatsApp).answer,
                     consent::State::Granted);
            // Withdrawn, then closed with the change pending: the save question keeps it.
            QTest::mouseClick(box, Qt::LeftButton);
            a.dialogs().queueQuestion(DialogService::Answer::Yes);
            r->BitBtn2->click();
        }));
        QCOMPARE(a.texts(QStringLiteral("select consentimento_concedido from paciente_consentimento where "
                                        "paciente_id = :id and consentimento_tipo = 'whatsapp' order by "
                                        "consentimento_id"),
                         PatientsApp::id(id)),
                 QStringList({QStringLiteral("S"), QStringLiteral("N")}));
        QCOMPARE(a.count(QStringLiteral("select count(*) from auditoria where auditoria_tabela = "
                                        "'paciente_consentimento' and auditoria_paciente = :id"),
                         PatientsApp::id(id)),
                 2);

        // A change discarded on closing writes nothing.
        QVERIFY(a.withRecord(id, [&](TfrmPaciente_Manut* r) {
            QCOMPARE(whatsAppBox(r)->checkState(), Qt::Unchecked);
            QVERIFY(r->findChild<QLabel*>(QStringLiteral("lblConsentimentoWhatsApp"))
                        ->text()
                        .startsWith(QStringLiteral("Retirado em ")));
            QTest::mouseClick(whatsAppBox(r), Qt::LeftButton);
            a.dialogs().queueQuestion(DialogService::Answer::No);
            r->BitBtn2->click();
        }));
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from paciente_consentimento where paciente_id = :id"),
                    PatientsApp::id(id)),
            2);

        QCOMPARE(messages::whatsAppColumn(id, mobile), QStringLiteral("Sem consentimento"));
        const int opened = a.app.s.shell.opened().size();
        QVERIFY(!messages::openWhatsApp(id, QStringLiteral("Clara Nunes"), mobile, QStringLiteral("Olá")));
        QCOMPARE(a.app.s.shell.opened().size(), opened);
        QVERIFY(a.dialogs().texts().last().contains(QStringLiteral("não consente")));
        QCOMPARE(checkAuditChain(a.app.db()).brokenRow, 0);
    }

    // The folder dialog of the export speaks the interface language; cancelling it
    // exports nothing.
    void exportFolderDialogInTheInterfaceLanguage() {
        PatientsApp a = start();
        session().setLanguage(QStringLiteral("es"));
        auto back = qScopeGuard([] { session().setLanguage(QStringLiteral("pt_BR")); });
        a.app.s.fileDialogs.queueFolder(QString());
        QVERIFY(!exportPatientDataAsked(1));
        QCOMPARE(a.app.s.fileDialogs.requests().last().request.caption,
                 QStringLiteral("Exportar los datos del paciente"));
    }

    void exportHoldsOnePatientAndNothingOfAnother() {
        PatientsApp a = start();
        const Everything ana = addEverything(a, QStringLiteral("Ana Prado"), QStringLiteral("111.444.777-35"),
                                             QDate(2026, 1, 5));
        const Everything bia = addEverything(a, QStringLiteral("Bia Quintas"),
                                             QStringLiteral("222.555.888-46"), QDate(2026, 1, 6));
        QTemporaryDir out;
        a.app.s.fileDialogs.queueFolder(out.path());
        a.openList();
        QVERIFY(a.withRecord(ana.patient, [&](TfrmPaciente_Manut* r) {
            r->findChild<QPushButton*>(QStringLiteral("btnExportarDados"))->click();
        }));
        const QStringList made = QDir(out.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(made.size(), 1);
        const QString folder = out.filePath(made.first());
        QVERIFY(a.dialogs().texts().last().startsWith(QStringLiteral("Dados do paciente exportados para")));

        QFile jsonFile(folder + QStringLiteral("/dados.json"));
        QVERIFY(jsonFile.open(QIODevice::ReadOnly));
        const QByteArray raw = jsonFile.readAll();
        QJsonParseError error;
        const QJsonObject tables =
            QJsonDocument::fromJson(raw, &error).object().value(QStringLiteral("tabelas")).toObject();
        QCOMPARE(error.error, QJsonParseError::NoError);
        // table, key column, the key of the patient's row
        const QList<std::tuple<QString, QString, qint64>> expected = {
            {QStringLiteral("paciente"), QStringLiteral("paciente_id"), ana.patient},
            {QStringLiteral("consulta"), QStringLiteral("consulta_id"), ana.consultation},
            {QStringLiteral("item_consulta"), QStringLiteral("item_consulta_id"), ana.item},
            {QStringLiteral("parcela"), QStringLiteral("parcela_id"), ana.installment},
            {QStringLiteral("foto"), QStringLiteral("foto_id"), ana.photo},
            {QStringLiteral("agenda"), QStringLiteral("agenda_id"), ana.appointment},
            {QStringLiteral("documento"), QStringLiteral("doc_id"), ana.document},
        };
        for (const auto& [table, key, value] : expected) {
            const QJsonArray rows = tables.value(table).toArray();
            QVERIFY2(rows.size() == 1, qPrintable(table));
            QCOMPARE(rows.first().toObject().value(key).toInteger(), value);
        }
        QVERIFY(tables.value(QStringLiteral("anamnese_paciente")).isArray());
        QCOMPARE(tables.value(QStringLiteral("paciente_consentimento")).toArray().size(), 1);
        QVERIFY(tables.value(QStringLiteral("auditoria")).toArray().size() >= 8);
        for (const QJsonValue& row : tables.value(QStringLiteral("auditoria")).toArray())
            QVERIFY(!row.toObject()
                         .value(QStringLiteral("auditoria_depois"))
                         .toString()
                         .contains(QStringLiteral("Bia")));
        const QJsonObject consultation =
            tables.value(QStringLiteral("consulta")).toArray().first().toObject();
        QCOMPARE(consultation.value(QStringLiteral("consulta_valor")).toString(),
                 QStringLiteral("1234.5000"));
        QCOMPARE(consultation.value(QStringLiteral("consulta_data")).toString(),
                 QStringLiteral("2026-01-05T00:00:00"));
        // Nothing about the other patient, by name, document or key.
        for (const QString& other : {QStringLiteral("Bia"), QStringLiteral("222.555.888-46")})
            QVERIFY2(!QString::fromUtf8(raw).contains(other), qPrintable(other));
        QFile photo(folder + QStringLiteral("/fotos/foto_%1.jpg").arg(ana.photo));
        QVERIFY(photo.open(QIODevice::ReadOnly));
        QCOMPARE(photo.readAll(), QByteArray("\xff\xd8 jpeg of Ana Prado"));
        QCOMPARE(QDir(folder + QStringLiteral("/fotos")).entryList(QDir::Files).size(), 1);

        const QString pdf = ReportFixture::pdfText(folder + QStringLiteral("/resumo.pdf"));
        QVERIFY2(pdf.contains(QStringLiteral("Dados do paciente: Ana Prado")), qPrintable(pdf.left(300)));
        QVERIFY(pdf.contains(QStringLiteral("111.444.777-35")));
        QVERIFY(pdf.contains(QStringLiteral("Restauração em resina")));
        QVERIFY(pdf.contains(QStringLiteral("Atesto que Ana Prado")));
        QVERIFY(pdf.contains(QStringLiteral("1234,50")));
        QVERIFY(!pdf.contains(QStringLiteral("Bia")) && !pdf.contains(QStringLiteral("222.555.888-46")));

        // Who exported whom, in the trail.
        QCOMPARE(a.texts(QStringLiteral("select auditoria_usuario from auditoria where auditoria_tabela = "
                                        "'paciente_exportacao' and auditoria_paciente = :id"),
                         PatientsApp::id(ana.patient)),
                 QStringList(QStringLiteral("admin")));
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente_exportacao where paciente_id = :id"),
                         PatientsApp::id(bia.patient)),
                 0);
    }

    void exportToAFolderThatCannotBeWrittenChangesNothing() {
        PatientsApp a = start();
        const Everything ana = addEverything(a, QStringLiteral("Ana Prado"), QStringLiteral("111.444.777-35"),
                                             QDate(2026, 1, 5));
        QTemporaryDir out;
        // A file where the folder should be: nothing can be made inside it.
        const QString notAFolder = out.filePath(QStringLiteral("arquivo"));
        QFile(notAFolder).open(QIODevice::WriteOnly);
        const int trail = a.count(QStringLiteral("select count(*) from auditoria"));
        a.app.s.fileDialogs.queueFolder(notAFolder);
        QVERIFY(!exportPatientDataAsked(ana.patient));
        QVERIFY(a.dialogs().texts().last().startsWith(QStringLiteral("Não foi possível criar a pasta")));
        QCOMPARE(a.count(QStringLiteral("select count(*) from paciente_exportacao")), 0);
        QCOMPARE(a.count(QStringLiteral("select count(*) from auditoria")), trail);
        QCOMPARE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList(QStringLiteral("arquivo")));
    }

    void anonymisationClearsPersonalDataKeepsHistoryAndTheChain() {
        PatientsApp a = start();
        Connection& db = a.app.db();
        const Everything old = addEverything(a, QStringLiteral("Olga Antiga"),
                                             QStringLiteral("333.666.999-57"), QDate(2000, 3, 1));
        const Everything recent = addEverything(a, QStringLiteral("Rita Recente"),
                                                QStringLiteral("444.777.000-68"), QDate(2026, 1, 5));
        // Changed later, so that the trail holds the old values in sealed rows.
        db.execute(
            QStringLiteral("update paciente set paciente_email = 'olga@exemplo.com' where paciente_id = :id"),
            PatientsApp::id(old.patient));

        QVERIFY(inModal<TfrmAnonimizacao>([&] { a.app.opener().open(QStringLiteral("frmAnonimizacao")); },
                                          [&](TfrmAnonimizacao* s) {
                                              QCOMPARE(s->spnAnos->value(), 20);
                                              QCOMPARE(fieldValues(s->SQL_Anonimizacao,
                                                                   QStringLiteral("paciente_nome")),
                                                       QStringList(QStringLiteral("Olga Antiga")));
                                              s->gridPacientes->selectAll();
                                              a.dialogs().queueConfirmation(true);
                                              s->btnAnonimizar->click();
                                              QCOMPARE(s->SQL_Anonimizacao->recordCount(), 0);
                                          }));

        const Params id = PatientsApp::id(old.patient);
        QCOMPARE(a.texts(QStringLiteral("select paciente_nome from paciente where paciente_id = :id"), id),
                 QStringList(QStringLiteral("PACIENTE ANONIMIZADO %1").arg(old.patient)));
        QCOMPARE(a.count(QStringLiteral(
                             "select count(*) from paciente where paciente_id = :id and (paciente_cpf "
                             "is not null or paciente_rg is not null or paciente_celular is not null or "
                             "paciente_endereco is not null or paciente_email is not null)"),
                         id),
                 0);
        QCOMPARE(a.count(QStringLiteral("select count(*) from foto where paciente_id = :id"), id), 0);
        QCOMPARE(
            a.count(QStringLiteral("select count(*) from documento where paciente_id = :id and doc_texto is "
                                   "not null"),
                    id),
            0);
        // The history stays, tied to the anonymous record.
        for (const QString& table : {QStringLiteral("consulta"), QStringLiteral("parcela"),
                                     QStringLiteral("agenda"), QStringLiteral("documento")})
            QCOMPARE(
                a.count(QStringLiteral("select count(*) from %1 where paciente_id = :id").arg(table), id), 1);
        QCOMPARE(a.count(QStringLiteral("select count(*) from item_consulta where consulta_id = %1")
                             .arg(old.consultation)),
                 1);
        // The other patient is untouched.
        QCOMPARE(a.texts(QStringLiteral("select paciente_cpf from paciente where paciente_id = :id"),
                         PatientsApp::id(recent.patient)),
                 QStringList(QStringLiteral("444.777.000-68")));
        QCOMPARE(a.texts(QStringLiteral("select anonimizado_usuario from paciente_anonimizado")),
                 QStringList(QStringLiteral("admin")));

        // The trail holds none of the old personal values, and still checks.
        for (const QString& gone : {QStringLiteral("Olga"), QStringLiteral("333.666.999-57"),
                                    QStringLiteral("olga@exemplo.com"), QStringLiteral("Sorriso de Olga")})
            QCOMPARE(
                a.count(QStringLiteral("select count(*) from auditoria where auditoria_antes like :v or "
                                       "auditoria_depois like :v"),
                        {{QStringLiteral("v"), ParamType::Text, QLatin1Char('%') + gone + QLatin1Char('%')}}),
                0);
        QVERIFY(a.count(QStringLiteral("select count(*) from auditoria where auditoria_resumo is not null")) >
                3);
        QCOMPARE(checkAuditChain(db).brokenRow, 0);

        // Tampering is still found: a redacted row's values, or its digest.
        const qint64 redacted = a.count(
            QStringLiteral("select min(auditoria_id) from auditoria where auditoria_resumo is not null"));
        const QString original =
            a.texts(QStringLiteral("select auditoria_depois from auditoria where auditoria_id = %1")
                        .arg(redacted))
                .first();
        db.execute(
            QStringLiteral("update auditoria set auditoria_depois = '{\"paciente_nome\":\"Outra\"}' where "
                           "auditoria_id = %1")
                .arg(redacted));
        QCOMPARE(checkAuditChain(db).brokenRow, redacted);
        db.execute(QStringLiteral("update auditoria set auditoria_depois = :v, auditoria_resumo = '00' where "
                                  "auditoria_id = %1")
                       .arg(redacted),
                   {{QStringLiteral("v"), ParamType::String, original}});
        QCOMPARE(checkAuditChain(db).brokenRow, redacted);
    }

    void retentionPeriodOutsideItsRangeIsRefused() {
        PatientsApp a = start();
        QCOMPARE(anonymisation::retentionYears(a.app.db()), 20);
        for (int years : {0, -5, 101})
            QVERIFY_THROWS_EXCEPTION(PlainError, anonymisation::setRetentionYears(a.app.db(), years));
        QCOMPARE(anonymisation::retentionYears(a.app.db()), 20);
        anonymisation::setRetentionYears(a.app.db(), 25);
        QCOMPARE(anonymisation::retentionYears(a.app.db()), 25);
    }
};

QTEST_MAIN(TestPatientRights)
#include "tst_patient_rights.moc"
