#include "U_frmPaciente_Manut.h"
#include "PacienteManutPhoto.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

using dv::Dataset;
using dv::FieldDef;

namespace {

const QString kJpegFilter = QStringLiteral("JPEG Imagem (*.jpg)|*.jpg");

dv::Dataset* query(const QString& name, const QString& sql, QObject* owner) {
    auto* d = new dv::Dataset(dm().ADOConexao(), name, owner);
    d->sql() = {sql};
    return d;
}

FieldDef field(const char* name, const QString& label = QString(), int width = 0, bool visible = true) {
    FieldDef def;
    def.name = QLatin1String(name);
    def.displayLabel = label;
    def.displayWidth = width;
    def.visible = visible;
    return def;
}

FieldDef lookup(const char* name, const QString& label, int width, Dataset* from, const char* key,
                const char* result) {
    FieldDef def = field(name, label, width);
    def.kind = dv::FieldKind::Lookup;
    def.type = dv::FieldType::String;
    def.lookupDataset = from;
    def.keyFields = QLatin1String(key);
    def.lookupKeyFields = QLatin1String(key);
    def.lookupResultField = QLatin1String(result);
    return def;
}

QVariant patientKey(Dataset* patient) {
    if (!patient || !patient->isActive() || patient->isEmpty()) return QVariant();
    return patient->fieldByName(QStringLiteral("paciente_id"))->asVariant();
}

} // namespace

TfrmPaciente_Manut::TfrmPaciente_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmPaciente_Manut"), QStringLiteral("Cadastro de Pacientes")) {
    createDatasets();
    buildDataPage();
    buildAnamnesisPage();
    buildPhotoPage();
    buildOpenPages();
    buildBottomBar();
    resize(900, 640);
}

TfrmPaciente_Manut::~TfrmPaciente_Manut() = default;

void TfrmPaciente_Manut::createDatasets() {
    SQL_Anamnese = query(QStringLiteral("SQL_Anamnese"),
                         QStringLiteral("select * from anamnese order by anamnese_ordem"), this);
    dsAnamnese = new dv::DataSource(SQL_Anamnese, QStringLiteral("dsAnamnese"), this);

    SQL_AnamnesePaciente =
        query(QStringLiteral("SQL_AnamnesePaciente"),
              QStringLiteral("select * from anamnese_paciente where paciente_id =:paciente_id"), this);
    SQL_AnamnesePaciente->addField(field("paciente_id", QString(), 0, false));
    SQL_AnamnesePaciente->addField(field("anamnese_id", QStringLiteral("Anamnese"), 0, false));
    SQL_AnamnesePaciente->addField(lookup("lk_Anamnese", QStringLiteral("Anamnese"), 60, dm().SQL_Anamnese,
                                          "anamnese_id", "anamnese_nome"));
    SQL_AnamnesePaciente->addField(field("anamnese_resposta", QStringLiteral("Resposta(S/N)"), 13));
    SQL_AnamnesePaciente->addField(field("anamnese_anotacao", QStringLiteral("Anotação"), 40));
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
    SQL_ServicoFazer->addField(field("consulta_id", QStringLiteral("Consulta id"), 10));
    SQL_ServicoFazer->addField(field("consulta_data", QStringLiteral("Data Consulta"), 13));
    SQL_ServicoFazer->addField(field("consulta_aprovado", QStringLiteral("Aprovado"), 9));
    SQL_ServicoFazer->addField(field("item_consulta_valor", QStringLiteral("Valor"), 12));
    SQL_ServicoFazer->addField(field("servico_id", QStringLiteral("Serviço"), 0, false));
    SQL_ServicoFazer->addField(
        lookup("lk_Servico", QStringLiteral("Serviço"), 28, dm().SQL_Servico, "servico_id", "servico_nome"));
    SQL_ServicoFazer->addField(field("item_consulta_descricao", QStringLiteral("Descrição"), 26));
    SQL_ServicoFazer->addField(field("item_consulta_concluido", QStringLiteral("Concluído"), 9));
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
    SQL_Parcelas->addField(field("consulta_id", QStringLiteral("Consulta id "), 10));
    SQL_Parcelas->addField(field("parcela_numero", QStringLiteral("Parcela"), 8));
    SQL_Parcelas->addField(field("consulta_data", QStringLiteral("Consulta Data"), 13));
    SQL_Parcelas->addField(field("parcela_vencimento", QStringLiteral("Vencimento"), 12));
    SQL_Parcelas->addField(field("parcela_valor_liquido", QStringLiteral("Valor liquido"), 13));
    SQL_Parcelas->addField(field("parcela_valor_pago", QStringLiteral("Valor Pago"), 12));
    SQL_Parcelas->addField(field("parcela_quitada", QStringLiteral("Quitada"), 8));
    SQL_Parcelas->addField(field("paracela_data_pagamento", QStringLiteral("Data Pagamento"), 14));
    dsParcelas = new dv::DataSource(SQL_Parcelas, QStringLiteral("dsParcelas"), this);

    SQL_Foto = query(QStringLiteral("SQL_Foto"),
                     QStringLiteral("select * from foto where paciente_id = :paciente_id"), this);
    SQL_Foto->addField(field("foto_titulo", QStringLiteral("Título"), 24));
    SQL_Foto->addField(field("foto_data", QString(), 11));
    SQL_Foto->addField(field("foto_id", QString(), 0, false));
    SQL_Foto->addField(field("paciente_id", QString(), 0, false));
    SQL_Foto->addField(field("foto_img", QString(), 0, false));
    dsFoto = new dv::DataSource(SQL_Foto, QStringLiteral("dsFoto"), this);
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
        for (Dataset* d : {SQL_Anamnese, SQL_AnamnesePaciente, SQL_ServicoFazer, SQL_Parcelas, SQL_Foto}) {
            if (!d->isActive()) d->open();
            QCoreApplication::processEvents();
        }
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
    btnGerarClick();
    showAnamnesisTab(true);
    QCoreApplication::processEvents();
    Dataset* shared = dm().SQL_Paciente;
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
    if (dv::services().dialogs().confirmation(
            QStringLiteral("Deja realmente refazer a Anamnese do paciente?"))) {
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
    request.filter = kJpegFilter;
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
    request.filter = kJpegFilter;
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
            QStringLiteral("Salve o cadastro do paciente antes de inserir fotos."));
        return;
    }
    SQL_Foto->append();
    const QString title =
        dv::services()
            .dialogs()
            .inputBox(QStringLiteral("Entre com o Título"), QStringLiteral("Título"), QStringLiteral("Foto"))
            .value_or(QStringLiteral("Foto"));
    SQL_Foto->fieldByName(QStringLiteral("foto_titulo"))->setAsString(title);
    SQL_Foto->fieldByName(QStringLiteral("foto_data"))->setAsDate(dv::services().clock().today());
    QCoreApplication::processEvents();
    dv::JPegToBanco(*jpeg, *SQL_Foto, QStringLiteral("foto_img"));
}

void TfrmPaciente_Manut::btnVerFotoClick() {
    dv::BancoToJPeg(*Image2, *SQL_Foto, QStringLiteral("foto_img"));
    if (SQL_Foto->isActive() && SQL_Foto->recordCount() > 0)
        GroupBox2->setTitle(QStringLiteral("Foto  cadastrada no dia ") +
                            SQL_Foto->fieldByName(QStringLiteral("foto_data"))
                                ->asDate()
                                .toString(QStringLiteral("dd/MM/yyyy")));
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
