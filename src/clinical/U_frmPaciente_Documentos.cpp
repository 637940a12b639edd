#include "U_frmPaciente_Documentos.h"
#include "ConsultaDocumentos.h"
#include "DocumentPrint.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/Engine.h"
#include "core/db/FieldDef.h"
#include "framework/DataFieldBinding.h"
#include "framework/HelpPages.h"
#include "reporting/ReportProject.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBNavigator.h"
#include "ui_ConsultaManutDocumentos.h"
#include "ui_U_frmPaciente_Documentos.h"
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using dv::FieldDef;

namespace {
dv::Param intParam(const char* name, const QVariant& value) {
    return dv::Param{QString::fromLatin1(name), dv::ParamType::Integer, value};
}
} // namespace

TfrmPaciente_Documentos::TfrmPaciente_Documentos(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPaciente_Documentos"));
    setWindowTitle(QStringLiteral("Documentos do Paciente"));
    Ui::frmPaciente_Documentos ui;
    ui.setupUi(this);
    lblPaciente = ui.lblPaciente;
    cbDentista = ui.cbDentista;
    btnFechar = ui.btnFechar;
    btnAjuda = ui.btnAjuda;
    TabSheet4 = new QWidget(ui.pnlDocumentos);
    Ui::ConsultaManutDocumentos docs;
    docs.setupUi(TabSheet4);
    auto* box = new QVBoxLayout(ui.pnlDocumentos);
    box->setContentsMargins(0, 0, 0, 0);
    box->addWidget(TabSheet4);
    wwDBGridDoc = docs.wwDBGridDoc;
    DBNavigatorDoc = docs.DBNavigatorDoc;
    btnReceita = docs.btnReceita;

    SQL_Doc = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Doc"), this);
    // Oldest first, so that the newest is the last row (the server engine keeps no order of its own).
    SQL_Doc->sql() = {
        QStringLiteral("select * from documento where paciente_id = :paciente_id order by doc_id")};
    dv::Dataset* dentists = dm().SQL_Dentista;
    for (const FieldDef& def : {
             FieldDef::column("doc_id", "Id", 8),
             FieldDef::column("doc_nome", "Documento", 30),
             FieldDef::column("doc_data", "Data", 12).withFormat("dd/mm/yyyy"),
             FieldDef::lookup("LK_dentista", "Dentista", 28, dentists, "dentista_id", "dentista_id",
                              "dentista_nome"),
             FieldDef::column("consulta_id", "Consulta", 9),
             FieldDef::column("doc_texto", "Texto", 50),
             FieldDef::hidden("paciente_id"),
             FieldDef::hidden("dentista_id"),
         })
        SQL_Doc->addField(def);
    SQL_Doc->OnNewRecord = [this](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("paciente_id"))->setAsInteger(m_patient);
        d.fieldByName(QStringLiteral("dentista_id"))->setAsVariant(cbDentista->currentData());
        d.fieldByName(QStringLiteral("doc_data"))->setAsDate(dv::services().clock().today());
        if (dv::Field* user = d.findField(QStringLiteral("doc_usuario")))
            user->setAsString(dv::session().userLogin().left(30));
    };
    dsDoc = new dv::DataSource(SQL_Doc, QStringLiteral("dsDoc"), this);
    dv::bindDataFields(this, dsDoc);
    wwDBGridDoc->setDataSource(dsDoc);
    wwDBGridDoc->setReadOnly(true);
    wwDBGridDoc->setRowSelect(true);
    DBNavigatorDoc->setDataSource(dsDoc);

    Documentos = new ConsultaDocumentos(
        SQL_Doc,
        [this] {
            return DocumentSubject{m_patient, cbDentista->currentData(), QVariant(), QVariant()};
        },
        TabSheet4, this);
    DocImpressao = new DocumentPrint(this);

    connect(btnReceita, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnReceitaClick(); }); });
    connect(btnFechar, &QPushButton::clicked, this, &QDialog::close);
    connect(btnAjuda, &QPushButton::clicked, this, [this] { dv::openHelpPage(objectName()); });
    resize(1000, 680);
}

void TfrmPaciente_Documentos::applyArguments(const dv::ScreenArgs& args) {
    m_patient = args.value(QStringLiteral("paciente_id")).toLongLong();
    auto name =
        dm().ADOConexao()->query(QStringLiteral("select paciente_nome from paciente where paciente_id = :id"),
                                 {intParam("id", m_patient)});
    lblPaciente->setText(name->next() ? QString::fromUtf8(name->utf8(0)).trimmed() : QString());
    loadDentists();
    SQL_Doc->close();
    SQL_Doc->setParam(QStringLiteral("paciente_id"), dv::ParamType::Integer, m_patient);
    SQL_Doc->open();
    SQL_Doc->last(); // the newest document
}

// The logged user's own dentist record when the names match, else the dentist who saw
// the patient last, else the first.
void TfrmPaciente_Documentos::loadDentists() {
    cbDentista->clear();
    dv::Connection& db = *dm().ADOConexao();
    auto c = db.query(QStringLiteral(
        "select dentista_id, dentista_nome from dentista where dentista_ativo = 'S' order by dentista_nome"));
    while (c->next())
        cbDentista->addItem(QString::fromUtf8(c->utf8(1)).trimmed(), c->integer(0));
    auto user = db.query(
        QStringLiteral("select d.dentista_id from dentista d inner join usuario u on "
                       "lower(u.usuario_nome) = lower(d.dentista_nome) where u.usuario_login = :login"),
        {dv::Param{QStringLiteral("login"), dv::ParamType::Text, dv::session().userLogin()}});
    auto last = db.query(QStringLiteral("select dentista_id from consulta where paciente_id = :id "
                                        "order by consulta_data desc, consulta_id desc"),
                         {intParam("id", m_patient)});
    for (auto* chosen : {user.get(), last.get()}) {
        if (!chosen->next()) continue;
        const int at = cbDentista->findData(chosen->integer(0));
        if (at >= 0) {
            cbDentista->setCurrentIndex(at);
            return;
        }
    }
}

void TfrmPaciente_Documentos::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    wwDBGridDoc->refreshTitles();
    TabSheet4->findChild<QWidget*>(QStringLiteral("cmbModelo"))->setFocus();
}

void TfrmPaciente_Documentos::btnReceitaClick() {
    if (!SQL_Doc->isActive() || (SQL_Doc->isEmpty() && !SQL_Doc->isEditing())) {
        dv::services().dialogs().information(dv::text("Não há documento para imprimir."));
        return;
    }
    SQL_Doc->checkBrowseMode();
    if (!DocImpressao->prepare(SQL_Doc->fieldByName(QStringLiteral("doc_id"))->asInteger())) return;
    dv::WaitCursor cursor;
    dv::ReportProject project;
    project.open();
    project.execute(QStringLiteral("Relat_Documento"));
}

bool TfrmPaciente_Documentos::settlePending() {
    if (!SQL_Doc->isEditing()) return true;
    if (!SQL_Doc->isModified()) {
        SQL_Doc->cancel();
        return true;
    }
    switch (dv::services().dialogs().question(dv::text("Salvar o documento?"))) {
    case dv::DialogService::Answer::Yes: {
        bool saved = false;
        dv::guarded([&] {
            SQL_Doc->post();
            saved = true;
        });
        return saved;
    }
    case dv::DialogService::Answer::No:
        SQL_Doc->cancel();
        return true;
    case dv::DialogService::Answer::Cancel:
        break;
    }
    return false;
}

void TfrmPaciente_Documentos::closeEvent(QCloseEvent* event) {
    if (!settlePending()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmPaciente_Documentos::reject() {
    if (settlePending()) QDialog::reject();
}
