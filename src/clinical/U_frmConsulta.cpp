#include "U_frmConsulta.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

using dv::FieldDef;

namespace {

const QString kFormName = QStringLiteral("frmConsulta");
const QString kPatientKey = QStringLiteral("paciente_id");

} // namespace

TfrmConsulta::TfrmConsulta(QWidget* parent)
    : TfrmModelo4(parent, kFormName, QStringLiteral("Consultas do Paciente")) {
    SQL_Consulta->sql() = {
        QStringLiteral("select * from consulta where paciente_id =:codigo order by consulta_data desc")};
    SQL_Consulta->setParam(QStringLiteral("codigo"), dv::ParamType::Integer, QVariant());
    declareFields();
    setOpeningSort(QStringLiteral("consulta_data"), false);
    SQL_Consulta->OnNewRecord = [this](dv::Dataset& d) {
        const QDate today = dv::services().clock().today();
        d.fieldByName(QStringLiteral("consulta_data"))->setAsDate(today);
        d.fieldByName(QStringLiteral("consulta_validade"))->setAsDate(today.addDays(7));
        d.fieldByName(QStringLiteral("consulta_aprovado"))->setAsString(QStringLiteral("N"));
        if (patientChosen())
            d.fieldByName(kPatientKey)
                ->setAsVariant(dm().SQL_Paciente->fieldByName(kPatientKey)->asVariant());
    };
    wwDBGrid1->setCheckBoxField(QStringLiteral("consulta_aprovado"));

    lbPaciente = new QLabel(QStringLiteral("Paciente:"), this);
    lbPaciente->setObjectName(QStringLiteral("lbPaciente"));
    DBLC_Paciente = new dv::DBLookupCombo(this);
    DBLC_Paciente->setObjectName(QStringLiteral("DBLC_Paciente"));
    DBLC_Paciente->setLookup(
        dm().dsPaciente, kPatientKey,
        {QStringLiteral("paciente_nome"), kPatientKey, QStringLiteral("paciente_fone"),
         QStringLiteral("paciente_rg")},
        {QStringLiteral("Nome"), QStringLiteral("id"), QStringLiteral("Fone"), QStringLiteral("RG")});
    DBLC_Paciente->setDisplayWidths({50, 10, 14, 12});
    DBLC_Paciente->setToolTip(QStringLiteral("Paciente"));
    DBLC_Paciente->setMinimumWidth(420);
    QHBoxLayout* strip = toolStrip();
    strip->addWidget(lbPaciente);
    strip->addWidget(DBLC_Paciente);
    strip->addStretch(1);
    connect(DBLC_Paciente, &dv::DBLookupCombo::changed, this,
            [this] { dv::guarded([this] { DBLC_PacienteCloseUp(); }); });

    auto option = [this](const QString& name, const QString& caption, void (TfrmConsulta::*handler)()) {
        QAction* a = PopupOpcoes->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
        return a;
    };
    VisualizarAprovadas1 =
        option(QStringLiteral("VisualizarAprovadas1"), dv::text("Visualizar consultas aprovadas"),
               &TfrmConsulta::VisualizarAprovadas1Click);
    VisualizarNaoAprovadas1 =
        option(QStringLiteral("VisualizarNaoAprovadas1"), dv::text("Visualizar consultas não aprovadas"),
               &TfrmConsulta::VisualizarNaoAprovadas1Click);
    VisualizarTodas1 = option(QStringLiteral("VisualizarTodas1"), dv::text("Visualizar todas"),
                              &TfrmConsulta::VisualizarTodas1Click);

    dv::reportConnections().add(QStringLiteral("RvConsultas"), SQL_Consulta, this);
}

TfrmConsulta::~TfrmConsulta() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmConsulta::declareFields() {
    const QString date = QStringLiteral("dd/mm/yyyy");
    dv::Dataset* dentists = dm().SQL_Dentista;
    for (const FieldDef& def : {
             FieldDef::column("consulta_id", "id", 10),
             FieldDef::lookup("lk_Paciente", "Paciente", 37, dm().SQL_Paciente, "paciente_id", "paciente_id",
                              "paciente_nome"),
             FieldDef::column("consulta_codigo", "Núm. Autorização", 15),
             FieldDef::column("consulta_data", "Data da Consulta", 20).withFormat(date).asRequired(),
             FieldDef::column("consulta_valor", "Valor", 14),
             FieldDef::column("consulta_validade", "Validade", 14).withFormat(date).asRequired(),
             FieldDef::lookup("lk_Dentista", "Dentista", 37, dentists, "dentista_id", "dentista_id",
                              "dentista_nome"),
             FieldDef::lookup("lk_Dentista_CRO", "CRO", 20, dentists, "dentista_id", "dentista_id",
                              "dentista_cro"),
             FieldDef::column("consulta_aprovado", "Aprovado", 9),
             FieldDef::column("forma_pagamento_id", "Forma Pagamento", 17).asRequired(),
             FieldDef::column("consulta_observacao", "Observação", 11),
             FieldDef::column("paciente_id", "Paciente").asRequired().asHidden(),
             FieldDef::column("dentista_id", "Dentista").asRequired().asHidden(),
         })
        SQL_Consulta->addField(def);
}

bool TfrmConsulta::patientChosen() const {
    return !DBLC_Paciente->keyValue().isNull();
}

void TfrmConsulta::followChosenPatient() {
    // With no patient chosen the shared patients stay where they are.
    if (!patientChosen()) return;
    dv::Dataset* shared = dm().SQL_Paciente;
    if (!shared->isActive()) shared->open();
    shared->locate(kPatientKey, DBLC_Paciente->keyValue());
}

void TfrmConsulta::DBLC_PacienteCloseUp() {
    {
        dv::ControlsDisabled off(SQL_Consulta);
        dv::WaitCursor wait;
        SQL_Consulta->close();
        SQL_Consulta->setParam(QStringLiteral("codigo"), dv::ParamType::Integer,
                               patientChosen() ? DBLC_Paciente->keyValue() : QVariant());
        SQL_Consulta->open();
    }
    showRecordCount();
    wwDBGrid1->setFocus();
    followChosenPatient();
}

void TfrmConsulta::applyArguments(const dv::ScreenArgs& args) {
    if (!args.contains(kPatientKey)) {
        TfrmModelo4::applyArguments(args);
        return;
    }
    DBLC_Paciente->setKeyValue(args.value(kPatientKey));
    if (!patientChosen() && !args.value(kPatientKey).isNull()) {
        // A patient registered since the shared patients were read.
        dv::Dataset* shared = dm().SQL_Paciente;
        {
            dv::ControlsDisabled off(shared);
            shared->close();
            shared->open();
        }
        DBLC_Paciente->setKeyValue(args.value(kPatientKey));
    }
    // Before the first show the list opens with the parameter given here.
    SQL_Consulta->setParam(QStringLiteral("codigo"), dv::ParamType::Integer,
                           patientChosen() ? DBLC_Paciente->keyValue() : QVariant());
    if (SQL_Consulta->isActive())
        DBLC_PacienteCloseUp();
    else
        followChosenPatient();
}

void TfrmConsulta::FormActivate() {
    TfrmModelo4::FormActivate();
    followChosenPatient();
    DBLC_Paciente->setFocus();
}

void TfrmConsulta::btnNovoClick() {
    if (!patientChosen()) {
        dv::services().dialogs().information(
            dv::text("Selecione o Paciente antes de criar uma nova consulta!"));
        return;
    }
    followChosenPatient();
    TfrmModelo4::btnNovoClick();
}

void TfrmConsulta::btnEditarClick() {
    if (!patientChosen()) {
        dv::services().dialogs().information(dv::text("Selecione o Paciente antes de alterar uma consulta!"));
        return;
    }
    followChosenPatient();
    TfrmModelo4::btnEditarClick();
}

void TfrmConsulta::btnRefreshClick() {
    TfrmModelo4::btnRefreshClick();
    dv::Dataset* shared = dm().SQL_Paciente;
    {
        dv::ControlsDisabled off(shared);
        shared->close();
        shared->open();
    }
    followChosenPatient();
}

void TfrmConsulta::filterApproval(const QString& value) {
    {
        dv::ControlsDisabled off(SQL_Consulta);
        dv::WaitCursor wait;
        SQL_Consulta->setFiltered(false);
        SQL_Consulta->setFilter(value.isEmpty() ? QString()
                                                : QStringLiteral("consulta_aprovado = '%1'").arg(value));
        SQL_Consulta->setFiltered(!value.isEmpty());
    }
    showRecordCount();
    wwDBGrid1->setFocus();
}

void TfrmConsulta::VisualizarAprovadas1Click() {
    filterApproval(QStringLiteral("S"));
}

void TfrmConsulta::VisualizarNaoAprovadas1Click() {
    filterApproval(QStringLiteral("N"));
}

void TfrmConsulta::VisualizarTodas1Click() {
    filterApproval(QString());
}
