#include "U_frmServico_Manut.h"
#include "SharedLists.h"
#include "core/ErrorTranslator.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/Dataset.h"
#include "toolkit/DBCheckBox.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "toolkit/DBImage.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/DBNavigator.h"
#include "ui_U_frmServico_Manut.h"
#include "ui_U_frmServico_Manut_Icones.h"
#include "ui_U_frmServico_Manut_Precos.h"
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

using dv::FieldDef;

namespace {

template <typename Form> QWidget* addPage(QTabWidget* tabs, Form& form) {
    auto* page = new QWidget;
    tabs->addTab(page, QString());
    form.setupUi(page);
    tabs->setTabText(tabs->indexOf(page), page->windowTitle());
    return page;
}

} // namespace

TfrmServico_Manut::TfrmServico_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmServico_Manut"), QStringLiteral("Manutenção de Serviço")) {
    createDatasets();
    createPages();
    resize(820, 520);
}

TfrmServico_Manut::~TfrmServico_Manut() {
    disconnect(dsUpdate, nullptr, this, nullptr);
    disconnect(dsServicoIcone, nullptr, this, nullptr);
}

void TfrmServico_Manut::createDatasets() {
    SQL_Tabela = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Tabela"), this);
    SQL_Tabela->sql() = {QStringLiteral("select * from tabela_convenio where servico_id = :servico_id")};
    SQL_Tabela->setParam(QStringLiteral("servico_id"), dv::ParamType::Integer, QVariant());
    SQL_Tabela->addField(FieldDef::lookup(QStringLiteral("lk_convenio"), QStringLiteral("Convênio"), 30,
                                          dm().SQL_Convenio, QStringLiteral("convenio_id"),
                                          QStringLiteral("convenio_id"), QStringLiteral("convenio_nome")));
    SQL_Tabela->addField(
        FieldDef::column(QStringLiteral("tabela_valor"), QStringLiteral("Valor de Tabela"), 14)
            .withType(dv::FieldType::Currency));
    SQL_Tabela->addField(FieldDef::column(QStringLiteral("tabela_data"), QStringLiteral("Data da Tabela"), 12)
                             .withFormat(QStringLiteral("dd/mm/yyyy")));
    SQL_Tabela->addField(
        FieldDef::column(QStringLiteral("convenio_id"), QStringLiteral("Convênio")).asHidden());
    SQL_Tabela->addField(FieldDef::hidden(QStringLiteral("servico_id")));
    // A price typed today starts at today's date.
    SQL_Tabela->OnNewRecord = [](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("tabela_data"))->setAsDate(dv::services().clock().today());
    };
    dsTabela = new dv::DataSource(SQL_Tabela, QStringLiteral("dsTabela"), this);

    SQL_ServicoIcone = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_ServicoIcone"), this);
    SQL_ServicoIcone->sql() = {QStringLiteral(
        "select * from servico_icone where servico_id = :servico_id order by local_dente_id, face_dente")};
    SQL_ServicoIcone->setParam(QStringLiteral("servico_id"), dv::ParamType::Integer, QVariant());
    SQL_ServicoIcone->addField(
        FieldDef::column(QStringLiteral("local_dente_id"), QStringLiteral("Local"), 8));
    SQL_ServicoIcone->addField(FieldDef::column(QStringLiteral("face_dente"), QStringLiteral("Face"), 18));
    SQL_ServicoIcone->addField(FieldDef::column(QStringLiteral("icone_id"), QStringLiteral("Icone"), 24));
    SQL_ServicoIcone->addField(FieldDef::hidden(QStringLiteral("servico_id")));
    dsServicoIcone = new dv::DataSource(SQL_ServicoIcone, QStringLiteral("dsServicoIcone"), this);
}

void TfrmServico_Manut::createPages() {
    Ui::frmServico_Manut data;
    data.setupUi(TabSheet1);
    DBEdit1 = data.DBEdit1;
    DBEdit2 = data.DBEdit2;
    DBLookupComboBox1 = data.DBLookupComboBox1;
    DBCheckBox1 = data.DBCheckBox1;
    DBLookupComboBox1->setLookup(dm().dsRamo, QStringLiteral("ramo_id"), {QStringLiteral("ramo_id")},
                                 {QStringLiteral("Ramo")});

    Ui::frmServico_Manut_Precos prices;
    TabSheet2 = addPage(PageControl1, prices);
    wwDBGrid2 = prices.wwDBGrid2;
    wwDBGrid2->setDataSource(dsTabela);
    wwDBGrid2->setColumnLookup(QStringLiteral("lk_convenio"), dm().dsConvenio, QStringLiteral("convenio_id"),
                               {QStringLiteral("convenio_nome")}, {30}, {QStringLiteral("Convênio")});

    Ui::frmServico_Manut_Icones icons;
    TabSheet3 = addPage(PageControl1, icons);
    wwDBGrid1 = icons.wwDBGrid1;
    DBNavigator1 = icons.DBNavigator1;
    pnPreview = icons.pnPreview;
    imgIcone = icons.imgIcone;
    lbT = icons.lbT;
    lbR = icons.lbR;
    lbB = icons.lbB;
    lbL = icons.lbL;
    wwDBGrid1->setDataSource(dsServicoIcone);
    wwDBGrid1->setColumnLookup(QStringLiteral("local_dente_id"), dm().dsLocalDente,
                               QStringLiteral("local_dente_id"),
                               {QStringLiteral("local_dente_id"), QStringLiteral("local_dente_nome")},
                               {6, 26}, {QStringLiteral("local id"), QStringLiteral("local nome")});
    wwDBGrid1->setColumnPicker(QStringLiteral("icone_id"), dm().dsIcone, QStringLiteral("icone_id"),
                               QStringLiteral("icone_img"), QSize(30, 30),
                               {QStringLiteral("icone_nome"), QStringLiteral("icone_id")});
    DBNavigator1->setDataSource(dsServicoIcone);
    using Nav = dv::DBNavigator;
    DBNavigator1->setVisibleButtons({Nav::Prior, Nav::Next, Nav::Insert, Nav::Delete, Nav::Edit, Nav::Post,
                                     Nav::Cancel, Nav::Refresh, Nav::Filter});
    const QList<QPair<Nav::Button, QString>> hints = {
        {Nav::Prior, QStringLiteral("registro Anteiror")},
        {Nav::Next, QStringLiteral("Próximo registro")},
        {Nav::Insert, QStringLiteral("Insere registro")},
        {Nav::Delete, QStringLiteral("Exclui registro corrente")},
        {Nav::Edit, QStringLiteral("Edita")},
        {Nav::Post, QStringLiteral("Confirma mudanças")},
        {Nav::Cancel, QStringLiteral("Cancela mudanças feitas no registro corrente")},
        {Nav::Refresh, QStringLiteral("Atualiza registros")},
        {Nav::Filter, QStringLiteral("Filtrar o dataset")}};
    for (const auto& [button, hint] : hints)
        DBNavigator1->button(button)->setToolTip(hint);
    // The shared icon list's current row is the one previewed.
    imgIcone->bind(dm().dsIcone, QStringLiteral("icone_img"));
    connect(dsServicoIcone, &dv::DataSource::dataChanged, this,
            [this] { dv::guarded([this] { showIconPreview(); }); });
}

void TfrmServico_Manut::FormShow() {
    TfrmCadastro::FormShow();
    if (!m_linked && editedDataset()) {
        // Prices and icons follow the service being edited; new rows get its number.
        SQL_Tabela->setMasterSource(dsUpdate);
        SQL_ServicoIcone->setMasterSource(dsUpdate);
        m_linked = true;
    }
    SQL_ServicoIcone->open();
    SQL_Tabela->open();
    for (QLabel* l : {lbT, lbR, lbB, lbL})
        l->clear();
    // The preview follows the icon rows from the first one on.
    showIconPreview();
    dsUpdateDataChange();
    DBEdit2->setFocus();
}

void TfrmServico_Manut::dsUpdateDataChange() {
    TfrmCadastro::dsUpdateDataChange();
    dv::Dataset* service = editedDataset();
    const bool saved = service && service->state() != dv::DatasetState::Insert;
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), saved);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet3), saved);
}

void TfrmServico_Manut::BitBtn1Click() {
    TfrmCadastro::BitBtn1Click();
    // After the save, so that the other screens' service choices see what was written.
    dv::Dataset* service = editedDataset();
    if (service && !service->isEditing()) dv::reloadShared(dm().SQL_Servico);
}

QStringList TfrmServico_Manut::faceLabels(const QString& place) {
    // Upper quadrants have the vestibular face on top, lower ones the lingual; the
    // mesial face lies towards the midline.
    const QString p = place.trimmed().toUpper();
    if (p == QLatin1String("Q1"))
        return {QStringLiteral("V-T"), QStringLiteral("M-R"), QStringLiteral("P-B"), QStringLiteral("D-L")};
    if (p == QLatin1String("Q2"))
        return {QStringLiteral("V-T"), QStringLiteral("D-R"), QStringLiteral("P-B"), QStringLiteral("M-L")};
    if (p == QLatin1String("Q3"))
        return {QStringLiteral("L-T"), QStringLiteral("D-R"), QStringLiteral("V-B"), QStringLiteral("M-L")};
    if (p == QLatin1String("Q4"))
        return {QStringLiteral("L-T"), QStringLiteral("M-R"), QStringLiteral("V-B"), QStringLiteral("D-L")};
    return {QString(), QString(), QString(), QString()};
}

void TfrmServico_Manut::showIconPreview() {
    if (!SQL_ServicoIcone->isActive() || SQL_ServicoIcone->isEmpty()) {
        for (QLabel* l : {lbT, lbR, lbB, lbL})
            l->clear();
        return;
    }
    dv::Field* icon = SQL_ServicoIcone->fieldByName(QStringLiteral("icone_id"));
    dv::Dataset* icons = dm().SQL_Icone;
    // No match keeps the preview where it was.
    if (!icon->isNull() && icons->isActive()) icons->locate(QStringLiteral("icone_id"), icon->asVariant());
    const QStringList faces =
        faceLabels(SQL_ServicoIcone->fieldByName(QStringLiteral("local_dente_id"))->asString());
    lbT->setText(faces[0]);
    lbR->setText(faces[1]);
    lbB->setText(faces[2]);
    lbL->setText(faces[3]);
}
