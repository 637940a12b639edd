#include "U_frmPaciente.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "framework/ScreenContext.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/ReportConnections.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBLookupCombo.h"
#include <QAction>
#include <QApplication>
#include <QMenu>

using dv::FieldDef;
using dv::FieldType;

namespace {

const QString kFormName = QStringLiteral("frmPaciente");

} // namespace

TfrmPaciente::TfrmPaciente(QWidget* parent) : TfrmModelo4(parent, kFormName, QStringLiteral("Pacientes")) {
    SQL_Consulta->sql() = {QStringLiteral("select * from paciente order by paciente_nome")};
    declareFields();
    SQL_Consulta->OnNewRecord = [](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("paciente_data_cadastro"))->setAsDate(dv::services().clock().today());
        d.fieldByName(QStringLiteral("paciente_ativo"))->setAsString(QStringLiteral("S"));
    };
    wwDBGrid1->setCheckBoxField(QStringLiteral("paciente_ativo"));

    SQL_Aniversario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Aniversario"), this);
    SQL_Aniversario->sql() = {
        QStringLiteral("select * from paciente where month(paciente_data_nascimento) =:mes")};
    SQL_Aniversario->setParam(QStringLiteral("mes"), dv::ParamType::Integer, QVariant());
    dsAniversario = new dv::DataSource(SQL_Aniversario, QStringLiteral("dsAniversario"), this);

    auto option = [this](const QString& name, const QString& caption, void (TfrmPaciente::*handler)()) {
        QAction* a = PopupOpcoes->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this,
                [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
        return a;
    };
    VisualizarConsultas1 =
        option(QStringLiteral("VisualizarConsultas1"), QStringLiteral("Visualizar Consultas do Paciente"),
               &TfrmPaciente::VisualizarConsultas1Click);
    AniversarianteAtual1 =
        option(QStringLiteral("AniversarianteAtual1"), QStringLiteral("Aniversariante do Mês (Atual)"),
               &TfrmPaciente::AniversarianteAtual1Click);
    AniversariantePosterior1 = option(QStringLiteral("AniversariantePosterior1"),
                                      QStringLiteral("Aniversariante do Mês (Posterior)"),
                                      &TfrmPaciente::AniversariantePosterior1Click);
    EmitirEtiquetas1 = option(QStringLiteral("EmitirEtiquetas1"), QStringLiteral("Emitir Etiquetas "),
                              &TfrmPaciente::EmitirEtiquetas1Click);

    dv::reportConnections().add(QStringLiteral("RV_Paciente"), SQL_Consulta, this);
    dv::reportConnections().add(QStringLiteral("Rv_Aniversario"), SQL_Aniversario, this);
}

TfrmPaciente::~TfrmPaciente() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmPaciente::declareFields() {
    struct Column {
        const char* name;
        const char* label;
        int width;
    };
    // The grid's columns, in order; the photo is fetched only when a row's picture is read.
    static const Column columns[] = {
        {"paciente_nome", "Nome", 50},
        {"paciente_profissao", "Profissao", 20},
        {"paciente_rg", "Rg", 12},
        {"paciente_registro", "Registro", 15},
        {"paciente_endereco", "Endereço", 50},
        {"paciente_cpf", "Cpf", 14},
        {"paciente_id", "id", 10},
        {"paciente_numero", "Número", 7},
        {"paciente_complemento", "Complemento", 12},
        {"paciente_bairro", "Bairro", 30},
        {"paciente_cidade", "Cidade", 30},
        {"paciente_cep", "Cep", 10},
        {"uf_id", "UF", 2},
        {"paciente_ativo", "Ativo", 4},
        {"paciente_fone", "Fone", 14},
        {"paciente_fone_comercial", "Fone Comercial", 14},
        {"paciente_celular", "Celular", 14},
        {"paciente_foto", "Foto", 10},
        {"paciente_data_nascimento", "Data Nascimento", 18},
        {"paciente_email", "email", 70},
        {"paciente_anotacao", "Anotaçao", 10},
        {"paciente_sexo", "Sexo", 4},
        {"paciente_data_cadastro", "Data Cadastro", 18},
        {"paciente_orgao", "Conv. Orgão", 50},
        {"paciente_matricula", "Matrícula", 50},
        {"paciente_num_dependentes", "Num Dependentes", 17},
        {"paciente_titular", "Titular", 50},
    };
    for (const Column& c : columns) {
        FieldDef def;
        def.name = QLatin1String(c.name);
        def.displayLabel = QString::fromUtf8(c.label);
        def.displayWidth = c.width;
        if (def.name == QLatin1String("paciente_nome")) def.required = true;
        if (def.name == QLatin1String("paciente_cpf")) {
            // Its own mask: only the eleven digits are stored; the label's mask is not wanted.
            def.editMask = QStringLiteral("999.999.999-99;0;_");
            def.tag = 9;
        }
        if (def.name == QLatin1String("paciente_data_nascimento") ||
            def.name == QLatin1String("paciente_data_cadastro"))
            def.displayFormat = QStringLiteral("dd/mm/yyyy");
        SQL_Consulta->addField(def);
    }
    FieldDef plan;
    plan.name = QStringLiteral("convenio_id");
    plan.displayLabel = QStringLiteral("Convênio");
    plan.required = true;
    plan.visible = false;
    SQL_Consulta->addField(plan);
}

void TfrmPaciente::btnImprimirClick() {
    prepareBirthdays(dv::services().clock().today().month());
    TfrmModelo4::btnImprimirClick();
}

void TfrmPaciente::btnRefreshClick() {
    TfrmModelo4::btnRefreshClick();
    // Other screens read the shared patients: let them see the changes.
    dv::Dataset* shared = dm().SQL_Paciente;
    dv::ControlsDisabled off(shared);
    shared->close();
    shared->open();
}

void TfrmPaciente::prepareBirthdays(int month) {
    SQL_Aniversario->close();
    SQL_Aniversario->setParam(QStringLiteral("mes"), dv::ParamType::Integer, month);
    SQL_Aniversario->open();
}

void TfrmPaciente::printBirthdays(int month) {
    prepareBirthdays(month);
    dv::showReportPicker(kFormName, this);
}

void TfrmPaciente::AniversarianteAtual1Click() {
    printBirthdays(dv::services().clock().today().month());
}

void TfrmPaciente::AniversariantePosterior1Click() {
    printBirthdays(dv::services().clock().today().month() % 12 + 1);
}

void TfrmPaciente::EmitirEtiquetas1Click() {
    dv::showReportPicker(kFormName, this);
}

void TfrmPaciente::VisualizarConsultas1Click() {
    if (!SQL_Consulta->isActive() || SQL_Consulta->isEmpty()) return;
    const QVariant patient = SQL_Consulta->fieldByName(QStringLiteral("paciente_id"))->asVariant();
    // The consultation list applies the patient to its query and its chooser.
    dv::screenContext().openScreen(QStringLiteral("frmConsulta"), {{QStringLiteral("paciente_id"), patient}});
}
