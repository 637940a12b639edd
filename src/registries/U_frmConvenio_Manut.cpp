#include "U_frmConvenio_Manut.h"
#include "SharedLists.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/Dataset.h"
#include "toolkit/DBEdit.h"
#include "toolkit/DBGrid.h"
#include "ui_U_frmConvenio_Manut.h"
#include "ui_U_frmConvenio_Manut_Precos.h"
#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

using dv::FieldDef;

TfrmConvenio_Manut::TfrmConvenio_Manut(QWidget* parent)
    : TfrmCadastro(parent, QStringLiteral("frmConvenio_Manut"), QStringLiteral("Manutenção de Convênio")) {
    SQL_Tabela = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Tabela"), this);
    SQL_Tabela->sql() = {QStringLiteral("select * from tabela_convenio where convenio_id = :convenio_id")};
    SQL_Tabela->setParam(QStringLiteral("convenio_id"), dv::ParamType::Integer, QVariant());
    SQL_Tabela->addField(FieldDef::lookup(QStringLiteral("lk_servico"), QStringLiteral("Serviço"), 54,
                                          dm().SQL_Servico, QStringLiteral("servico_id"),
                                          QStringLiteral("servico_id"), QStringLiteral("servico_nome")));
    SQL_Tabela->addField(FieldDef::column(QStringLiteral("tabela_valor"), QStringLiteral("Valor"), 14)
                             .withType(dv::FieldType::Currency));
    SQL_Tabela->addField(FieldDef::column(QStringLiteral("tabela_data"), QStringLiteral("Data Tabela"), 10)
                             .withFormat(QStringLiteral("dd/mm/yyyy")));
    SQL_Tabela->addField(FieldDef::hidden(QStringLiteral("convenio_id")));
    SQL_Tabela->addField(
        FieldDef::column(QStringLiteral("servico_id"), QStringLiteral("Serviço")).asHidden());
    SQL_Tabela->OnNewRecord = [](dv::Dataset& d) {
        d.fieldByName(QStringLiteral("tabela_data"))->setAsDate(dv::services().clock().today());
    };
    dsTabela = new dv::DataSource(SQL_Tabela, QStringLiteral("dsTabela"), this);

    Ui::frmConvenio_Manut data;
    data.setupUi(TabSheet1);
    DBEdit1 = data.DBEdit1;
    DBEdit2 = data.DBEdit2;
    btnAtualiza = data.btnAtualiza;
    btnRemove = data.btnRemove;
    ProgressBar1 = data.ProgressBar1;
    ProgressBar1->hide();

    Ui::frmConvenio_Manut_Precos prices;
    TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet2, QString());
    prices.setupUi(TabSheet2);
    PageControl1->setTabText(PageControl1->indexOf(TabSheet2), TabSheet2->windowTitle());
    wwDBGrid1 = prices.wwDBGrid1;
    wwDBGrid1->setDataSource(dsTabela);
    wwDBGrid1->setEnterMovesToNextColumn(true);
    wwDBGrid1->setColumnLookup(QStringLiteral("lk_servico"), dm().dsServico, QStringLiteral("servico_id"),
                               {QStringLiteral("servico_nome"), QStringLiteral("servico_id"),
                                QStringLiteral("servico_ativo"), QStringLiteral("ramo_id")},
                               {40, 6, 5, 20},
                               {QStringLiteral("Serviço"), QStringLiteral("servico_id"),
                                QStringLiteral("servico_ativo"), QStringLiteral("Ramo")});
    buildBottomBar();

    connect(btnAtualiza, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnAtualizaClick(); }); });
    connect(btnRemove, &QPushButton::clicked, this, [this] { dv::guarded([this] { btnRemoveClick(); }); });
    connect(dsTabela, &dv::DataSource::dataChanged, this, [this] { dsTabelaDataChange(); });
    connect(dsTabela, &dv::DataSource::stateChanged, this, [this] { dsTabelaDataChange(); });
    resize(720, 500);
}

TfrmConvenio_Manut::~TfrmConvenio_Manut() {
    disconnect(dsUpdate, nullptr, this, nullptr);
    disconnect(dsTabela, nullptr, this, nullptr);
}

void TfrmConvenio_Manut::buildBottomBar() {
    QBoxLayout* row = nullptr;
    for (QBoxLayout* l : findChildren<QBoxLayout*>())
        if (l->indexOf(BitBtn1) >= 0) row = l;
    lbRegistro =
        new QLabel(QStringLiteral("Registro(s):"), BitBtn1->parentWidget() ? BitBtn1->parentWidget() : this);
    lbRegistro->setObjectName(QStringLiteral("lbRegistro"));
    dv::setComponentTag(lbRegistro, 9); // composed in code from the shared message
    if (row) row->insertWidget(0, lbRegistro);
}

QVariant TfrmConvenio_Manut::planId() const {
    dv::Dataset* plan = editedDataset();
    if (!plan || !plan->isActive() || plan->isEmpty() || plan->state() == dv::DatasetState::Insert)
        return QVariant();
    dv::Field* id = plan->fieldByName(QStringLiteral("convenio_id"));
    return id->isNull() ? QVariant() : id->asVariant();
}

void TfrmConvenio_Manut::FormShow() {
    TfrmCadastro::FormShow();
    if (!m_linked && editedDataset()) {
        SQL_Tabela->setMasterSource(dsUpdate);
        m_linked = true;
    }
    SQL_Tabela->open();
    dsUpdateDataChange();
    dsTabelaDataChange();
    DBEdit2->setFocus();
}

void TfrmConvenio_Manut::FormActivate() {
    TfrmCadastro::FormActivate();
    DBEdit2->setFocus();
}

void TfrmConvenio_Manut::dsUpdateDataChange() {
    TfrmCadastro::dsUpdateDataChange();
    // A new plan has no number until it is saved: its prices would belong to none.
    const bool saved = planId().isValid();
    btnAtualiza->setEnabled(saved);
    btnRemove->setEnabled(saved);
}

void TfrmConvenio_Manut::dsTabelaDataChange() {
    lbRegistro->setText(dv::sharedMessage(QStringLiteral("Lista"), QStringLiteral("sMsgRegistros"),
                                          QStringLiteral("Registro(s):"))
                            .trimmed() +
                        QStringLiteral(" %1").arg(SQL_Tabela->recordCount()));
}

void TfrmConvenio_Manut::BitBtn1Click() {
    TfrmCadastro::BitBtn1Click();
    // After the save, so that the other screens' plan choices see what was written.
    dv::Dataset* plan = editedDataset();
    if (plan && !plan->isEditing()) {
        dv::reloadShared(dm().SQL_Convenio);
        dv::reloadShared(dm().SQL_Tabela);
    }
    dsUpdateDataChange();
}

void TfrmConvenio_Manut::btnAtualizaClick() {
    const QVariant plan = planId();
    if (!plan.isValid()) return;
    if (!SQL_Tabela->isActive()) SQL_Tabela->open();
    auto& dialogs = dv::services().dialogs();
    if (!SQL_Tabela->isEmpty()) {
        dialogs.information(dv::text("Você tem que excluir a Tabela de Preços para gerar novamente!"));
        return;
    }
    dv::Dataset* services = dm().SQL_Servico;
    dv::reloadShared(services); // services added by another workstation are priced too
    const QDateTime today(dv::services().clock().today(), QTime(0, 0));
    dv::Connection& db = *dm().ADOConexao();
    {
        dv::WaitCursor cursor;
        ProgressBar1->setMaximum(qMax(1, services->recordCount()));
        ProgressBar1->setValue(0);
        ProgressBar1->show();
        struct HideBar {
            QProgressBar* bar;
            ~HideBar() {
                bar->hide();
                bar->setValue(0);
            }
        } hide{ProgressBar1};
        // Every price or none: a failure half-way leaves the plan without prices.
        dv::Transaction transaction(db);
        dv::ControlsDisabled off(services);
        int position = 0;
        for (services->first(); !services->eof(); services->next()) {
            ProgressBar1->setValue(++position);
            ProgressBar1->repaint();
            db.execute(QStringLiteral(
                           "insert into tabela_convenio (convenio_id, servico_id, tabela_valor, tabela_data) "
                           "values (:convenio_id, :servico_id, :tabela_valor, :tabela_data)"),
                       {{QStringLiteral("convenio_id"), dv::ParamType::Integer, plan},
                        {QStringLiteral("servico_id"), dv::ParamType::Integer,
                         services->fieldByName(QStringLiteral("servico_id"))->asVariant()},
                        {QStringLiteral("tabela_valor"), dv::ParamType::Currency,
                         QVariant::fromValue(dv::Currency())},
                        {QStringLiteral("tabela_data"), dv::ParamType::DateTime, today}});
        }
        transaction.commit();
    }
    dv::reloadShared(dm().SQL_Convenio);
    dv::reloadShared(services);
    dv::reloadShared(dm().SQL_Tabela);
    SQL_Tabela->close();
    SQL_Tabela->open();
    dialogs.information(dv::text(
        "Como foi criado um novo convênio, é necessário definir os preços da tabela para cada serviço, "
        "por padrão todos os serviços vão receber o valor (R$ 0,00) !"));
}

void TfrmConvenio_Manut::btnRemoveClick() {
    const QVariant plan = planId();
    if (!plan.isValid() || !SQL_Tabela->isActive()) return;
    SQL_Tabela->checkBrowseMode();
    const int prices = SQL_Tabela->recordCount();
    if (prices == 0) return;
    const QString count = prices == 1 ? dv::text("1 preço deste convênio será excluído.")
                                      : dv::text("%1 preços deste convênio serão excluídos.").arg(prices);
    if (!dv::services().dialogs().confirmation(
            dv::text("Deseja gerar a tabela de Preços novamente?\n\n%1").arg(count)))
        return;
    {
        dv::WaitCursor cursor;
        dv::Transaction transaction(*dm().ADOConexao());
        dm().ADOConexao()->execute(
            QStringLiteral("delete from tabela_convenio where convenio_id = :convenio_id"),
            {{QStringLiteral("convenio_id"), dv::ParamType::Integer, plan}});
        transaction.commit();
    }
    SQL_Tabela->close();
    SQL_Tabela->open();
    dv::reloadShared(dm().SQL_Tabela);
}
