#include "U_frmPaciente_Manut.h"
#include "PacienteManutConsent.h"
#include "PacienteManutPhoto.h"
#include "PatientDataExport.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "ui_PacienteManutAnamnese.h"
#include "ui_PacienteManutConsentimento.h"
#include "ui_PacienteManutDados.h"
#include "ui_PacienteManutFotos.h"
#include "ui_PacienteManutParcelas.h"
#include "ui_PacienteManutTratamentos.h"
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

using dv::Dataset;
using dv::FieldDef;

namespace {

// Looked up when used: the interface language is chosen after start-up.
QString jpegFilter() {
    return dv::text("JPEG Imagem (*.jpg)|*.jpg");
}

dv::Dataset* query(const QString& name, const QString& sql, QObject* owner) {
    auto* d = new dv::Dataset(dm().ADOConexao(), name, owner);
    d->sql() = {sql};
    return d;
}

// A page is a form of its own (PacienteManut*.ui): set up on the given page, or on a
// new one at the end of the tabs; the form's window title is the tab's caption.
template <typename Form> QWidget* setUpPage(QTabWidget* tabs, Form& form, QWidget* page = nullptr) {
    if (!page) {
        page = new QWidget;
        tabs->addTab(page, QString());
    }
    form.setupUi(page);
    tabs->setTabText(tabs->indexOf(page), page->windowTitle());
    return page;
}

QVariant patientKey(Dataset* patient) {
    if (!patient || !patient->isActive() || patient->isEmpty()) return QVariant();
    return patient->fieldByName(QStringLiteral("paciente_id"))->asVariant();
}

} // namespace

TfrmPaciente_Manut::TfrmPaciente_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmPaciente_Manut"), QStringLiteral("Cadastro de Pacientes")) {
    createDatasets();
    createPages();
    buildBottomBar();
    resize(960, 640);
}

TfrmPaciente_Manut::~TfrmPaciente_Manut() = default;

void TfrmPaciente_Manut::createDatasets() {
    SQL_Anamnese = query(QStringLiteral("SQL_Anamnese"),
                         QStringLiteral("select * from anamnese order by anamnese_ordem"), this);
    dsAnamnese = new dv::DataSource(SQL_Anamnese, QStringLiteral("dsAnamnese"), this);

    SQL_AnamnesePaciente =
        query(QStringLiteral("SQL_AnamnesePaciente"),
              QStringLiteral("select * from anamnese_paciente where paciente_id =:paciente_id"), this);
    SQL_AnamnesePaciente->addField(FieldDef::hidden("paciente_id"));
    SQL_AnamnesePaciente->addField(FieldDef::column("anamnese_id", "Anamnese").asHidden());
    SQL_AnamnesePaciente->addField(FieldDef::lookup("lk_Anamnese", "Anamnese", 60, dm().SQL_Anamnese,
                                                    "anamnese_id", "anamnese_id", "anamnese_nome"));
    SQL_AnamnesePaciente->addField(FieldDef::column("anamnese_resposta", "Resposta(S/N)", 13));
    SQL_AnamnesePaciente->addField(FieldDef::column("anamnese_anotacao", "Anotação", 40));
    dsAnamnesePaciente = new dv::DataSource(SQL_AnamnesePaciente, QStringLiteral("dsAnamnesePaciente"), this);

    SQL_ServicoFazer = query(
        QStringLiteral("SQL_ServicoFazer"),
        QStringLiteral(
            "SELECT consulta.consulta_id, consulta.consulta_data, consulta.consulta_aprovado, "
            "item_consulta.servico_id, item_consulta.item_consulta_valor, "
            "item_consulta.item_consulta_descricao, "
            "item_consulta.item_consulta_concluido, consulta.paciente_id FROM consulta INNER JOIN "
            "item_consulta ON "
            "consulta.consulta_id = item_consulta.consulta_id where consulta.paciente_id = :paciente_id and "
            "item_consulta.item_consulta_concluido = 'N'"),
        this);
    SQL_ServicoFazer->addField(FieldDef::column("consulta_id", "Consulta id", 10));
    SQL_ServicoFazer->addField(FieldDef::column("consulta_data", "Data Consulta", 13));
    SQL_ServicoFazer->addField(FieldDef::column("consulta_aprovado", "Aprovado", 9));
    SQL_ServicoFazer->addField(FieldDef::column("item_consulta_valor", "Valor", 12));
    SQL_ServicoFazer->addField(FieldDef::column("servico_id", "Serviço").asHidden());
    SQL_ServicoFazer->addField(FieldDef::lookup("lk_Servico", "Serviço", 28, dm().SQL_Servico, "servico_id",
                                                "servico_id", "servico_nome"));
    SQL_ServicoFazer->addField(FieldDef::column("item_consulta_descricao", "Descrição", 26));
    SQL_ServicoFazer->addField(FieldDef::column("item_consulta_concluido", "Concluído", 9));
    dsServicoFazer = new dv::DataSource(SQL_ServicoFazer, QStringLiteral("dsServicoFazer"), this);

    SQL_Parcelas =
        query(QStringLiteral("SQL_Parcelas"),
              QStringLiteral(
                  "SELECT consulta.consulta_id, consulta.consulta_data, parcela.parcela_numero, "
                  "parcela.parcela_vencimento, parcela.parcela_valor_liquido, parcela.parcela_valor_pago, "
                  "parcela.paracela_data_pagamento, parcela.parcela_quitada FROM consulta INNER JOIN parcela "
                  "ON consulta.consulta_id = parcela.consulta_id where consulta.paciente_id = :paciente_id "
                  "and parcela.parcela_quitada = 'N'"),
              this);
    SQL_Parcelas->addField(FieldDef::column("consulta_id", "Consulta id ", 10));
    SQL_Parcelas->addField(FieldDef::column("parcela_numero", "Parcela", 8));
    SQL_Parcelas->addField(FieldDef::column("consulta_data", "Consulta Data", 13));
    SQL_Parcelas->addField(FieldDef::column("parcela_vencimento", "Vencimento", 12));
    SQL_Parcelas->addField(FieldDef::column("parcela_valor_liquido", "Valor liquido", 13));
    SQL_Parcelas->addField(FieldDef::column("parcela_valor_pago", "Valor Pago", 12));
    SQL_Parcelas->addField(FieldDef::column("parcela_quitada", "Quitada", 8));
    SQL_Parcelas->addField(FieldDef::column("paracela_data_pagamento", "Data Pagamento", 14));
    dsParcelas = new dv::DataSource(SQL_Parcelas, QStringLiteral("dsParcelas"), this);

    SQL_Foto = query(QStringLiteral("SQL_Foto"),
                     QStringLiteral("select * from foto where paciente_id = :paciente_id"), this);
    SQL_Foto->addField(FieldDef::column("foto_titulo", "Título", 24));
    SQL_Foto->addField(FieldDef::column("foto_data", {}, 11));
    SQL_Foto->addField(FieldDef::hidden("foto_id"));
    SQL_Foto->addField(FieldDef::hidden("paciente_id"));
    SQL_Foto->addField(FieldDef::hidden("foto_img"));
    dsFoto = new dv::DataSource(SQL_Foto, QStringLiteral("dsFoto"), this);
}

// ---- the pages ----

void TfrmPaciente_Manut::createPages() {
    // Entry order is creation order: the forms' order, page by page.
    Ui::PacienteManutDados data;
    setUpPage(PageControl1, data, TabSheet1);
    DBEditNome = data.DBEditNome;
    DBEditRg = data.DBEditRg;
    DBEditCpf = data.DBEditCpf;
    DBEditProfissao = data.DBEditProfissao;
    DBEditNumero = data.DBEditNumero;
    DBEditCep = data.DBEditCep;
    DBLookupUF = data.DBLookupUF;
    DBEditFone = data.DBEditFone;
    DBDateCadastro = data.DBDateCadastro;
    DBEditEmail = data.DBEditEmail;
    DBLookupConvenio = data.DBLookupConvenio;
    Image1 = data.Image1;
    Button4 = data.Button4;

    Ui::PacienteManutAnamnese anamnesis;
    TabSheet2 = setUpPage(PageControl1, anamnesis);
    Button1 = anamnesis.Button1;
    btnGerar = anamnesis.btnGerar;
    wwDBGrid2 = anamnesis.wwDBGrid2;

    Ui::PacienteManutFotos photos;
    TabSheet3 = setUpPage(PageControl1, photos);
    wwDBGrid4 = photos.wwDBGrid4;
    Button2 = photos.Button2;
    Button3 = photos.Button3;
    btnVerFoto = photos.btnVerFoto;
    GroupBox2 = photos.GroupBox2;
    Image2 = photos.Image2;
    CheckBox2 = photos.CheckBox2;
    CheckBox1 = photos.CheckBox1;
    CheckBox3 = photos.CheckBox3;

    Ui::PacienteManutTratamentos treatments;
    setUpPage(PageControl1, treatments);
    wwDBGrid3 = treatments.wwDBGrid3;

    Ui::PacienteManutParcelas installments;
    setUpPage(PageControl1, installments);
    wwDBGrid5 = installments.wwDBGrid5;

    Ui::PacienteManutConsentimento consent;
    setUpPage(PageControl1, consent);
    consentPage = new PacienteManutConsent({consent.chkConsentimentoTratamento, consent.chkConsentimentoFotos,
                                            consent.chkConsentimentoWhatsApp,
                                            consent.lblConsentimentoTratamento, consent.lblConsentimentoFotos,
                                            consent.lblConsentimentoWhatsApp, consent.wwDBGrid6},
                                           dsUpdate, this);

    DBLookupUF->setLookup(dm().dsUF, QStringLiteral("uf_id"),
                          {QStringLiteral("uf_id"), QStringLiteral("uf_nome")},
                          {QStringLiteral("UF"), QStringLiteral("Nome")});
    DBLookupUF->setDisplayWidths({4, 24});
    DBLookupConvenio->setLookup(dm().dsConvenio, QStringLiteral("convenio_id"),
                                {QStringLiteral("convenio_nome"), QStringLiteral("convenio_id")},
                                {QStringLiteral("Convênio"), QStringLiteral("id")});
    DBLookupConvenio->setDisplayWidths({30, 6});

    wwDBGrid2->setDataSource(dsAnamnesePaciente);
    wwDBGrid2->setCheckBoxField(QStringLiteral("anamnese_resposta"));
    wwDBGrid2->setFixedColumns(1);
    // Answers are generated, never typed in as new rows.
    wwDBGrid2->setAllowInsert(false);
    wwDBGrid2->setAllowDelete(false);
    wwDBGrid4->setDataSource(dsFoto);
    wwDBGrid4->setReadOnly(true);
    wwDBGrid4->viewport()->installEventFilter(this);
    wwDBGrid3->setDataSource(dsServicoFazer);
    wwDBGrid3->setReadOnly(true);
    wwDBGrid3->setCheckBoxField(QStringLiteral("consulta_aprovado"));
    wwDBGrid5->setDataSource(dsParcelas);
    wwDBGrid5->setReadOnly(true);
    wwDBGrid5->setCheckBoxField(QStringLiteral("parcela_quitada"));

    guard(Button4, &TfrmPaciente_Manut::Button4Click);
    guard(Button1, &TfrmPaciente_Manut::Button1Click);
    guard(btnGerar, &TfrmPaciente_Manut::btnGerarClick);
    guard(Button2, &TfrmPaciente_Manut::Button2Click);
    guard(Button3, &TfrmPaciente_Manut::Button3Click);
    guard(btnVerFoto, &TfrmPaciente_Manut::btnVerFotoClick);
    guard(CheckBox1, &TfrmPaciente_Manut::CheckBox1Click);
    guard(CheckBox2, &TfrmPaciente_Manut::CheckBox2Click);
    guard(CheckBox3, &TfrmPaciente_Manut::CheckBox3Click);
}

void TfrmPaciente_Manut::buildBottomBar() {
    // Beside the base's buttons, at the left of their bar.
    QBoxLayout* row = nullptr;
    for (QBoxLayout* l : findChildren<QBoxLayout*>())
        if (l->indexOf(BitBtn1) >= 0) row = l;
    QWidget* bar = BitBtn1->parentWidget() ? BitBtn1->parentWidget() : this;
    BitBtn3 = new QPushButton(QStringLiteral("Consultas"), bar);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setToolTip(QStringLiteral("Consultas do Paciente"));
    BitBtn3->setAutoDefault(false);
    BitBtn3->setMinimumSize(BitBtn2->minimumSize());
    btnExportarDados = new QPushButton(QStringLiteral("E&xportar dados"), bar);
    btnExportarDados->setObjectName(QStringLiteral("btnExportarDados"));
    btnExportarDados->setToolTip(QStringLiteral("Exportar dados do paciente"));
    btnExportarDados->setAutoDefault(false);
    btnExportarDados->setMinimumSize(BitBtn2->minimumSize());
    lbParcelas = new QLabel(dv::text("Existem parcelas em aberto"), bar);
    lbParcelas->setObjectName(QStringLiteral("lbParcelas"));
    lbParcelas->setStyleSheet(QStringLiteral("color: #ff0000; font-weight: bold;"));
    lbParcelas->hide();
    guard(BitBtn3, &TfrmPaciente_Manut::BitBtn3Click);
    guard(btnExportarDados, &TfrmPaciente_Manut::btnExportarDadosClick);
    if (row) {
        const int at = row->indexOf(btnAjuda) + 1;
        row->insertWidget(at, BitBtn3);
        row->insertWidget(at + 1, btnExportarDados);
        row->insertSpacing(at + 2, 12);
        row->insertWidget(at + 3, lbParcelas);
    }
    // The patient's certificates, declarations and prescriptions, outside any consultation.
    auto* btnDocumentos = new QPushButton(QStringLiteral("Documentos"), bar);
    btnDocumentos->setObjectName(QStringLiteral("btnDocumentos"));
    btnDocumentos->setToolTip(QStringLiteral("Atestados, declarações e receitas do paciente"));
    btnDocumentos->setAutoDefault(false);
    btnDocumentos->setMinimumSize(BitBtn2->minimumSize());
    if (row) row->insertWidget(row->indexOf(BitBtn3) + 1, btnDocumentos);
    connect(btnDocumentos, &QPushButton::clicked, this, [this] {
        dv::guarded([this] {
            dv::Dataset* record = editedDataset();
            const dv::Field* id = record && record->isActive() && !record->isEmpty()
                                      ? record->fieldByName(QStringLiteral("paciente_id"))
                                      : nullptr;
            if (!id || id->isNull()) {
                dv::services().dialogs().information(
                    dv::text("Salve o paciente antes de emitir documentos."));
                return;
            }
            dv::screenContext().openScreen(QStringLiteral("frmPaciente_Documentos"),
                                           {{QStringLiteral("paciente_id"), id->asVariant()}});
        });
    });
}

void TfrmPaciente_Manut::guard(QAbstractButton* button, void (TfrmPaciente_Manut::*handler)()) {
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { dv::guarded([this, handler] { (this->*handler)(); }); });
}

// ---- showing ----

void TfrmPaciente_Manut::FormShow() {
    TfrmCadastro::FormShow();
    // What is still open is only shown, whatever the group may change.
    for (dv::DBGrid* g : {wwDBGrid3, wwDBGrid5})
        g->setReadOnly(true);
    // The answers, open items and photos follow the patient being edited.
    for (Dataset* d : {SQL_AnamnesePaciente, SQL_ServicoFazer, SQL_Parcelas, SQL_Foto})
        d->setMasterSource(dsUpdate);
    consentPage->attach(editedDataset());
    try {
        if (Dataset* p = editedDataset()) dv::BancoToJPeg(*Image1, *p, QStringLiteral("paciente_foto"));
    } catch (...) {
        dv::ErrorTranslator::handleCurrent();
    }
    DBEditNome->setFocus();
}

void TfrmPaciente_Manut::FormActivate() {
    TfrmCadastro::FormActivate();
    if (!m_activated) {
        m_activated = true;
        for (Dataset* d : {SQL_Anamnese, SQL_AnamnesePaciente, SQL_ServicoFazer, SQL_Parcelas, SQL_Foto,
                           consentPage->SQL_Consentimento}) {
            if (!d->isActive()) d->open();
            QCoreApplication::processEvents();
        }
        consentPage->reload();
        m_ready = true;
    }
    // An activation while the queries are still being opened waits for them.
    if (!m_ready) return;
    // Once shown, the warning stays for the life of the screen.
    if (SQL_Parcelas->isActive() && !SQL_Parcelas->isEmpty()) lbParcelas->setVisible(true);
    Dataset* patient = editedDataset();
    showAnamnesisTab(!patient || patient->state() != dv::DatasetState::Insert);
}

void TfrmPaciente_Manut::showAnamnesisTab(bool shown) {
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), shown);
}

// ---- saving and the anamnesis ----

void TfrmPaciente_Manut::BitBtn1Click() {
    Dataset* patient = editedDataset();
    TfrmCadastro::BitBtn1Click();
    // A failed check leaves the row editing; "No" cancels it and closes the screen.
    if (!patient || patient->isEditing() || !isVisible() || patientKey(patient).isNull()) return;
    consentPage->reload();
    btnGerarClick();
    showAnamnesisTab(true);
    QCoreApplication::processEvents();
    Dataset* shared = dm().SQL_Paciente;
    if (!shared->isActive()) return; // read fresh by the first screen that needs it
    dv::ControlsDisabled off(shared);
    shared->close();
    shared->open();
}

void TfrmPaciente_Manut::btnGerarClick() {
    const QVariant patient = patientKey(editedDataset());
    if (patient.isNull()) return;
    if (!SQL_AnamnesePaciente->isActive()) SQL_AnamnesePaciente->open();
    if (!SQL_AnamnesePaciente->isEmpty()) return;
    if (!SQL_Anamnese->isActive()) SQL_Anamnese->open();
    // One answer per question, all or none.
    try {
        dv::Transaction transaction(*dm().ADOConexao());
        dv::ControlsDisabled off(SQL_AnamnesePaciente);
        for (SQL_Anamnese->first(); !SQL_Anamnese->eof(); SQL_Anamnese->next()) {
            SQL_AnamnesePaciente->append();
            SQL_AnamnesePaciente->fieldByName(QStringLiteral("paciente_id"))->setAsVariant(patient);
            SQL_AnamnesePaciente->fieldByName(QStringLiteral("anamnese_id"))
                ->setAsVariant(SQL_Anamnese->fieldByName(QStringLiteral("anamnese_id"))->asVariant());
            SQL_AnamnesePaciente->fieldByName(QStringLiteral("anamnese_resposta"))
                ->setAsString(QStringLiteral("N"));
            SQL_AnamnesePaciente->post();
        }
        transaction.commit();
    } catch (...) {
        if (SQL_AnamnesePaciente->isEditing()) SQL_AnamnesePaciente->cancel();
        SQL_AnamnesePaciente->refresh(); // drop the rows the database no longer has
        throw;
    }
    SQL_AnamnesePaciente->first();
}

void TfrmPaciente_Manut::Button1Click() {
    if (dv::services().dialogs().confirmation(dv::text("Deja realmente refazer a Anamnese do paciente?"))) {
        if (!SQL_AnamnesePaciente->isActive()) SQL_AnamnesePaciente->open();
        try {
            dv::Transaction transaction(*dm().ADOConexao());
            {
                dv::ControlsDisabled off(SQL_AnamnesePaciente);
                SQL_AnamnesePaciente->checkBrowseMode();
                while (!SQL_AnamnesePaciente->isEmpty()) {
                    SQL_AnamnesePaciente->first();
                    SQL_AnamnesePaciente->deleteRecord();
                }
            }
            btnGerarClick();
            transaction.commit();
        } catch (...) {
            SQL_AnamnesePaciente->refresh();
            throw;
        }
        return;
    }
    btnGerarClick();
}

// ---- photos ----

void TfrmPaciente_Manut::Button4Click() {
    dv::FileDialogRequest request;
    request.filter = jpegFilter();
    const QString file = dv::services().fileDialogs().openFile(request);
    Dataset* patient = editedDataset();
    if (!file.isEmpty() && patient) {
        // The file is read and checked first: a bad file changes nothing, not even
        // the row's other pending changes.
        QString message;
        const std::optional<QByteArray> jpeg = dv::readJpegFile(file, &message);
        if (!jpeg) {
            dv::services().dialogs().warning(message);
        } else {
            if (patient->state() != dv::DatasetState::Insert) patient->edit();
            QCoreApplication::processEvents();
            dv::JPegToBanco(*jpeg, *patient, QStringLiteral("paciente_foto"));
        }
    }
    if (patient) dv::BancoToJPeg(*Image1, *patient, QStringLiteral("paciente_foto"));
}

void TfrmPaciente_Manut::Button2Click() {
    dv::FileDialogRequest request;
    request.filter = jpegFilter();
    const QString file = dv::services().fileDialogs().openFile(request);
    if (file.isEmpty()) return;
    QString message;
    const std::optional<QByteArray> jpeg = dv::readJpegFile(file, &message);
    if (!jpeg) {
        dv::services().dialogs().warning(message);
        return;
    }
    // A photo needs its patient's key: a new patient is saved first.
    if (patientKey(editedDataset()).isNull() || !SQL_Foto->isActive()) {
        dv::services().dialogs().information(
            dv::text("Salve o cadastro do paciente antes de inserir fotos."));
        return;
    }
    SQL_Foto->append();
    const QString title = dv::services()
                              .dialogs()
                              .inputBox(dv::text("Entre com o Título"), dv::text("Título"), dv::text("Foto"))
                              .value_or(dv::text("Foto"));
    SQL_Foto->fieldByName(QStringLiteral("foto_titulo"))->setAsString(title);
    SQL_Foto->fieldByName(QStringLiteral("foto_data"))->setAsDate(dv::services().clock().today());
    QCoreApplication::processEvents();
    dv::JPegToBanco(*jpeg, *SQL_Foto, QStringLiteral("foto_img"));
}

void TfrmPaciente_Manut::btnVerFotoClick() {
    dv::BancoToJPeg(*Image2, *SQL_Foto, QStringLiteral("foto_img"));
    if (!SQL_Foto->isActive() || SQL_Foto->recordCount() == 0) return;
    // Another language's words come from the shared message file.
    const QString shown =
        dv::sharedMessage(QStringLiteral("Paciente"), QStringLiteral("sFotoCadastradaNoDia"));
    GroupBox2->setTitle(
        (shown.isEmpty() ? QStringLiteral("Foto  cadastrada no dia ") : shown + QLatin1Char(' ')) +
        SQL_Foto->fieldByName(QStringLiteral("foto_data"))->asDate().toString(QStringLiteral("dd/MM/yyyy")));
}

void TfrmPaciente_Manut::Button3Click() {
    SQL_Foto->deleteRecord();
}

void TfrmPaciente_Manut::CheckBox1Click() {
    Image2->setCenter(!Image2->center());
}

void TfrmPaciente_Manut::CheckBox2Click() {
    Image2->setProportional(!Image2->proportional());
}

void TfrmPaciente_Manut::CheckBox3Click() {
    Image2->setStretch(!Image2->stretch());
}

bool TfrmPaciente_Manut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == wwDBGrid4->viewport() && event->type() == QEvent::MouseButtonPress) {
        // After the grid has moved to the clicked photo.
        QTimer::singleShot(0, this, [this] {
            dv::guarded([this] {
                if (!SQL_Foto->isEditing()) btnVerFotoClick();
            });
        });
    }
    return TfrmCadastro::eventFilter(watched, event);
}

// ---- consultations ----

void TfrmPaciente_Manut::BitBtn3Click() {
    dv::Dataset* record = editedDataset();
    const QVariant patient = record && record->isActive() && !record->isEmpty()
                                 ? record->fieldByName(QStringLiteral("paciente_id"))->asVariant()
                                 : QVariant();
    close();
    QCoreApplication::processEvents();
    // Once this screen's own loop has ended.
    QTimer::singleShot(0, qApp, [patient] {
        dv::guarded([&] {
            dv::screenContext().openScreen(QStringLiteral("frmConsulta"),
                                           {{QStringLiteral("paciente_id"), patient}});
        });
    });
}

// ---- the patient's data ----

void TfrmPaciente_Manut::btnExportarDadosClick() {
    dv::Dataset* record = editedDataset();
    const QVariant patient = patientKey(record);
    if (patient.isNull() || record->state() == dv::DatasetState::Insert) {
        dv::services().dialogs().information(
            dv::text("Salve o cadastro do paciente antes de exportar seus dados."));
        return;
    }
    dv::exportPatientDataAsked(patient.toLongLong());
}
