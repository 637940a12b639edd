#include "U_frmUsuario_Manut.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/FileDialogService.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBLookupCombo.h"
#include "ui_U_frmUsuario_Manut.h"
#include "ui_U_frmUsuario_Manut_TabSheet2.h"
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using dv::FieldDef;

// The children go after this screen: none of their signals may reach it then.
TfrmUsuario_Manut::~TfrmUsuario_Manut() {
    disconnect(dsPreferencia, nullptr, this, nullptr);
}

TfrmUsuario_Manut::TfrmUsuario_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmUsuario_Manut"), QStringLiteral("Manutenção de Usuário")) {
    Ui::frmUsuario_Manut dados;
    dados.setupUi(TabSheet1);
    DBEdit1 = dados.DBEdit1;
    DBEdit2 = dados.DBEdit2;
    DBEdit3 = dados.DBEdit3;
    edtSenha = dados.edtSenha;
    edtConfirma = dados.edtConfirma;
    DBLookupComboBox1 = dados.DBLookupComboBox1;
    DBEdit5 = dados.DBEdit5;
    DBCheckBox1 = dados.DBCheckBox1;
    DBLookupComboBox1->setLookup(dm().dsGrupo, QStringLiteral("grupo_id"), {QStringLiteral("grupo_nome")},
                                 {QStringLiteral("Grupo Nome")});

    // ---- "Preferência": the user's row of Preferencia, a detail of the user row ----
    SQL_Preferencia = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Preferencia"), this);
    SQL_Preferencia->sql() = {QStringLiteral("select * from Preferencia where usuario_id  =  :usuario_id")};
    SQL_Preferencia->setParam(QStringLiteral("usuario_id"), dv::ParamType::Integer, QVariant());
    // Tagged: no mask chosen by their labels.
    SQL_Preferencia->addField(FieldDef::column(QStringLiteral("pref_id"), QStringLiteral("Id")).withTag(1));
    SQL_Preferencia->addField(
        FieldDef::column(QStringLiteral("usuario_id"), QStringLiteral("Usuário")).withTag(1));
    SQL_Preferencia->addField(FieldDef::column(QStringLiteral("skin"), QStringLiteral("Skin")).withTag(1));
    SQL_Preferencia->addField(
        FieldDef::column(QStringLiteral("pref_fundo"), QStringLiteral("Fundo")).withTag(1));
    SQL_Preferencia->addField(FieldDef::column(QStringLiteral("pref_gride")).withTag(1));
    dsPreferencia = new dv::DataSource(SQL_Preferencia, QStringLiteral("dsPreferencia"), this);

    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QStringLiteral("Preferência"));
    Ui::frmUsuario_Manut_TabSheet2 preferencia;
    preferencia.setupUi(TabSheet2);
    DBEdit6 = preferencia.DBEdit6;
    DBLookupComboBox2 = preferencia.DBLookupComboBox2;
    DBEdit7 = preferencia.DBEdit7;
    btnProcurar = preferencia.btnProcurar;
    btnPadrao = preferencia.btnPadrao;
    DBLookupComboBox2->setLookup(dm().dsSkin, QStringLiteral("skin"), {QStringLiteral("skin")},
                                 {QStringLiteral("Skin")});

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
    // Stored exactly as typed, as the login compares it: blanks are part of a password.
    const QString password = edtSenha->text();
    if (!password.isEmpty())
        user->fieldByName(QStringLiteral("usuario_senha"))->setAsString(Tdm::passwordHash(password));
    dv::Field* confirm = user->fieldByName(QStringLiteral("usuario_confirma"));
    if (!confirm->isNull()) confirm->clear();
}

void TfrmUsuario_Manut::BitBtn1Click() {
    dv::Dataset* user = editedDataset();
    if (user && user->isEditing()) {
        if (edtSenha->text() != edtConfirma->text()) {
            dv::services().dialogs().information(dv::text("Senha não confirmada..."));
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
    request.filter = dv::text("Todas as imagens (*.jpg;*.jpeg;*.bmp;*.png)|*.jpg;*.jpeg;*.bmp;*.png|"
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
