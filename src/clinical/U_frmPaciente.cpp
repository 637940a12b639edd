#include "U_frmPaciente.h"
#include "core/CodeTexts.h"
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
        option(QStringLiteral("VisualizarConsultas1"), dv::text("Visualizar Consultas do Paciente"),
               &TfrmPaciente::VisualizarConsultas1Click);
    AniversarianteAtual1 =
        option(QStringLiteral("AniversarianteAtual1"), dv::text("Aniversariante do Mês (Atual)"),
               &TfrmPaciente::AniversarianteAtual1Click);
    AniversariantePosterior1 =
        option(QStringLiteral("AniversariantePosterior1"), dv::text("Aniversariante do Mês (Posterior)"),
               &TfrmPaciente::AniversariantePosterior1Click);
    MensagemAniversario1 =
        option(QStringLiteral("MensagemAniversario1"), dv::text("Mensagem de Aniversário (WhatsApp)"),
               &TfrmPaciente::MensagemAniversario1Click);
    EmitirEtiquetas1 = option(QStringLiteral("EmitirEtiquetas1"), dv::text("Emitir Etiquetas "),
                              &TfrmPaciente::EmitirEtiquetas1Click);

    dv::reportConnections().add(QStringLiteral("RV_Paciente"), SQL_Consulta, this);
    dv::reportConnections().add(QStringLiteral("Rv_Aniversario"), SQL_Aniversario, this);
}

TfrmPaciente::~TfrmPaciente() {
    dv::reportConnections().removeOwnedBy(this);
}

void TfrmPaciente::declareFields() {
    const QString date = QStringLiteral("dd/mm/yyyy");
    // The grid's columns, in order; the photo is fetched only when a row's picture is read.
    for (const FieldDef& def : {
             FieldDef::column("paciente_nome", "Nome", 50).asRequired(),
             FieldDef::column("paciente_profissao", "Profissao", 20),
             FieldDef::column("paciente_rg", "Rg", 12),
             FieldDef::column("paciente_registro", "Registro", 15),
             FieldDef::column("paciente_endereco", "Endereço", 50),
             // Its own mask: only the eleven digits are stored; the label's mask is not wanted.
             FieldDef::column("paciente_cpf", "Cpf", 14).withMask("999.999.999-99;0;_").withTag(9),
             FieldDef::column("paciente_id", "id", 10),
             FieldDef::column("paciente_numero", "Número", 7),
             FieldDef::column("paciente_complemento", "Complemento", 12),
             FieldDef::column("paciente_bairro", "Bairro", 30),
             FieldDef::column("paciente_cidade", "Cidade", 30),
             FieldDef::column("paciente_cep", "Cep", 10),
             FieldDef::column("uf_id", "UF", 2),
             FieldDef::column("paciente_ativo", "Ativo", 4),
             FieldDef::column("paciente_fone", "Fone", 14),
             FieldDef::column("paciente_fone_comercial", "Fone Comercial", 14),
             FieldDef::column("paciente_celular", "Celular", 14),
             FieldDef::column("paciente_foto", "Foto", 10),
             FieldDef::column("paciente_data_nascimento", "Data Nascimento", 18).withFormat(date),
             FieldDef::column("paciente_email", "email", 70),
             FieldDef::column("paciente_anotacao", "Anotaçao", 10),
             FieldDef::column("paciente_sexo", "Sexo", 4),
             FieldDef::column("paciente_data_cadastro", "Data Cadastro", 18).withFormat(date),
             FieldDef::column("paciente_orgao", "Conv. Orgão", 50),
             FieldDef::column("paciente_matricula", "Matrícula", 50),
             FieldDef::column("paciente_num_dependentes", "Num Dependentes", 17),
             FieldDef::column("paciente_titular", "Titular", 50),
             FieldDef::column("convenio_id", "Convênio").asRequired().asHidden(),
         })
        SQL_Consulta->addField(def);
}

void TfrmPaciente::btnImprimirClick() {
    prepareBirthdays(dv::services().clock().today().month());
    TfrmModelo4::btnImprimirClick();
}

void TfrmPaciente::btnRefreshClick() {
    TfrmModelo4::btnRefreshClick();
    // Other screens read the shared patients: let them see the changes (closed, the
    // first screen that needs them reads them fresh).
    dv::Dataset* shared = dm().SQL_Paciente;
    if (!shared->isActive()) return;
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

void TfrmPaciente::MensagemAniversario1Click() {
    dv::screenContext().openScreen(QStringLiteral("frmAniversario"));
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
