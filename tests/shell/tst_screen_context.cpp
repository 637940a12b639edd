#include "AccessFixture.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmPaciente.h"
#include "clinical/U_frmPaciente_Manut.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "framework/U_frmModelo4.h"
#include <QPushButton>
#include <QtTest>

using namespace dv;
using namespace dv::test;

namespace {

// A list of the patients of one plan: the plan is the query's parameter.
class PlanPatients : public TfrmModelo4 {
public:
    explicit PlanPatients(QWidget* parent)
        : TfrmModelo4(parent, QStringLiteral("frmConvenio"), QStringLiteral("Pacientes do convênio")) {
        SQL_Consulta->setSql(QStringLiteral("select * from paciente where convenio_id = :convenio_id"));
        SQL_Consulta->addField(FieldDef::column(QStringLiteral("paciente_nome"), QStringLiteral("Nome")));
    }
};

// A list screen that only records the arguments it was given.
class RecordingList : public QWidget, public HostedScreen {
public:
    explicit RecordingList(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("frmConsulta"));
    }
    void applyArguments(const ScreenArgs& args) override { seen() << args; }
    static QList<ScreenArgs>& seen() {
        static QList<ScreenArgs> list;
        return list;
    }
};

const QStringList kPatients = {
    QStringLiteral("insert into convenio (convenio_id, convenio_nome) values (2, 'Odonto Sul')"),
    QStringLiteral(
        "insert into paciente (paciente_nome, convenio_id, paciente_ativo) values ('Ana', 1, 'S')"),
    QStringLiteral(
        "insert into paciente (paciente_nome, convenio_id, paciente_ativo) values ('Bia', 2, 'S')"),
    QStringLiteral(
        "insert into paciente (paciente_nome, convenio_id, paciente_ativo) values ('Caio', 2, 'S')"),
};

} // namespace

// How screens reach the application: the context the shell installs, the arguments
// that travel with an opened screen, and the plain context outside the main window.
class TestScreenContext : public QObject {
    Q_OBJECT

private slots:
    void argumentsSetTheListsQuery() {
        LoggedIn::Options o;
        o.sqlBeforeStart = kPatients;
        o.screens = [](ScreenRegistry& r) {
            fakeScreens()(r);
            r.setFactory(QStringLiteral("frmConvenio"), [](QWidget* p) { return new PlanPatients(p); });
        };
        LoggedIn app(o);
        QCOMPARE(screenContext().mainWindow(), static_cast<QWidget*>(app.main()));

        QCOMPARE(
            screenContext().openScreen(QStringLiteral("frmConvenio"), {{QStringLiteral("convenio_id"), 2}}),
            false);
        auto* list = qobject_cast<TfrmModelo4*>(screenContext().openList(QStringLiteral("frmconvenio")));
        QVERIFY(list);
        QVERIFY(screenContext().hostsScreen(list));
        QCOMPARE(list->SQL_Consulta->recordCount(), 2);
        QCOMPARE(list->statusPanel(1)->text(), QStringLiteral("  2"));

        // Brought to the front with another value: the same screen reads its rows again.
        QCOMPARE(
            screenContext().openScreen(QStringLiteral("frmConvenio"), {{QStringLiteral("CONVENIO_ID"), 1}}),
            true);
        QCOMPARE(screenContext().openList(QStringLiteral("frmConvenio")), list);
        QCOMPARE(list->SQL_Consulta->recordCount(), 1);
        QCOMPARE(list->SQL_Consulta->fieldByName(QStringLiteral("paciente_nome"))->asString(),
                 QStringLiteral("Ana"));
        // Arguments that name no parameter change nothing.
        screenContext().openScreen(QStringLiteral("frmConvenio"), {{QStringLiteral("dentista_id"), 9}});
        QCOMPARE(list->SQL_Consulta->recordCount(), 1);
    }

    // The patient list and the patient record open the consultations of their patient
    // without knowing the consultation screen.
    void patientScreensGiveTheirPatient() {
        RecordingList::seen().clear();
        LoggedIn::Options o;
        o.sqlBeforeStart = kPatients;
        o.screens = [](ScreenRegistry& r) {
            registerClinicalScreens(r);
            r.setFactory(QStringLiteral("frmConsulta"), [](QWidget* p) { return new RecordingList(p); });
        };
        LoggedIn app(o);
        app.opener().open(QStringLiteral("frmPaciente"));
        auto* list = qobject_cast<TfrmPaciente*>(app.opener().openScreen(QStringLiteral("frmPaciente")));
        QVERIFY(list);
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("paciente_nome"), QStringLiteral("Bia")));
        const qint64 bia = list->SQL_Consulta->fieldByName(QStringLiteral("paciente_id"))->asLargeInt();
        list->VisualizarConsultas1->trigger();
        QCOMPARE(RecordingList::seen().size(), 1);
        QCOMPARE(RecordingList::seen().last().value(QStringLiteral("paciente_id")).toLongLong(), bia);

        // From the record: it closes, then the consultations open on its patient.
        app.opener().open(QStringLiteral("frmPaciente"));
        QVERIFY(list->SQL_Consulta->locate(QStringLiteral("paciente_nome"), QStringLiteral("Caio")));
        const qint64 caio = list->SQL_Consulta->fieldByName(QStringLiteral("paciente_id"))->asLargeInt();
        QPointer<QWidget> record;
        whenModal([&](QWidget* w) {
            record = w;
            auto* r = qobject_cast<TfrmPaciente_Manut*>(w);
            if (!r) {
                w->close();
                return;
            }
            // The record's queries open on its first activation.
            if (!QTest::qWaitFor([r] { return r->isReady(); }, 5000))
                qWarning("the record never became ready");
            r->BitBtn3->click();
        });
        list->btnEditarClick();
        QTRY_COMPARE(RecordingList::seen().size(), 2);
        QVERIFY(!record || !record->isVisible());
        QCOMPARE(RecordingList::seen().last().value(QStringLiteral("paciente_id")).toLongLong(), caio);
        QCOMPARE(app.s.dialogs.texts(), QStringList());
    }

    // Without the main window a screen still gets answers, and an attempt to open
    // another screen is an error the translator can show, not a crash.
    void plainContextOutsideTheMainWindow() {
        ScreenContext& c = screenContext();
        QCOMPARE(c.mainWindow(), static_cast<QWidget*>(nullptr));
        QCOMPARE(c.openList(QStringLiteral("frmPaciente")), static_cast<QWidget*>(nullptr));
        QWidget w;
        QVERIFY(!c.hostsScreen(&w));
        c.setHeaderCaption(QStringLiteral("x"));
        c.setProgress(1, 2);
        QVERIFY_THROWS_EXCEPTION(PlainError, c.openScreen(QStringLiteral("frmPaciente")));
    }
};

QTEST_MAIN(TestScreenContext)
#include "tst_screen_context.moc"
