// The consultation list and record as the desk and the dentist use them: the patient
// chooser, newest first, the approval filters, a new consultation's defaults and
// tabs, items priced by the patient's plan and a total that always matches them.
#include "ClinicalFixture.h"
#include "clinical/U_frmConsulta.h"
#include "clinical/U_frmConsulta_Manut.h"
#include "core/ErrorTranslator.h"
#include "core/db/DbErrors.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include <QLineEdit>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// Two dentists (the second inactive), two services of which only the first has a
// price in the patient's plan, two patients: Maria with three consultations
// (one approved, one by the inactive dentist) and João with one approved.
const QStringList kClinic = {
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
    "values (901, 'Ana Souza', 'CRO-SP 1234', 'S')",
    "insert into dentista (dentista_id, dentista_nome, dentista_cro, dentista_ativo) "
    "values (902, 'Bruno Lima', 'CRO-SP 5678', 'N')",
    "insert into servico (servico_id, servico_nome, ramo_id, servico_ativo) values (9001, 'Restauração', "
    "'Dentística', 'S')",
    "insert into servico (servico_id, servico_nome, ramo_id, servico_ativo) values (9002, 'Clareamento', "
    "'Estética', 'S')",
    "insert into tabela_convenio (convenio_id, servico_id, tabela_valor) values (1, 9001, 1500000)",
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo, "
    "paciente_data_nascimento) "
    "values (801, 'Maria da Conceição', 1, 'S', '1980-12-15 00:00:00')",
    "insert into paciente (paciente_id, paciente_nome, convenio_id, paciente_ativo) values (802, 'João "
    "Pedro', "
    "1, 'S')",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_validade, "
    "consulta_aprovado, forma_pagamento_id, consulta_valor) values (7001, 801, 901, '2026-01-10 00:00:00', "
    "'2026-01-17 00:00:00', 'N', 1, 0)",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_validade, "
    "consulta_aprovado, forma_pagamento_id, consulta_valor) values (7002, 801, 901, '2026-03-05 00:00:00', "
    "'2026-03-12 00:00:00', 'S', 1, 0)",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_validade, "
    "consulta_aprovado, forma_pagamento_id, consulta_valor) values (7003, 801, 902, '2025-11-20 00:00:00', "
    "'2025-11-27 00:00:00', 'N', 1, 0)",
    "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_data, consulta_validade, "
    "consulta_aprovado, forma_pagamento_id, consulta_valor) values (7004, 802, 901, '2026-02-01 00:00:00', "
    "'2026-02-08 00:00:00', 'S', 1, 0)",
};

LoggedIn& clinic() {
    return sharedApp(QStringLiteral("consultations"), clinicalOptions, kClinic);
}

Currency stored(LoggedIn& app, const QString& sql) {
    auto c = app.db().query(sql);
    return c->next() && !c->isNull(0) ? c->currency(0) : Currency();
}

TfrmConsulta* openConsultations(LoggedIn& app, const QVariant& patient = QVariant()) {
    ScreenArgs args;
    if (patient.isValid()) args.insert(QStringLiteral("paciente_id"), patient);
    app.opener().open(QStringLiteral("frmConsulta"), args);
    return qobject_cast<TfrmConsulta*>(app.opener().openScreen(QStringLiteral("frmConsulta")));
}

// Runs the work in the record the list's New or Edit opens; closes it afterwards.
bool withRecord(TfrmConsulta* list, bool newOne, const std::function<void(TfrmConsulta_Manut*)>& work) {
    return inModal<TfrmConsulta_Manut>([&] { newOne ? list->btnNovoClick() : list->btnEditarClick(); }, work);
}

} // namespace

class TestConsultations : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { stopSharedApp(); }
    void cleanup() {
        if (LoggedIn* app = SharedAppSlot::get().app.get()) DV_VERIFY_SERVICES(app->s);
    }

    void listFollowsTheChosenPatientNewestFirst() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultations(app);
        QVERIFY(list);
        QCOMPARE(list->SQL_Consulta->recordCount(), 0); // nobody chosen yet
        list->btnNovoClick();
        list->btnEditarClick();
        QCOMPARE(app.s.dialogs.texts(), (QStringList{"Selecione o Paciente antes de criar uma nova consulta!",
                                                     "Selecione o Paciente antes de alterar uma consulta!"}));

        // The patient list's option opens it on that patient.
        app.opener().open(QStringLiteral("frmPaciente"));
        auto* patients = qobject_cast<TfrmPaciente*>(app.opener().openScreen(QStringLiteral("frmPaciente")));
        QVERIFY(patients->SQL_Consulta->locate(QStringLiteral("paciente_id"), 801));
        patients->VisualizarConsultas1Click();
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("consulta_id")),
                 (QStringList{"7002", "7001", "7003"}));
        QCOMPARE(list->DBLC_Paciente->text(), QStringLiteral("Maria da Conceição"));
        QCOMPARE(dm().SQL_Paciente->fieldByName(QStringLiteral("paciente_id"))->asInteger(), 801);
        // A dentist made inactive leaves the consultation listed, without name and CRO.
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7003));
        QCOMPARE(list->SQL_Consulta->fieldByName(QStringLiteral("lk_Dentista"))->asString(), QString());
        QCOMPARE(list->SQL_Consulta->fieldByName(QStringLiteral("lk_Dentista_CRO"))->asString(), QString());
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7001));
        QCOMPARE(list->SQL_Consulta->fieldByName(QStringLiteral("lk_Dentista"))->asString(),
                 QStringLiteral("Ana Souza"));
    }

    // Escape in the patient box first gives up what was typed (back to the chosen
    // patient, or empty), then closes the list as the other lists' search boxes do.
    void escapeInThePatientBox() {
        LoggedIn& app = clinic();
        for (const QVariant& patient : {QVariant(), QVariant(801)}) {
            TfrmConsulta* list = openConsultations(app, patient);
            QVERIFY(list);
            const QString chosen = list->DBLC_Paciente->text();
            QLineEdit* box = list->DBLC_Paciente->lineEdit();
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, "Jo");
            QCOMPARE(box->text(), QStringLiteral("Jo"));
            QTest::keyClick(box, Qt::Key_Escape);
            list->DBLC_Paciente->hidePopup();
            QCOMPARE(box->text(), chosen);
            QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("consulta_id")).size(),
                     patient.isValid() ? 3 : 0);
            QVERIFY(app.opener().openScreen(QStringLiteral("frmConsulta")));
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(!app.opener().openScreen(QStringLiteral("frmConsulta")));
        }
    }

    void approvalFilterStaysWhenAnotherPatientIsChosen() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultations(app, 801);
        list->VisualizarAprovadas1Click();
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("consulta_id")), QStringList{"7002"});
        list->applyArguments({{QStringLiteral("paciente_id"), 802}});
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("consulta_id")), QStringList{"7004"});
        list->VisualizarNaoAprovadas1Click();
        QCOMPARE(list->SQL_Consulta->recordCount(), 0);
        list->applyArguments({{QStringLiteral("paciente_id"), 801}});
        QCOMPARE(fieldValues(list->SQL_Consulta, QStringLiteral("consulta_id")),
                 (QStringList{"7001", "7003"}));
        list->VisualizarTodas1Click();
        QCOMPARE(list->SQL_Consulta->recordCount(), 3);
    }

    // A new consultation: today, valid for a week, not approved, this patient; only its
    // data until saved, and a dentist and a payment form are required.
    void newConsultationDefaultsTabsAndRequiredFields() {
        LoggedIn& app = clinic();
        app.s.clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
        TfrmConsulta* list = openConsultations(app, 802);
        QStringList tabsBefore, tabsAfter;
        QVERIFY(withRecord(list, true, [&](TfrmConsulta_Manut* r) {
            Dataset* c = r->editedDataset();
            QCOMPARE(c->state(), DatasetState::Insert);
            QCOMPARE(c->fieldByName(QStringLiteral("consulta_data"))->asDate(), QDate(2026, 12, 10));
            QCOMPARE(c->fieldByName(QStringLiteral("consulta_validade"))->asDate(), QDate(2026, 12, 17));
            QCOMPARE(c->fieldByName(QStringLiteral("consulta_aprovado"))->asString(), QStringLiteral("N"));
            QCOMPARE(c->fieldByName(QStringLiteral("paciente_id"))->asInteger(), 802);
            QCOMPARE(r->lbNomePaciente->text(), QStringLiteral("João Pedro"));
            for (int i = 0; i < r->PageControl1->count(); ++i)
                if (r->PageControl1->isTabVisible(i)) tabsBefore << r->PageControl1->tabText(i);

            guarded([&] { r->BitBtn1Click(); }); // no dentist
            QVERIFY(c->isEditing());
            QCOMPARE(app.s.dialogs.texts(ScriptedDialogs::Kind::Warning).size(), 1);
            r->DBLookupDentista->setKeyValue(901);
            r->DBLookupFormaPagto->setKeyValue(1);
            app.s.dialogs.queueConfirmation(true); // save the changes
            guarded([&] { r->BitBtn1Click(); });
            QVERIFY2(!c->isEditing(), qPrintable(app.s.dialogs.texts().join(" | ")));
            for (int i = 0; i < r->PageControl1->count(); ++i)
                if (r->PageControl1->isTabVisible(i)) tabsAfter << r->PageControl1->tabText(i);
        }));
        QCOMPARE(tabsBefore, QStringList{"Dados da Consulta"});
        QCOMPARE(tabsAfter, (QStringList{"Dados da Consulta", "Odontograma (Orçamento)",
                                         "Financeiro (Pagamentos) ", "Documentos "}));
        QCOMPARE(
            scalar(app, QStringLiteral("select count(*) from consulta where paciente_id = 802")).toLongLong(),
            2);
    }

    // An item takes the plan's price when its service is chosen (a service without one
    // keeps its value); the stored total and the side bar follow every post and delete,
    // and a pending note of the consultation is saved with the item.
    void itemsPriceAndTotal() {
        LoggedIn& app = clinic();
        TfrmConsulta* list = openConsultations(app, 801);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7001));
        QString totalShown;
        QVERIFY(withRecord(list, false, [&](TfrmConsulta_Manut* r) {
            QCOMPARE(r->PageControl1->currentWidget(), r->TabSheet2);
            Dataset* items = r->SQL_ItemConsulta;
            r->DBNavigatorItem->press(DBNavigator::Insert);
            QCOMPARE(items->fieldByName(QStringLiteral("dente_id"))->asInteger(), 0);
            QCOMPARE(items->fieldByName(QStringLiteral("local_dente_id"))->asString(), QStringLiteral("TO"));
            QCOMPARE(items->fieldByName(QStringLiteral("item_consulta_concluido"))->asString(),
                     QStringLiteral("N"));
            QCOMPARE(items->fieldByName(QStringLiteral("item_consulta_valor"))->asCurrency(), Currency());
            items->fieldByName(QStringLiteral("servico_id"))->setAsInteger(9001);
            QCOMPARE(items->fieldByName(QStringLiteral("item_consulta_valor"))->asCurrency(),
                     Currency::fromRaw(1500000));
            r->editedDataset()->edit();
            r->editedDataset()
                ->fieldByName(QStringLiteral("consulta_observacao"))
                ->setAsString(QStringLiteral("Sensível"));
            items->post();

            items->append();
            items->fieldByName(QStringLiteral("item_consulta_valor"))
                ->setAsCurrency(Currency::fromRaw(800000));
            items->fieldByName(QStringLiteral("servico_id"))->setAsInteger(9002); // no price in the plan
            QCOMPARE(items->fieldByName(QStringLiteral("item_consulta_valor"))->asCurrency(),
                     Currency::fromRaw(800000));
            items->post();
            QCOMPARE(
                stored(app, QStringLiteral("select consulta_valor from consulta where consulta_id = 7001")),
                Currency::fromRaw(2300000));
            QCOMPARE(r->SQL_Valor->fieldByName(QStringLiteral("total"))->asCurrency(),
                     Currency::fromRaw(2300000));

            QVERIFY(items->locate(QStringLiteral("servico_id"), 9001));
            try {
                items->deleteRecord();
            } catch (const Error& e) {
                QFAIL(qPrintable(e.message()));
            }
            totalShown = r->DBEditValorTotal->text();
        }));
        QCOMPARE(stored(app, QStringLiteral("select consulta_valor from consulta where consulta_id = 7001")),
                 Currency::fromRaw(800000));
        QCOMPARE(totalShown, QStringLiteral("80,00"));
        auto note = app.db().query(
            QStringLiteral("select consulta_observacao from consulta where consulta_id = 7001"));
        QVERIFY(note->next());
        QCOMPARE(QString::fromUtf8(note->utf8(0)), QStringLiteral("Sensível"));
    }

    // The item and the consultation's total are one write: when the total cannot be
    // written, the item is not stored either and stays to be posted again.
    void itemAndTotalAreOneUnit() {
        LoggedIn& app = clinic();
        app.db().execute(
            QStringLiteral("create temp trigger tr_falha before update of consulta_valor on consulta "
                           "begin select raise(abort, 'injected failure'); end"));
        TfrmConsulta* list = openConsultations(app, 801);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7001));
        QVERIFY(withRecord(list, false, [&](TfrmConsulta_Manut* r) {
            Dataset* items = r->SQL_ItemConsulta;
            items->append();
            items->fieldByName(QStringLiteral("servico_id"))->setAsInteger(9001);
            bool failed = false;
            try {
                items->post();
            } catch (const Error&) {
                failed = true;
            }
            QVERIFY(failed);
            QCOMPARE(items->state(), DatasetState::Insert);
            QCOMPARE(r->editedDataset()->fieldByName(QStringLiteral("consulta_valor"))->asCurrency(),
                     Currency());
            app.db().execute(QStringLiteral("drop trigger tr_falha"));
            try {
                items->post();
            } catch (const Error& e) {
                QFAIL(qPrintable(e.message()));
            }
        }));
        QCOMPARE(scalar(app, QStringLiteral("select count(*) from item_consulta where consulta_id = 7001"))
                     .toLongLong(),
                 1);
        QCOMPARE(stored(app, QStringLiteral("select consulta_valor from consulta where consulta_id = 7001")),
                 Currency::fromRaw(1500000));
    }

    void consultationWithItemsIsNotDeleted() {
        LoggedIn& app = clinic();
        app.db().execute(
            QStringLiteral("insert into item_consulta (consulta_id, servico_id, item_consulta_valor) "
                           "values (7002, 9001, 1500000)"));
        TfrmConsulta* list = openConsultations(app, 801);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("consulta_id"), 7002));
        app.s.dialogs.queueConfirmation(true);
        bool refused = false;
        try {
            list->btnExcluirClick();
        } catch (const Error& e) {
            refused = e.message().contains(QStringLiteral("includes related records"));
        }
        QVERIFY(refused);
        QCOMPARE(scalar(app, QStringLiteral("select count(*) from consulta where consulta_id = 7002"))
                     .toLongLong(),
                 1);
    }

    void ageIsTheCalendarAge_data() {
        QTest::addColumn<QDate>("birth");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("shown");
        QTest::newRow("birthday itself") << QDate(1980, 12, 15) << QDate(2026, 12, 15) << "46 anos";
        QTest::newRow("day before") << QDate(1980, 12, 15) << QDate(2026, 12, 14) << "45 anos";
        QTest::newRow("leap day, next year") << QDate(2000, 2, 29) << QDate(2001, 3, 1) << "1 anos";
        QTest::newRow("no birth date") << QDate() << QDate(2026, 12, 15) << "0 anos";
    }
    void ageIsTheCalendarAge() {
        QFETCH(QDate, birth);
        QFETCH(QDate, today);
        QFETCH(QString, shown);
        QCOMPARE(TfrmConsulta_Manut::ageText(birth, today), shown);
    }
};

QTEST_MAIN(TestConsultations)
#include "tst_consultations.moc"
