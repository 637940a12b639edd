#include "U_frmUsuario_Manut.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/FileDialogService.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBLookupCombo.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int kTagged = 1;

QLabel* label(QWidget* page, const char* name, const QString& text, QWidget* buddy) {
    auto* l = new QLabel(text, page);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

template <class Box> Box* box(QWidget* page, const char* name, dv::DataSource* source, const char* field) {
    auto* b = new Box(page);
    b->setObjectName(QLatin1String(name));
    b->bind(source, QLatin1String(field));
    return b;
}

QLineEdit* passwordBox(QWidget* page, const char* name) {
    auto* e = new QLineEdit(page);
    e->setObjectName(QLatin1String(name));
    e->setEchoMode(QLineEdit::Password);
    e->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // "*"
    e->setMaxLength(32);
    // Passwords stay as typed: never capitalized.
    dv::setComponentTag(e, kTagged);
    return e;
}

} // namespace

// The children go after this screen: none of their signals may reach it then.
TfrmUsuario_Manut::~TfrmUsuario_Manut() {
    disconnect(dsPreferencia, nullptr, this, nullptr);
}

TfrmUsuario_Manut::TfrmUsuario_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmUsuario_Manut"), QStringLiteral("Manutenção de Usuário")) {
    // ---- "Dados " ----
    DBEdit1 = box<dv::DBEdit>(TabSheet1, "DBEdit1", dsUpdate, "usuario_id");
    DBEdit2 = box<dv::DBEdit>(TabSheet1, "DBEdit2", dsUpdate, "usuario_nome");
    DBEdit3 = box<dv::DBEdit>(TabSheet1, "DBEdit3", dsUpdate, "usuario_login");
    edtSenha = passwordBox(TabSheet1, "edtSenha");
    edtConfirma = passwordBox(TabSheet1, "edtConfirma");
    DBLookupComboBox1 = box<dv::DBLookupCombo>(TabSheet1, "DBLookupComboBox1", dsUpdate, "grupo_id");
    DBLookupComboBox1->setLookup(dm().dsGrupo, QStringLiteral("grupo_id"), {QStringLiteral("grupo_nome")},
                                 {QStringLiteral("Grupo Nome")});
    DBEdit5 = box<dv::DBEdit>(TabSheet1, "DBEdit5", dsUpdate, "usuario_email");
    DBCheckBox1 = box<dv::DBCheckBox>(TabSheet1, "DBCheckBox1", dsUpdate, "usuario_ativo");
    DBCheckBox1->setText(QStringLiteral("Usuário Ativo"));
    DBEdit1->setMaximumWidth(90);
    DBLookupComboBox1->setMinimumWidth(260);

    auto* g = new QGridLayout(TabSheet1);
    g->setContentsMargins(16, 16, 16, 16);
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(8);
    int row = 0;
    g->addWidget(label(TabSheet1, "Label1", QStringLiteral("ID"), DBEdit1), row, 0);
    g->addWidget(DBEdit1, row++, 1, Qt::AlignLeft);
    g->addWidget(label(TabSheet1, "Label2", QStringLiteral("Nome"), DBEdit2), row, 0);
    g->addWidget(DBEdit2, row++, 1);
    g->addWidget(label(TabSheet1, "Label3", QStringLiteral("Login"), DBEdit3), row, 0);
    g->addWidget(DBEdit3, row++, 1);
    g->addWidget(label(TabSheet1, "Label4", QStringLiteral("Senha"), edtSenha), row, 0);
    g->addWidget(edtSenha, row++, 1);
    g->addWidget(label(TabSheet1, "Label5", QStringLiteral("Confirmação (Senha)"), edtConfirma), row, 0);
    g->addWidget(edtConfirma, row++, 1);
    g->addWidget(label(TabSheet1, "Label6", QStringLiteral("Grupo"), DBLookupComboBox1), row, 0);
    g->addWidget(DBLookupComboBox1, row++, 1);
    g->addWidget(label(TabSheet1, "Label7", QStringLiteral("email"), DBEdit5), row, 0);
    g->addWidget(DBEdit5, row++, 1);
    g->addWidget(DBCheckBox1, row++, 1);
    g->setColumnStretch(1, 1);
    g->setRowStretch(row, 1);

    // ---- "Preferência": the user's row of Preferencia, a detail of the user row ----
    SQL_Preferencia = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Preferencia"), this);
    SQL_Preferencia->sql() = {QStringLiteral("select * from Preferencia where usuario_id  =  :usuario_id")};
    SQL_Preferencia->setParam(QStringLiteral("usuario_id"), dv::ParamType::Integer, QVariant());
    const std::pair<const char*, const char*> preferenceFields[] = {{"pref_id", "Id"},
                                                                    {"usuario_id", "Usuário"},
                                                                    {"skin", "Skin"},
                                                                    {"pref_fundo", "Fundo"},
                                                                    {"pref_gride", ""}};
    for (const auto& [name, label] : preferenceFields)
        SQL_Preferencia->addField(dv::FieldDef{
            .name = QLatin1String(name), .displayLabel = QString::fromUtf8(label), .tag = kTagged});
    dsPreferencia = new dv::DataSource(SQL_Preferencia, QStringLiteral("dsPreferencia"), this);

    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Preferência"));
    DBEdit6 = box<dv::DBEdit>(TabSheet2, "DBEdit6", dsPreferencia, "pref_id");
    DBEdit6->setEnabled(false);
    DBEdit6->setMaximumWidth(90);
    DBLookupComboBox2 = box<dv::DBLookupCombo>(TabSheet2, "DBLookupComboBox2", dsPreferencia, "skin");
    DBLookupComboBox2->setLookup(dm().dsSkin, QStringLiteral("skin"), {QStringLiteral("skin")},
                                 {QStringLiteral("Skin")});
    DBEdit7 = box<dv::DBEdit>(TabSheet2, "DBEdit7", dsPreferencia, "pref_fundo");
    DBEdit7->setEnabled(false);
    btnProcurar = new QPushButton(QStringLiteral("procurar..."), TabSheet2);
    btnProcurar->setObjectName(QStringLiteral("btnProcurar"));
    btnPadrao = new QPushButton(QStringLiteral("Padrão"), TabSheet2);
    btnPadrao->setObjectName(QStringLiteral("btnPadrao"));
    btnPadrao->setToolTip(QStringLiteral("Volta a configuração padrão"));
    for (QObject* o : std::initializer_list<QObject*>{DBEdit6, DBLookupComboBox2, DBEdit7})
        dv::setComponentTag(o, kTagged);
    for (QPushButton* b : {btnProcurar, btnPadrao}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(96);
    }

    auto* p = new QGridLayout(TabSheet2);
    p->setContentsMargins(16, 16, 16, 16);
    p->setHorizontalSpacing(12);
    p->setVerticalSpacing(8);
    p->addWidget(label(TabSheet2, "Label8", QStringLiteral("Id"), DBEdit6), 0, 0);
    p->addWidget(DBEdit6, 0, 1, Qt::AlignLeft);
    p->addWidget(label(TabSheet2, "Label9", QStringLiteral("Skin (Layout do Sistema)"), DBLookupComboBox2), 1,
                 0);
    p->addWidget(DBLookupComboBox2, 1, 1, 1, 2);
    p->addWidget(label(TabSheet2, "Label10", QStringLiteral("Fundo (Papel de Parede)"), DBEdit7), 2, 0);
    p->addWidget(DBEdit7, 2, 1);
    p->addWidget(btnProcurar, 2, 2);
    auto* defaults = new QHBoxLayout;
    defaults->addStretch();
    defaults->addWidget(btnPadrao);
    p->addLayout(defaults, 3, 0, 1, 3);
    p->setColumnStretch(1, 1);
    p->setRowStretch(4, 1);

    connect(btnProcurar, &QPushButton::clicked, this, [this] { dv::guarded([&] { btnProcurarClick(); }); });
    connect(btnPadrao, &QPushButton::clicked, this, [this] { dv::guarded([&] { btnPadraoClick(); }); });
    for (QLineEdit* e : {edtSenha, edtConfirma})
        connect(e, &QLineEdit::textEdited, this, [this] { dv::guarded([&] { passwordTyped(); }); });
    // "Salvar" also serves the preference row.
    connect(dsPreferencia, &dv::DataSource::stateChanged, this, [this] { dsUpdateDataChange(); });
    resize(560, 400);
}

void TfrmUsuario_Manut::FormShow() {
    TfrmCadastro::FormShow();
    dv::Dataset* user = editedDataset();
    if (!m_linked && user) {
        SQL_Preferencia->setMasterSource(dsUpdate);
        m_linked = true;
    }
    if (user && user->isActive()) SQL_Preferencia->open();
    // A new user's preferences can be edited only once the user has been saved.
    const bool inserting = user && user->state() == dv::DatasetState::Insert;
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), !inserting);
    DBEdit2->setFocus();
}

void TfrmUsuario_Manut::FormClose() {
    // Changed preferences take effect for the screens opened from now on.
    dm().SQL_Preferencia->close();
    dm().SQL_Preferencia->open();
    TfrmCadastro::FormClose();
}

void TfrmUsuario_Manut::passwordTyped() {
    // A password typed alone makes the row changed, so that it can be saved.
    dv::Dataset* user = editedDataset();
    if (user && user->isActive() && !user->isEditing()) dsUpdate->edit();
}

void TfrmUsuario_Manut::writePassword() {
    dv::Dataset* user = editedDataset();
    const QString password = edtSenha->text().trimmed();
    if (!password.isEmpty())
        user->fieldByName(QStringLiteral("usuario_senha"))->setAsString(Tdm::passwordHash(password));
    dv::Field* confirm = user->fieldByName(QStringLiteral("usuario_confirma"));
    if (!confirm->isNull()) confirm->clear();
}

void TfrmUsuario_Manut::BitBtn1Click() {
    dv::Dataset* user = editedDataset();
    if (user && user->isEditing()) {
        if (edtSenha->text().trimmed() != edtConfirma->text().trimmed()) {
            dv::services().dialogs().information(QStringLiteral("Senha não confirmada..."));
            PageControl1->setCurrentWidget(TabSheet1);
            edtSenha->setFocus();
            return;
        }
        writePassword();
    }
    QPointer<TfrmUsuario_Manut> self(this);
    TfrmCadastro::BitBtn1Click();
    if (!self || !isVisible() || !user || user->state() != dv::DatasetState::Browse ||
        user->fieldByName(QStringLiteral("usuario_id"))->isNull())
        return;
    // Saved: the preferences are next.
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), true);
    PageControl1->setCurrentWidget(TabSheet2);
    if (!SQL_Preferencia->isActive()) SQL_Preferencia->open();
    if (!SQL_Preferencia->isEditing()) SQL_Preferencia->edit(); // appends when the user has none
}

void TfrmUsuario_Manut::dsUpdateDataChange() {
    TfrmCadastro::dsUpdateDataChange();
    if (SQL_Preferencia->isEditing()) BitBtn1->setEnabled(true);
}

void TfrmUsuario_Manut::editPreference() {
    if (!SQL_Preferencia->isActive()) SQL_Preferencia->open();
    if (SQL_Preferencia->state() != dv::DatasetState::Insert) SQL_Preferencia->edit();
}

void TfrmUsuario_Manut::btnProcurarClick() {
    editPreference();
    dv::FileDialogRequest request;
    request.caption = QStringLiteral("Abrir");
    request.folder = dv::session().executableFolder();
    request.filter = QStringLiteral("Todas as imagens (*.jpg;*.jpeg;*.bmp;*.png)|*.jpg;*.jpeg;*.bmp;*.png|"
                                    "JPEG Imagem (*.jpg;*.jpeg)|*.jpg;*.jpeg|Bitmaps (*.bmp)|*.bmp|"
                                    "PNG Imagem (*.png)|*.png");
    const QString file = dv::services().fileDialogs().openFile(request);
    if (!file.isEmpty()) SQL_Preferencia->fieldByName(QStringLiteral("pref_fundo"))->setAsString(file);
}

void TfrmUsuario_Manut::btnPadraoClick() {
    editPreference();
    SQL_Preferencia->fieldByName(QStringLiteral("skin"))->setAsString(QStringLiteral("SKIN0081.SKN"));
    SQL_Preferencia->fieldByName(QStringLiteral("pref_fundo"))->clear();
    SQL_Preferencia->fieldByName(QStringLiteral("pref_gride"))->setAsInteger(16053492);
}
