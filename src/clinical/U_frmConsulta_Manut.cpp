#include "U_frmConsulta_Manut.h"
#include "ConsultaDocumentos.h"
#include "ConsultaParcelas.h"
#include "DocumentPrint.h"
#include "OdontogramaWidget.h"
#include "PacienteManutPhoto.h"
#include "U_frmSelecaoServico.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/DbErrors.h"
#include "framework/DataFieldBinding.h"
#include "framework/U_frmRelatorio.h"
#include "reporting/ReportConnections.h"
#include "reporting/ReportProject.h"
#include "toolkit/CollapsiblePanel.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include "toolkit/TransparentPicture.h"
#include "ui_ConsultaManutDados.h"
#include "ui_ConsultaManutDocumentos.h"
#include <QBoxLayout>
#include <QBuffer>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QToolButton>

using dv::Dataset;
using dv::FieldDef;

namespace {

const QString kFormName = QStringLiteral("frmConsulta_Manut");
const QString kKey = QStringLiteral("consulta_id");

Dataset* detailQuery(const QString& name, const QString& sql, QObject* owner) {
    auto* d = new Dataset(dm().ADOConexao(), name, owner);
    d->sql() = {sql};
    return d;
}

// The eight buttons of a detail's navigator, with their hints.
void setUpNavigator(dv::DBNavigator* nav, dv::DataSource* source) {
    using N = dv::DBNavigator;
    nav->setDataSource(source);
    const QList<QPair<N::Button, const char*>> buttons = {
        {N::Prior, "registro Anteiror"},
        {N::Next, "Próximo registro"},
        {N::Insert, "Insere registro"},
        {N::Delete, "Exclui registro corrente"},
        {N::Edit, "Edita"},
        {N::Post, "Confirma mudanças"},
        {N::Cancel, "Cancela mudanças feitas no registro corrente"},
        {N::Refresh, "Atualiza registros"},
    };
    QList<N::Button> shown;
    for (const auto& [button, hint] : buttons) {
        shown << button;
        nav->button(button)->setToolTip(QString::fromUtf8(hint));
    }
    nav->setVisibleButtons(shown);
}

} // namespace

TfrmConsulta_Manut::TfrmConsulta_Manut(QWidget* parent)
    : TfrmCadastro(parent, kFormName, QStringLiteral("Consultas do Paciente")) {
    createDatasets();
    createPages();
    createSideBar();
    BitBtn4->show();
    resize(1040, 700);
}

TfrmConsulta_Manut::~TfrmConsulta_Manut() {
    dv::reportConnections().removeOwnedBy(this);
}

// ---- building ----

void TfrmConsulta_Manut::createDatasets() {
    SQL_ItemConsulta =
        detailQuery(QStringLiteral("SQL_ItemConsulta"),
                    QStringLiteral("select * from item_consulta where consulta_id = :consulta_id"), this);
    for (const FieldDef& def : {
             FieldDef::column("dente_id", "Dente", 5),
             FieldDef::lookup("lk_servico", "Serviço", 45, dm().SQL_Servico, "servico_id", "servico_id",
                              "servico_nome"),
             FieldDef::column("item_consulta_descricao", "Obs", 33),
             FieldDef::column("item_consulta_valor", "Valor", 14),
             FieldDef::column("item_consulta_concluido", "Concluído", 9),
             FieldDef::column("servico_id", "Serviço").asRequired().asHidden(),
             FieldDef::hidden("item_consulta_id"),
             FieldDef::hidden("consulta_id"),
             FieldDef::hidden("local_dente_id"),
             FieldDef::hidden("icone_id"),
         })
        SQL_ItemConsulta->addField(def);
    SQL_ItemConsulta->OnNewRecord = [](Dataset& d) {
        d.fieldByName(QStringLiteral("dente_id"))->setAsInteger(0);
        d.fieldByName(QStringLiteral("item_consulta_valor"))->setAsCurrency(dv::Currency());
        d.fieldByName(QStringLiteral("item_consulta_concluido"))->setAsString(QStringLiteral("N"));
        d.fieldByName(QStringLiteral("local_dente_id"))->setAsString(QStringLiteral("TO"));
    };
    SQL_ItemConsulta->OnWrite = [this](Dataset&) { writeTotal(); };
    SQL_ItemConsulta->AfterPost = [this](Dataset& d) {
        d.refresh(); // keeps the row by its key
        SQL_Valor->close();
        SQL_Valor->open();
        btnExibeImgClick();
    };
    SQL_ItemConsulta->BeforeDelete = [this](Dataset&) { btnRemoveImgClick(); };
    SQL_ItemConsulta->AfterDelete = [this](Dataset&) {
        SQL_Valor->close();
        SQL_Valor->open();
    };
    SQL_ItemConsulta->fieldByName(QStringLiteral("servico_id"))->OnChange = [this](dv::Field& f) {
        servicoChanged(f);
    };
    dsItemConsulta = new dv::DataSource(SQL_ItemConsulta, QStringLiteral("dsItemConsulta"), this);

    SQL_Valor = detailQuery(
        QStringLiteral("SQL_Valor"),
        QStringLiteral(
            "select sum(item_consulta_valor) as total from item_consulta where consulta_id = :consulta_id"),
        this);
    dsValor = new dv::DataSource(SQL_Valor, QStringLiteral("dsValor"), this);

    SQL_Doc = detailQuery(QStringLiteral("SQL_Doc"),
                          QStringLiteral("select * from documento where consulta_id = :consulta_id"), this);
    Dataset* dentists = dm().SQL_Dentista;
    for (const FieldDef& def : {
             FieldDef::column("doc_id", "Id", 10),
             FieldDef::column("doc_nome", "Documento", 29),
             FieldDef::column("doc_data", "Data", 13).withFormat("dd/mm/yyyy"),
             FieldDef::column("doc_texto", "Texto", 56),
             FieldDef::lookup("LK_dentista", "Dentista", 40, dentists, "dentista_id", "dentista_id",
                              "dentista_nome")
                 .asHidden(),
             FieldDef::lookup("LK_CRO", "CRO", 20, dentists, "dentista_id", "dentista_id", "dentista_cro")
                 .asHidden(),
             FieldDef::hidden("consulta_id"),
             FieldDef::hidden("paciente_id"),
             FieldDef::hidden("dentista_id"),
         })
        SQL_Doc->addField(def);
    SQL_Doc->OnNewRecord = [this](Dataset& d) {
        // The document belongs to the consultation's patient and dentist.
        if (Dataset* c = editedDataset())
            for (const char* column : {"paciente_id", "consulta_id", "dentista_id"})
                d.fieldByName(QLatin1String(column))
                    ->setAsVariant(c->fieldByName(QLatin1String(column))->asVariant());
        d.fieldByName(QStringLiteral("doc_data"))->setAsDate(dv::services().clock().today());
        if (dv::Field* user = d.findField(QStringLiteral("doc_usuario")))
            user->setAsString(dv::session().userLogin().left(30));
    };
    dsDoc = new dv::DataSource(SQL_Doc, QStringLiteral("dsDoc"), this);

    SQL_Parcela = detailQuery(QStringLiteral("SQL_Parcela"),
                              QStringLiteral("select * from parcela where consulta_id = :consulta_id"), this);
    const QString date = QStringLiteral("dd/mm/yyyy");
    for (const FieldDef& def : {
             FieldDef::column("parcela_numero", "Parcela", 8),
             FieldDef::column("parcela_id", "Id", 8),
             FieldDef::column("parcela_data", "Data", 11).withFormat(date),
             FieldDef::column("parcela_vencimento", "Vencimento", 12).withFormat(date),
             FieldDef::column("parcela_valor", "Valor", 12),
             FieldDef::column("parcela_juros", "Juros", 10),
             FieldDef::column("parcela_desconto", "Desconto", 9),
             FieldDef::column("parcela_valor_pago", "Valor Pago", 10),
             FieldDef::column("parcela_valor_liquido", "Valor Liguido", 12),
             FieldDef::column("paracela_data_pagamento", "Data Pagamento", 16).withFormat(date),
             FieldDef::column("parcela_cheque_numero", "Cheque número", 20),
             FieldDef::column("parcela_cheque_data", "Cheque data", 18).withFormat(date),
             FieldDef::column("parcela_quitada", "Quitada", 1),
         })
        SQL_Parcela->addField(def);
    dsParcela = new dv::DataSource(SQL_Parcela, QStringLiteral("dsParcela"), this);

    dv::reportConnections().add(QStringLiteral("RvItemConsulta"), SQL_ItemConsulta, this);
    DocImpressao = new DocumentPrint(this);
    dv::reportConnections().add(QStringLiteral("RvConsulta_Manut_Parcela"), SQL_Parcela, this);
    // The chart prints as drawn for this consultation, whoever runs the report: nothing
    // is written beside the program, which may be read-only.
    dv::reportConnections().addPicture(
        QStringLiteral("Relat_Odontograma.Page1.Bitmap1"),
        [this] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            odontograma->chartPicture().save(&buffer, "PNG");
            return bytes;
        },
        this);
}

void TfrmConsulta_Manut::createPages() {
    Ui::ConsultaManutDados data;
    data.setupUi(TabSheet1);
    PageControl1->setTabText(0, TabSheet1->windowTitle());
    DBLookupPaciente = data.DBLookupPaciente;
    DBLookupDentista = data.DBLookupDentista;
    DBLookupFormaPagto = data.DBLookupFormaPagto;
    DBLookupPaciente->setLookup(
        dm().dsPaciente, QStringLiteral("paciente_id"),
        {QStringLiteral("paciente_nome"), QStringLiteral("paciente_rg"), QStringLiteral("paciente_fone")},
        {QStringLiteral("Nome"), QStringLiteral("RG"), QStringLiteral("Fone")});
    DBLookupPaciente->setReadOnly(true); // the list fixed the patient
    DBLookupDentista->setLookup(dm().dsDentista, QStringLiteral("dentista_id"),
                                {QStringLiteral("dentista_nome"), QStringLiteral("dentista_cro")},
                                {QStringLiteral("Nome"), QStringLiteral("CRO")});
    DBLookupDentista->setDisplayWidths({40, 20});
    DBLookupFormaPagto->setLookup(dm().dsFormaPagto, QStringLiteral("forma_pagamento_id"),
                                  {QStringLiteral("forma_pagamento_nome")},
                                  {QStringLiteral("Forma pagamento")});

    TabSheet2 = createItemsPage();
    PageControl1->addTab(TabSheet2, QStringLiteral("Odontograma (Orçamento)"));
    TabSheet3 = createInstallmentsPage();
    PageControl1->addTab(TabSheet3, QStringLiteral("Financeiro (Pagamentos) "));

    TabSheet4 = new QWidget;
    Ui::ConsultaManutDocumentos docs;
    docs.setupUi(TabSheet4);
    PageControl1->addTab(TabSheet4, TabSheet4->windowTitle());
    wwDBGridDoc = docs.wwDBGridDoc;
    wwDBGridDoc->setDataSource(dsDoc);
    wwDBGridDoc->setReadOnly(true);
    DBNavigatorDoc = docs.DBNavigatorDoc;
    setUpNavigator(DBNavigatorDoc, dsDoc);
    btnReceita = docs.btnReceita;
    connect(btnReceita, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnReceitaClick(); }); });
    Documentos = new ConsultaDocumentos(
        SQL_Doc,
        [this] {
            Dataset* c = editedDataset();
            if (!c || !c->isActive() || c->isEmpty()) return DocumentSubject{};
            auto v = [c](const char* name) { return c->fieldByName(QLatin1String(name))->asVariant(); };
            return DocumentSubject{v("paciente_id"), v("dentista_id"), v("consulta_id"), v("consulta_valor")};
        },
        TabSheet4, this);
    PageControl1->setCurrentIndex(0);
}

QWidget* TfrmConsulta_Manut::createItemsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* box = new QVBoxLayout(page);
    pnlOdontograma = new QWidget(page);
    pnlOdontograma->setObjectName(QStringLiteral("pnlOdontograma"));
    auto* chartBox = new QHBoxLayout(pnlOdontograma);
    chartBox->setContentsMargins(0, 0, 0, 0);
    odontograma = new OdontogramaWidget(dv::session().filePath(QStringLiteral("skins/")), pnlOdontograma);
    chartBox->addWidget(odontograma);
    chartBox->addStretch(1);
    connect(odontograma, &OdontogramaWidget::placeClicked, this,
            [this](int tooth, qint64 item, const QString& location) {
                selectPlace(tooth, item, location);
                btnServico->click();
            });
    box->addWidget(pnlOdontograma);

    auto* bar = new QWidget(page);
    bar->setObjectName(QStringLiteral("pnlBarraItens"));
    bar->setAutoFillBackground(true);
    QPalette gray = bar->palette();
    gray.setColor(QPalette::Window, QColor(0xd8, 0xd8, 0xd8));
    bar->setPalette(gray);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    auto button = [bar](const char* name, const char* text) {
        auto* b = new QPushButton(QString::fromUtf8(text), bar);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    btnOdontograma = button("btnOdontograma", "Odontograma");
    btnOdontograma->setToolTip(dv::text("Imprimir odontograma"));
    connect(btnOdontograma, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { bitBtnImprimirClick(); }); });
    btnExibeImg = button("btnExibeImg", "");
    btnRemoveImg = button("btnRemoveImg", "");
    btnServico = button("btnServico", "");
    for (QPushButton* hidden : {btnExibeImg, btnRemoveImg, btnServico})
        hidden->hide();
    connect(btnExibeImg, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnExibeImgClick(); }); });
    connect(btnRemoveImg, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnRemoveImgClick(); }); });
    connect(btnServico, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnServicoClick(); }); });
    DBNavigatorItem = new dv::DBNavigator(bar);
    DBNavigatorItem->setObjectName(QStringLiteral("DBNavigatorItem"));
    setUpNavigator(DBNavigatorItem, dsItemConsulta);
    row->addWidget(btnOdontograma);
    row->addWidget(btnExibeImg);
    row->addWidget(btnRemoveImg);
    row->addWidget(btnServico);
    row->addWidget(DBNavigatorItem);
    row->addStretch(1);
    box->addWidget(bar);

    wwDBGridItem = new dv::DBGrid(page);
    wwDBGridItem->setObjectName(QStringLiteral("wwDBGridItem"));
    wwDBGridItem->setDataSource(dsItemConsulta);
    wwDBGridItem->setTitleLines(2);
    wwDBGridItem->setEnterMovesToNextColumn(true);
    wwDBGridItem->setCheckBoxField(QStringLiteral("item_consulta_concluido"));
    wwDBGridItem->setColumnLookup(QStringLiteral("lk_servico"), dm().dsServico, QStringLiteral("servico_id"),
                                  {QStringLiteral("servico_nome"), QStringLiteral("ramo_id")}, {40, 20},
                                  {QStringLiteral("Serviço"), QStringLiteral("Ramo")});
    box->addWidget(wwDBGridItem, 1);
    return page;
}

QWidget* TfrmConsulta_Manut::createInstallmentsPage() {
    Parcelas = new ConsultaParcelas(SQL_Parcela, dsParcela, dsUpdate, this);
    wwDBGridParcela = Parcelas->wwDBGridParcela;
    setUpNavigator(Parcelas->DBNavigatorParcela, dsParcela);
    return Parcelas->page();
}

void TfrmConsulta_Manut::createSideBar() {
    auto* side = new QWidget(this);
    side->setObjectName(QStringLiteral("pnlLateral"));
    side->setFixedWidth(190);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 6, 0);

    pnlPaciente = new dv::CollapsiblePanel(QStringLiteral("Paciente"), side);
    pnlPaciente->setObjectName(QStringLiteral("pnlPaciente"));
    pnlPaciente->titleButton()->setObjectName(QStringLiteral("pnlPacienteTitulo"));
    imgPaciente = new dv::DBImage(pnlPaciente);
    imgPaciente->setObjectName(QStringLiteral("imgPaciente"));
    imgPaciente->setFixedSize(160, 190);
    imgPaciente->setProportional(true);
    imgPaciente->setCenter(true);
    lbNomePaciente = new QLabel(pnlPaciente);
    lbNomePaciente->setObjectName(QStringLiteral("lbNomePaciente"));
    lbNomePaciente->setWordWrap(true);
    QFont bold = lbNomePaciente->font();
    bold.setBold(true);
    lbNomePaciente->setFont(bold);
    lbIdade = new QLabel(pnlPaciente);
    lbIdade->setObjectName(QStringLiteral("lbIdade"));
    pnlPaciente->contentLayout()->addWidget(imgPaciente, 0, Qt::AlignHCenter);
    pnlPaciente->contentLayout()->addWidget(lbNomePaciente);
    pnlPaciente->contentLayout()->addWidget(lbIdade);

    pnlFinanceiro = new dv::CollapsiblePanel(QStringLiteral("Financeiro"), side);
    pnlFinanceiro->setObjectName(QStringLiteral("pnlFinanceiro"));
    pnlFinanceiro->titleButton()->setObjectName(QStringLiteral("pnlFinanceiroTitulo"));
    auto* caption = new QLabel(dv::text("Valor total da consulta"), pnlFinanceiro);
    caption->setObjectName(QStringLiteral("lbValorTotal"));
    DBEditValorTotal = new dv::DBEdit(pnlFinanceiro);
    DBEditValorTotal->setObjectName(QStringLiteral("DBEditValorTotal"));
    DBEditValorTotal->setProperty("dataField", QStringLiteral("consulta_valor"));
    DBEditValorTotal->setReadOnly(true);
    dv::setComponentTag(DBEditValorTotal, 1);
    pnlFinanceiro->contentLayout()->addWidget(caption);
    pnlFinanceiro->contentLayout()->addWidget(DBEditValorTotal);

    column->addWidget(pnlPaciente);
    column->addWidget(pnlFinanceiro);
    column->addStretch(1);

    // The side bar stands at the left of the pages.
    if (auto* outer = qobject_cast<QBoxLayout*>(layout())) {
        const int at = outer->indexOf(PageControl1);
        outer->removeWidget(PageControl1);
        auto* row = new QHBoxLayout;
        row->addWidget(side);
        row->addWidget(PageControl1, 1);
        outer->insertLayout(at, row, 1);
    }
}

// ---- showing ----

QString TfrmConsulta_Manut::ageText(const QDate& birth, const QDate& today) {
    const QString unit =
        QLatin1Char(' ') +
        dv::sharedMessage(QStringLiteral("Consulta"), QStringLiteral("sAnos"), QStringLiteral("anos")).trimmed();
    if (!birth.isValid() || !today.isValid() || birth > today) return QLatin1Char('0') + unit;
    // The calendar age: the birthday itself counts the new year.
    int years = today.year() - birth.year();
    if (today.month() < birth.month() || (today.month() == birth.month() && today.day() < birth.day()))
        --years;
    return QString::number(years) + unit;
}

QVariant TfrmConsulta_Manut::consultationKey() const {
    Dataset* c = editedDataset();
    return c && c->isActive() && !c->isEmpty() ? c->fieldByName(kKey)->asVariant() : QVariant();
}

void TfrmConsulta_Manut::FormShow() {
    TfrmCadastro::FormShow();
    for (Dataset* d : {dm().SQL_Icone, dm().SQL_Dente})
        d->disableControls();
    showPatient();
    reopenDetails();
    dsUpdateDataChange();
}

void TfrmConsulta_Manut::FormActivate() {
    TfrmCadastro::FormActivate();
    if (m_activated) return;
    m_activated = true;
    // A new consultation starts with its dentist; one already made with its chart.
    Dataset* c = editedDataset();
    if (c && c->state() == dv::DatasetState::Insert) {
        PageControl1->setCurrentWidget(TabSheet1);
        DBLookupDentista->setFocus();
    } else {
        PageControl1->setCurrentWidget(TabSheet2);
    }
}

void TfrmConsulta_Manut::showPatient() {
    Dataset* patient = dm().SQL_Paciente;
    if (!patient->isActive() || patient->isEmpty()) return;
    try {
        dv::BancoToJPeg(*imgPaciente, *patient, QStringLiteral("paciente_foto"));
    } catch (...) {
        dv::ErrorTranslator::handleCurrent();
    }
    lbNomePaciente->setText(patient->fieldByName(QStringLiteral("paciente_nome"))->asString());
    const dv::Field* birth = patient->fieldByName(QStringLiteral("paciente_data_nascimento"));
    lbIdade->setText(
        ageText(birth->isNull() ? QDate() : birth->asDateTime().date(), dv::services().clock().today()));
}

void TfrmConsulta_Manut::reopenDetails() {
    for (Dataset* d : {SQL_ItemConsulta, SQL_Valor, SQL_Parcela, SQL_Doc}) {
        dv::ControlsDisabled off(d);
        if (d->isActive()) d->close();
        d->setMasterSource(dsUpdate);
        d->open();
    }
    odontograma->removeAllItems();
    {
        dv::ControlsDisabled off(SQL_ItemConsulta);
        for (SQL_ItemConsulta->first(); !SQL_ItemConsulta->eof(); SQL_ItemConsulta->next())
            btnExibeImgClick();
        SQL_ItemConsulta->first();
    }
    Parcelas->open();
}

void TfrmConsulta_Manut::dsUpdateDataChange() {
    TfrmCadastro::dsUpdateDataChange();
    Dataset* c = editedDataset();
    showTabs(c && c->state() != dv::DatasetState::Insert);
}

void TfrmConsulta_Manut::showTabs(bool all) {
    // Only real changes: showing a tab again lays the pages out anew and repaints the
    // whole chart after every item posted.
    auto show = [this](QWidget* page, bool on) {
        const int i = PageControl1->indexOf(page);
        if (PageControl1->isTabVisible(i) != on) PageControl1->setTabVisible(i, on);
    };
    for (QWidget* page : {TabSheet2, TabSheet3, TabSheet4})
        show(page, all);
    show(TabSheet1, true);
}

void TfrmConsulta_Manut::BitBtn1Click() {
    TfrmCadastro::BitBtn1Click();
    Dataset* c = editedDataset();
    if (c && !c->isEditing()) showTabs(true);
}

bool TfrmConsulta_Manut::FormCloseQuery() {
    if (!TfrmCadastro::FormCloseQuery()) return false;
    for (Dataset* d : {dm().SQL_Icone, dm().SQL_Dente})
        d->enableControls();
    return true;
}

// ---- items ----

std::optional<dv::Currency> TfrmConsulta_Manut::planPrice(const QVariant& service) const {
    Dataset* c = editedDataset();
    if (service.isNull() || !c) return std::nullopt;
    auto row = dm().ADOConexao()->query(
        QStringLiteral("select tabela_valor from tabela_convenio where servico_id = :servico_id and "
                       "convenio_id = (select convenio_id from paciente where paciente_id = :paciente_id) "
                       "order by tabela_data desc"),
        {{QStringLiteral("servico_id"), dv::ParamType::Integer, service},
         {QStringLiteral("paciente_id"), dv::ParamType::Integer,
          c->fieldByName(QStringLiteral("paciente_id"))->asVariant()}});
    if (!row->next() || row->isNull(0)) return std::nullopt;
    return row->currency(0);
}

void TfrmConsulta_Manut::servicoChanged(dv::Field& service) {
    // Looked up by plan and service: no shared dataset's position decides the price.
    if (const auto price = planPrice(service.asVariant()))
        SQL_ItemConsulta->fieldByName(QStringLiteral("item_consulta_valor"))->setAsCurrency(*price);
}

void TfrmConsulta_Manut::writeTotal() {
    Dataset* c = editedDataset();
    const QVariant key = consultationKey();
    if (!c || key.isNull()) return;
    auto sum = dm().ADOConexao()->query(
        QStringLiteral(
            "select sum(item_consulta_valor) as total from item_consulta where consulta_id = :consulta_id"),
        {{kKey, dv::ParamType::Integer, key}});
    const dv::Currency total = sum->next() && !sum->isNull(0) ? sum->currency(0) : dv::Currency();
    dv::Field* value = c->fieldByName(QStringLiteral("consulta_valor"));
    const bool wasEditing = c->isEditing();
    const QVariant before = value->asVariant();
    try {
        if (!wasEditing) c->edit();
        value->setAsCurrency(total);
        c->post(); // with any other pending change of the consultation
    } catch (...) {
        // The item's write is undone with it: the consultation goes back as it was.
        if (!wasEditing) {
            if (c->isEditing()) c->cancel();
        } else {
            value->setAsVariant(before);
        }
        throw;
    }
}

// ---- documents ----

void TfrmConsulta_Manut::btnReceitaClick() {
    if (!SQL_Doc->isActive() || SQL_Doc->isEmpty()) {
        dv::services().dialogs().information(dv::text("Não há documento para imprimir."));
        return;
    }
    SQL_Doc->checkBrowseMode();
    DocImpressao->prepare(SQL_Doc->fieldByName(QStringLiteral("doc_id"))->asInteger());
    dv::session().setScreenName(kFormName);
    dv::showReportPicker(kFormName, this);
}

// ---- the chart ----

QImage TfrmConsulta_Manut::iconPicture(qint64 icon) {
    const auto cached = m_icons.constFind(icon);
    if (cached != m_icons.cend()) return *cached;
    QImage picture;
    Dataset* icons = dm().SQL_Icone;
    if (icons->isActive() && icons->locate(QStringLiteral("icone_id"), icon))
        picture =
            dv::withColourKey(QImage::fromData(icons->fieldByName(QStringLiteral("icone_img"))->asBytes()));
    m_icons.insert(icon, picture);
    return picture;
}

void TfrmConsulta_Manut::btnExibeImgClick() {
    Dataset* items = SQL_ItemConsulta;
    if (!items->isActive() || items->isEmpty()) return;
    const QString tooth = items->fieldByName(QStringLiteral("dente_id"))->asString();
    if (tooth == QLatin1String("0") || tooth.isEmpty()) return; // typed in the grid: no place on the chart
    const bool done =
        items->fieldByName(QStringLiteral("item_consulta_concluido"))->asString() == QLatin1String("S");
    const QString hint = items->fieldByName(QStringLiteral("lk_servico"))->asString().trimmed() +
                         (done ? dv::text(" .... (Concluído)") : dv::text(" .... (Não Conclúido)"));
    const dv::Field* icon = items->fieldByName(QStringLiteral("icone_id"));
    odontograma->showItem(items->fieldByName(QStringLiteral("local_dente_id"))->asString(), tooth.toInt(),
                          items->fieldByName(QStringLiteral("item_consulta_id"))->asInteger(),
                          icon->isNull() ? QImage() : iconPicture(icon->asInteger()), hint);
}

void TfrmConsulta_Manut::btnRemoveImgClick() {
    Dataset* items = SQL_ItemConsulta;
    if (!items->isActive() || items->isEmpty()) return;
    const QString tooth = items->fieldByName(QStringLiteral("dente_id"))->asString();
    if (tooth == QLatin1String("0") || tooth.isEmpty()) return;
    odontograma->removeItem(items->fieldByName(QStringLiteral("local_dente_id"))->asString(), tooth.toInt(),
                            items->fieldByName(QStringLiteral("item_consulta_id"))->asInteger());
}

void TfrmConsulta_Manut::selectPlace(int tooth, qint64 item, const QString& location) {
    m_selected = {tooth, item, location};
}

void TfrmConsulta_Manut::btnServicoClick() {
    TfrmSelecaoServico dialog(SQL_ItemConsulta, m_selected.tooth, m_selected.item, m_selected.location, this);
    dialog.exec();
}

void TfrmConsulta_Manut::bitBtnImprimirClick() {
    dv::WaitCursor cursor;
    dv::ReportProject project;
    project.open();
    project.execute(QStringLiteral("Relat_Odontograma"));
}
