#include "U_frmGrupo_Manut.h"
#include "AdministratorGroup.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/IncrementalSearch.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The eight flags, in the order of their check boxes on both sides.
struct Flag {
    const char* caption;
    const char* field;
};
constexpr Flag kFlags[] = {{"Novo", "form_novo"},         {"Alterar", "form_editar"},
                           {"Excluir", "form_excluir"},   {"Filtrar", "form_filtrar"},
                           {"Imprimir", "form_imprimir"}, {"Html", "form_html"},
                           {"Excel", "form_excel"},       {"Outros", "form_outros"}};

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QLabel* note(QWidget* parent, const char* name, const QString& text) {
    QLabel* l = label(parent, name, text);
    l->setStyleSheet(QStringLiteral("color: #6E6259; font-style: italic;"));
    return l;
}

QToolButton* moveButton(QWidget* parent, const char* name, const QString& caption, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setMinimumSize(48, 30);
    b->setStyleSheet(QStringLiteral(
        "QToolButton { font-weight: bold; border: 1px solid #B3A79C; border-radius: 3px; "
        "background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FBF9F7, stop:1 #E6DFD8); }"
        "QToolButton:hover { border-color: #8C6E5A; }"
        "QToolButton:pressed { background: #DCD3CA; }"
        "QToolButton:disabled { color: #A69C93; border-color: #D3CBC3; background: #EFEBE7; }"));
    return b;
}

dv::DBGrid* listGrid(QWidget* parent, const char* name, dv::DataSource* source) {
    auto* g = new dv::DBGrid(parent);
    g->setObjectName(QLatin1String(name));
    g->setDataSource(source);
    g->setReadOnly(true);
    g->setRowSelect(true);
    g->setTitleLines(1);
    // One column, as wide as the list.
    g->horizontalHeader()->setStretchLastSection(true);
    g->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return g;
}

} // namespace

// The children go after this screen: none of their signals may reach it then.
TfrmGrupo_Manut::~TfrmGrupo_Manut() {
    disconnect(dsUpdate, nullptr, this, nullptr);
}

TfrmGrupo_Manut::TfrmGrupo_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmGrupo_Manut"), QStringLiteral("Manutenção do Grupo")) {
    // ---- the group ----
    DBEdit1 = new dv::DBEdit(TabSheet1);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->bind(dsUpdate, QStringLiteral("grupo_id"));
    DBEdit1->setMaximumWidth(90);
    DBEdit2 = new dv::DBEdit(TabSheet1);
    DBEdit2->setObjectName(QStringLiteral("DBEdit2"));
    DBEdit2->bind(dsUpdate, QStringLiteral("grupo_nome"));
    DBCheckBox1 = new dv::DBCheckBox(QStringLiteral("Grupo Ativo"), TabSheet1);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->bind(dsUpdate, QStringLiteral("grupo_ativo"));

    // ---- the two lists ----
    SQL_Formulario = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Formulario"), this);
    SQL_Formulario->sql() = {
        QStringLiteral("select * from Formulario"),
        QStringLiteral(
            "where form_nome not in (select form_nome from grupo_permissao where grupo_id =  :grupo_id )"),
        QStringLiteral("and form_tipo <> 'P' and form_tipo <> 'S' and form_ativo = 'S'"),
        QStringLiteral("order by form_nome")};
    SQL_Formulario->setParam(QStringLiteral("grupo_id"), dv::ParamType::Integer, QVariant());
    SQL_Formulario->addField(dv::FieldDef{.name = QStringLiteral("form_descricao"),
                                          .displayLabel = QStringLiteral("Formulários"),
                                          .displayWidth = 30});
    dsFormulario = new dv::DataSource(SQL_Formulario, QStringLiteral("dsFormulario"), this);

    SQL_Permissao = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Permissao"), this);
    SQL_Permissao->sql() = {QStringLiteral("select * from grupo_permissao where grupo_id = :grupo_id"),
                            QStringLiteral("order by form_nome")};
    SQL_Permissao->setParam(QStringLiteral("grupo_id"), dv::ParamType::Integer, QVariant());
    SQL_Permissao->addField(dv::FieldDef{.name = QStringLiteral("lk_formulario"),
                                         .type = dv::FieldType::String,
                                         .displayLabel = QStringLiteral("Formulários"),
                                         .size = 100,
                                         .displayWidth = 30,
                                         .kind = dv::FieldKind::Lookup,
                                         .lookupDataset = dm().SQL_Formulario,
                                         .keyFields = QStringLiteral("form_nome"),
                                         .lookupKeyFields = QStringLiteral("form_nome"),
                                         .lookupResultField = QStringLiteral("form_descricao")});
    dsPermissao = new dv::DataSource(SQL_Permissao, QStringLiteral("dsPermissao"), this);

    pnPermissao = new QWidget(TabSheet1);
    pnPermissao->setObjectName(QStringLiteral("pnPermissao"));

    GroupBox1 = new QGroupBox(QStringLiteral("Permissões Disponíveis"), pnPermissao);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    wwIncrementalSearch1 = new dv::IncrementalSearch(GroupBox1);
    wwIncrementalSearch1->setObjectName(QStringLiteral("wwIncrementalSearch1"));
    wwIncrementalSearch1->setToolTip(QStringLiteral("Pesquisar"));
    wwIncrementalSearch1->setDataSource(dsFormulario);
    wwIncrementalSearch1->setSearchField(QStringLiteral("form_descricao"));
    wwIncrementalSearch1->setClearButtonEnabled(true);
    dv::setComponentTag(wwIncrementalSearch1, 1); // a search box, not a value to capitalize
    wwDBGrid1 = listGrid(GroupBox1, "wwDBGrid1", dsFormulario);
    auto* left = new QVBoxLayout(GroupBox1);
    left->addWidget(wwIncrementalSearch1);
    left->addWidget(wwDBGrid1, 1);
    left->addWidget(note(GroupBox1, "Label3", QStringLiteral("Disponível para todas as permissões.")));
    auto* leftFlags = new QGridLayout;
    QCheckBox** newBoxes[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4,
                              &CheckBox5, &CheckBox6, &CheckBox7, &CheckBox8};
    for (int i = 0; i < 8; ++i) {
        auto* c = new QCheckBox(QLatin1String(kFlags[i].caption), GroupBox1);
        c->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        *newBoxes[i] = c;
        m_newFlags << c;
        leftFlags->addWidget(c, i / 4, i % 4);
    }
    left->addLayout(leftFlags);

    GroupBox2 = new QGroupBox(QStringLiteral("Permissões do Grupo"), pnPermissao);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    wwDBGrid2 = listGrid(GroupBox2, "wwDBGrid2", dsPermissao);
    auto* right = new QVBoxLayout(GroupBox2);
    right->addWidget(wwDBGrid2, 1);
    right->addWidget(
        note(GroupBox2, "Label4", QStringLiteral("Disponível apenas p/ a permissão selecionada. ")));
    auto* rightFlags = new QGridLayout;
    dv::DBCheckBox** grantedBoxes[] = {&DBCheckBox2, &DBCheckBox3, &DBCheckBox4, &DBCheckBox5,
                                       &DBCheckBox6, &DBCheckBox7, &DBCheckBox8, &DBCheckBox9};
    for (int i = 0; i < 8; ++i) {
        auto* c = new dv::DBCheckBox(QLatin1String(kFlags[i].caption), GroupBox2);
        c->setObjectName(QStringLiteral("DBCheckBox%1").arg(i + 2));
        c->bind(dsPermissao, QLatin1String(kFlags[i].field));
        *grantedBoxes[i] = c;
        rightFlags->addWidget(c, i / 4, i % 4);
    }
    right->addLayout(rightFlags);
    Button1 = new QPushButton(QStringLiteral("Aplicar"), GroupBox2);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setToolTip(QStringLiteral("Grava Alterações feitas na Permissão Selecionada"));
    Button1->setAutoDefault(false);
    auto* apply = new QHBoxLayout;
    apply->addStretch();
    apply->addWidget(Button1);
    right->addLayout(apply);

    SpeedButton1 = moveButton(pnPermissao, "SpeedButton1", QStringLiteral(">"), QStringLiteral("Incluir"));
    SpeedButton2 = moveButton(pnPermissao, "SpeedButton2", QStringLiteral("<"), QStringLiteral("Remover"));
    SpeedButton3 =
        moveButton(pnPermissao, "SpeedButton3", QStringLiteral(">>"), QStringLiteral("Incluir Todos"));
    SpeedButton4 =
        moveButton(pnPermissao, "SpeedButton4", QStringLiteral("<<"), QStringLiteral("Remover Todos"));
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4})
        moves->addWidget(b);
    moves->addStretch();

    auto* editor = new QHBoxLayout(pnPermissao);
    editor->setContentsMargins(0, 0, 0, 0);
    editor->addWidget(GroupBox1, 1);
    editor->addLayout(moves);
    editor->addWidget(GroupBox2, 1);

    // ---- the page ----
    Panel1 = label(TabSheet1, "Panel1", QStringLiteral("Permissão do Grupo"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setMinimumHeight(26);
    Panel1->setStyleSheet(QStringLiteral("QLabel { background: #E8E0D8; border: 1px solid #C9C0B7; "
                                         "color: #5A4333; font-weight: bold; }"));
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(12);
    form->addWidget(label(TabSheet1, "Label1", QStringLiteral("id")), 0, 0);
    form->addWidget(DBEdit1, 0, 1, Qt::AlignLeft);
    form->addWidget(label(TabSheet1, "Label2", QStringLiteral("Grupo Nome")), 1, 0);
    form->addWidget(DBEdit2, 1, 1);
    form->addWidget(DBCheckBox1, 1, 2);
    form->setColumnStretch(1, 1);
    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(12, 12, 12, 12);
    page->setSpacing(8);
    page->addLayout(form);
    page->addWidget(Panel1);
    page->addWidget(pnPermissao, 1);

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
        QStringLiteral("As alterações só serão ativadas depois que você logar no sistema novamente!"));
    TfrmCadastro::BitBtn1Click();
    updateEditor();
}

void TfrmGrupo_Manut::appendPermission(const QString& formName) {
    SQL_Permissao->append();
    SQL_Permissao->fieldByName(QStringLiteral("grupo_id"))->setAsVariant(groupId());
    SQL_Permissao->fieldByName(QStringLiteral("form_nome"))->setAsString(formName);
    for (int i = 0; i < 8; ++i)
        SQL_Permissao->fieldByName(QLatin1String(kFlags[i].field))
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
