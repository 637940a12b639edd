#include "U_frmGrupo_Manut.h"
#include "AdministratorGroup.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBGrid.h"
#include "toolkit/IncrementalSearch.h"
#include "ui_U_frmGrupo_Manut.h"
#include <QCheckBox>
#include <QPushButton>
#include <QToolButton>

using dv::FieldDef;

namespace {

// The eight flags' fields, in the order of their check boxes on both sides.
constexpr const char* kFlagFields[] = {"form_novo",     "form_editar", "form_excluir", "form_filtrar",
                                       "form_imprimir", "form_html",   "form_excel",   "form_outros"};

} // namespace

// The children go after this screen: none of their signals may reach it then.
TfrmGrupo_Manut::~TfrmGrupo_Manut() {
    disconnect(dsUpdate, nullptr, this, nullptr);
}

TfrmGrupo_Manut::TfrmGrupo_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmGrupo_Manut"), QStringLiteral("Manutenção do Grupo")) {
    // ---- the two lists ----
    SQL_Formulario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Formulario"), this);
    SQL_Formulario->sql() = {
        QStringLiteral("select * from Formulario"),
        QStringLiteral(
            "where form_nome not in (select form_nome from grupo_permissao where grupo_id =  :grupo_id )"),
        QStringLiteral("and form_tipo <> 'P' and form_tipo <> 'S' and form_ativo = 'S'"),
        QStringLiteral("order by form_nome")};
    SQL_Formulario->setParam(QStringLiteral("grupo_id"), dv::ParamType::Integer, QVariant());
    SQL_Formulario->addField(
        FieldDef::column(QStringLiteral("form_descricao"), QStringLiteral("Formulários"), 30));
    dsFormulario = new dv::DataSource(SQL_Formulario, QStringLiteral("dsFormulario"), this);

    SQL_Permissao = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Permissao"), this);
    SQL_Permissao->sql() = {QStringLiteral("select * from grupo_permissao where grupo_id = :grupo_id"),
                            QStringLiteral("order by form_nome")};
    SQL_Permissao->setParam(QStringLiteral("grupo_id"), dv::ParamType::Integer, QVariant());
    SQL_Permissao->addField(FieldDef::lookup(QStringLiteral("lk_formulario"), QStringLiteral("Formulários"),
                                             30, dm().SQL_Formulario, QStringLiteral("form_nome"),
                                             QStringLiteral("form_nome"), QStringLiteral("form_descricao"))
                                .withType(dv::FieldType::String)
                                .withSize(100));
    dsPermissao = new dv::DataSource(SQL_Permissao, QStringLiteral("dsPermissao"), this);

    // ---- the page: the group, and its permission editor ----
    Ui::frmGrupo_Manut ui;
    ui.setupUi(TabSheet1);
    DBEdit1 = ui.DBEdit1;
    DBEdit2 = ui.DBEdit2;
    DBCheckBox1 = ui.DBCheckBox1;
    Panel1 = ui.Panel1;
    pnPermissao = ui.pnPermissao;
    GroupBox1 = ui.GroupBox1;
    GroupBox2 = ui.GroupBox2;
    wwIncrementalSearch1 = ui.wwIncrementalSearch1;
    wwDBGrid1 = ui.wwDBGrid1;
    wwDBGrid2 = ui.wwDBGrid2;
    CheckBox1 = ui.CheckBox1;
    CheckBox2 = ui.CheckBox2;
    CheckBox3 = ui.CheckBox3;
    CheckBox4 = ui.CheckBox4;
    CheckBox5 = ui.CheckBox5;
    CheckBox6 = ui.CheckBox6;
    CheckBox7 = ui.CheckBox7;
    CheckBox8 = ui.CheckBox8;
    DBCheckBox2 = ui.DBCheckBox2;
    DBCheckBox3 = ui.DBCheckBox3;
    DBCheckBox4 = ui.DBCheckBox4;
    DBCheckBox5 = ui.DBCheckBox5;
    DBCheckBox6 = ui.DBCheckBox6;
    DBCheckBox7 = ui.DBCheckBox7;
    DBCheckBox8 = ui.DBCheckBox8;
    DBCheckBox9 = ui.DBCheckBox9;
    SpeedButton1 = ui.SpeedButton1;
    SpeedButton2 = ui.SpeedButton2;
    SpeedButton3 = ui.SpeedButton3;
    SpeedButton4 = ui.SpeedButton4;
    Button1 = ui.Button1;
    m_newFlags = {CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5, CheckBox6, CheckBox7, CheckBox8};
    wwIncrementalSearch1->setDataSource(dsFormulario);
    wwDBGrid1->setDataSource(dsFormulario);
    wwDBGrid2->setDataSource(dsPermissao);
    for (dv::DBGrid* g : {wwDBGrid1, wwDBGrid2}) {
        g->setReadOnly(true);
        g->setRowSelect(true);
        g->setTitleLines(1);
    }

    connect(SpeedButton1, &QToolButton::clicked, this, [this] { dv::guarded([&] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { dv::guarded([&] { SpeedButton2Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { dv::guarded([&] { SpeedButton3Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { dv::guarded([&] { SpeedButton4Click(); }); });
    connect(Button1, &QPushButton::clicked, this, [this] { dv::guarded([&] { Button1Click(); }); });
    connect(dsUpdate, &dv::DataSource::stateChanged, this, [this] { updateEditor(); });
    resize(860, 600);
}

QVariant TfrmGrupo_Manut::groupId() const {
    dv::Dataset* g = editedDataset();
    if (!g || !g->isActive() || g->isEmpty() || g->state() == dv::DatasetState::Insert) return QVariant();
    dv::Field* id = g->fieldByName(QStringLiteral("grupo_id"));
    return id->isNull() ? QVariant() : QVariant(id->asInteger());
}

// Permissions need the group's grupo_id, which the database gives on the first save.
void TfrmGrupo_Manut::updateEditor() {
    pnPermissao->setEnabled(groupId().isValid());
}

void TfrmGrupo_Manut::reopen(dv::Dataset* d) {
    d->close();
    d->open();
}

void TfrmGrupo_Manut::FormShow() {
    TfrmCadastro::FormShow();
    if (!m_linked && editedDataset()) {
        // Both lists follow the group being edited.
        SQL_Formulario->setMasterSource(dsUpdate);
        SQL_Permissao->setMasterSource(dsUpdate);
        m_linked = true;
    }
    SQL_Formulario->open();
    SQL_Permissao->open();
    wwDBGrid1->setReadOnly(true);
    wwDBGrid2->setReadOnly(true);
    for (QCheckBox* c : m_newFlags)
        c->setChecked(false);
    updateEditor();
    m_protected = dv::isProtectedAdministratorGroup(editedDataset());
    if (m_protected) {
        TabSheet1->setEnabled(false);
        BitBtn1->setEnabled(false);
        dv::refuseAdministratorGroup(editedDataset());
    }
}

void TfrmGrupo_Manut::dsUpdateDataChange() {
    TfrmCadastro::dsUpdateDataChange();
    if (m_protected) BitBtn1->setEnabled(false);
}

void TfrmGrupo_Manut::BitBtn1Click() {
    if (m_protected) {
        dv::refuseAdministratorGroup(editedDataset());
        return;
    }
    dv::services().dialogs().information(
        dv::text("As alterações só serão ativadas depois que você logar no sistema novamente!"));
    TfrmCadastro::BitBtn1Click();
    updateEditor();
}

void TfrmGrupo_Manut::appendPermission(const QString& formName) {
    SQL_Permissao->append();
    SQL_Permissao->fieldByName(QStringLiteral("grupo_id"))->setAsVariant(groupId());
    SQL_Permissao->fieldByName(QStringLiteral("form_nome"))->setAsString(formName);
    for (int i = 0; i < 8; ++i)
        SQL_Permissao->fieldByName(QLatin1String(kFlagFields[i]))
            ->setAsString(m_newFlags[i]->isChecked() ? QStringLiteral("S") : QStringLiteral("N"));
}

void TfrmGrupo_Manut::SpeedButton1Click() {
    if (!groupId().isValid() || !SQL_Formulario->isActive() || SQL_Formulario->isEmpty()) return;
    SQL_Permissao->checkBrowseMode();
    try {
        appendPermission(SQL_Formulario->fieldByName(QStringLiteral("form_nome"))->asString());
        SQL_Permissao->post();
    } catch (...) {
        if (SQL_Permissao->isEditing()) SQL_Permissao->cancel();
        throw;
    }
    reopen(SQL_Formulario);
}

void TfrmGrupo_Manut::SpeedButton2Click() {
    if (!groupId().isValid() || !SQL_Permissao->isActive() || SQL_Permissao->isEmpty()) return;
    if (SQL_Permissao->isEditing()) SQL_Permissao->cancel();
    SQL_Permissao->deleteRecord();
    reopen(SQL_Formulario);
}

void TfrmGrupo_Manut::deleteAllPermissions() {
    if (SQL_Permissao->isEditing()) SQL_Permissao->cancel();
    dm().ADOConexao()->execute(QStringLiteral("delete from grupo_permissao where grupo_id = :grupo_id"),
                               {{QStringLiteral("grupo_id"), dv::ParamType::Integer, groupId()}});
    reopen(SQL_Permissao);
    reopen(SQL_Formulario);
}

// The group's permissions are replaced by one row per eligible screen, all with the
// flags ticked on the left: all of it or nothing.
void TfrmGrupo_Manut::SpeedButton3Click() {
    if (!groupId().isValid()) return;
    SQL_Permissao->disableControls();
    try {
        dv::Transaction t(*dm().ADOConexao());
        deleteAllPermissions();
        for (SQL_Formulario->first(); !SQL_Formulario->eof(); SQL_Formulario->next()) {
            appendPermission(SQL_Formulario->fieldByName(QStringLiteral("form_nome"))->asString());
            SQL_Permissao->post();
        }
        t.commit();
    } catch (...) {
        if (SQL_Permissao->isEditing()) SQL_Permissao->cancel();
        reopen(SQL_Permissao);
        reopen(SQL_Formulario);
        SQL_Permissao->enableControls();
        throw;
    }
    reopen(SQL_Permissao);
    reopen(SQL_Formulario);
    SQL_Permissao->enableControls();
}

void TfrmGrupo_Manut::SpeedButton4Click() {
    if (!groupId().isValid()) return;
    try {
        dv::Transaction t(*dm().ADOConexao());
        deleteAllPermissions();
        t.commit();
    } catch (...) {
        reopen(SQL_Permissao);
        reopen(SQL_Formulario);
        throw;
    }
}

void TfrmGrupo_Manut::Button1Click() {
    if (SQL_Permissao->isEditing()) SQL_Permissao->post();
}
