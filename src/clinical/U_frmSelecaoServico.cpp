#include "U_frmSelecaoServico.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/FieldDef.h"
#include "framework/HelpPages.h"
#include "toolkit/DBGrid.h"
#include "toolkit/TransparentPicture.h"
#include <QBoxLayout>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using dv::Dataset;

namespace {

constexpr int kIconLeft = 44;
constexpr int kUpperTop = 39, kLowerTop = 30;

bool isUpper(int tooth) {
    const int quadrant = tooth / 10;
    return quadrant == 1 || quadrant == 2 || quadrant == 5 || quadrant == 6;
}
bool isLower(int tooth) {
    const int quadrant = tooth / 10;
    return quadrant == 3 || quadrant == 4 || quadrant == 7 || quadrant == 8;
}

// The picture in a blob column of a shared dataset's current row; null when none.
QImage currentPicture(Dataset* d, const char* column) {
    return QImage::fromData(d->fieldByName(QLatin1String(column))->asBytes());
}

} // namespace

TfrmSelecaoServico::TfrmSelecaoServico(Dataset* items, int tooth, qint64 item, const QString& location,
                                       QWidget* parent)
    : QDialog(parent), m_items(items), m_tooth(tooth), m_item(item), m_location(location) {
    setObjectName(QStringLiteral("frmSelecaoServico"));
    dv::ensureHelpTopic(this);
    setWindowTitle(QStringLiteral("Seleção de Serviço ou Procedimento"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    createDatasets();
    createLayout();
}

void TfrmSelecaoServico::createDatasets() {
    SQL_Servico = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Servico"), this);
    SQL_Servico->sql() = {QStringLiteral(
        "select distinct(Rtrim(S.servico_nome)) as servico_nome_distinto, S.* from Servico as S inner join "
        "Servico_Icone as SI on (SI.Servico_id = S.Servico_Id) where S.Servico_Id in (Select Servico_Id from "
        "Tabela_Convenio where convenio_id =:Convenio_Id) AND SI.local_dente_id = :local_dente_id order by "
        "Servico_Nome")};
    dsServico = new dv::DataSource(SQL_Servico, QStringLiteral("dsServico"), this);

    SQL_Icone = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Icone"), this);
    SQL_Icone->sql() = {QStringLiteral(
        "select si.icone_id, servico_id, icone_nome, icone_arquivo, si.local_dente_id, si.face_dente from "
        "servico_icone as si inner join icone as i on (si.icone_id = i.icone_id) where servico_id = "
        ":servico_id and si.local_dente_id = :local")};
    for (const dv::FieldDef& def :
         {dv::FieldDef::column("face_dente", "Serviço / Face", 30), dv::FieldDef::hidden("icone_id"),
          dv::FieldDef::hidden("servico_id"), dv::FieldDef::hidden("icone_nome"),
          dv::FieldDef::hidden("icone_arquivo"), dv::FieldDef::hidden("local_dente_id")})
        SQL_Icone->addField(def);
    dsIcone = new dv::DataSource(SQL_Icone, QStringLiteral("dsIcone"), this);
    connect(dsIcone, &dv::DataSource::dataChanged, this,
            [this] { dv::guarded([this] { dsIconeDataChange(); }); });
    connect(dsIcone, &dv::DataSource::datasetReset, this,
            [this] { dv::guarded([this] { dsIconeDataChange(); }); });
}

void TfrmSelecaoServico::createLayout() {
    auto* column = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* caption = new QLabel(dv::text("Serviços Disponíveis:"), this);
    caption->setObjectName(QStringLiteral("Label1"));
    DBLookupComboServico = new QComboBox(this);
    DBLookupComboServico->setObjectName(QStringLiteral("DBLookupComboServico"));
    DBLookupComboServico->setMinimumContentsLength(60);
    caption->setBuddy(DBLookupComboServico);
    connect(DBLookupComboServico, &QComboBox::currentIndexChanged, this,
            [this](int index) { dv::guarded([this, index] { servicoEscolhido(index); }); });
    top->addWidget(caption);
    top->addWidget(DBLookupComboServico, 1);
    column->addLayout(top);

    auto* middle = new QHBoxLayout;
    auto* preview = new QWidget(this);
    preview->setObjectName(QStringLiteral("pnlPreview"));
    preview->setFixedSize(125, 145);
    preview->setAutoFillBackground(true);
    QPalette white = preview->palette();
    white.setColor(QPalette::Window, Qt::white);
    preview->setPalette(white);
    imgDente = new QLabel(preview);
    imgDente->setObjectName(QStringLiteral("imgDente"));
    imgDente->setGeometry(0, 0, 125, 145);
    imgDente->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    imgIcone = new QLabel(preview);
    imgIcone->setObjectName(QStringLiteral("imgIcone"));
    imgIcone->setGeometry(kIconLeft, kUpperTop, 37, 75);
    imgIcone->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    middle->addWidget(preview, 0, Qt::AlignTop);

    wwDBGrid1 = new dv::DBGrid(this);
    wwDBGrid1->setObjectName(QStringLiteral("wwDBGrid1"));
    wwDBGrid1->setDataSource(dsIcone);
    wwDBGrid1->setReadOnly(true);
    middle->addWidget(wwDBGrid1, 1);

    lbLegenda = new QListWidget(this);
    lbLegenda->setObjectName(QStringLiteral("lbLegenda"));
    lbLegenda->setToolTip(dv::text("Legenda"));
    // The letters are the faces' codes; the names follow the interface language.
    lbLegenda->addItems({dv::text("M = Mesial"), dv::text("D = Distal"), dv::text("V = Vestibular"),
                         dv::text("L = Lingual"), dv::text("P = Palatina"), dv::text("O = Oclusal"),
                         dv::text("I = Incisal")});
    lbLegenda->setFixedWidth(110);
    lbLegenda->setFocusPolicy(Qt::NoFocus);
    middle->addWidget(lbLegenda);
    column->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    auto button = [this, bottom](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        bottom->addWidget(b);
        return b;
    };
    bottom->addStretch(1);
    BitBtn1 = button("BitBtn1", QStringLiteral("Incluir"));
    BitBtn3 = button("BitBtn3", QStringLiteral("Excluir"));
    BitBtn2 = button("BitBtn2", QStringLiteral("Fechar"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { dv::guarded([this] { BitBtn3Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject); // Escape does the same
    column->addLayout(bottom);
    resize(640, 260);
}

void TfrmSelecaoServico::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    // Centred over the main window, whichever screen opened it.
    QWidget* main = parentWidget();
    while (main && main->parentWidget())
        main = main->parentWidget();
    if (main) move(main->geometry().center() - rect().center());
    dv::guarded([this] { FormShow(); });
}

void TfrmSelecaoServico::FormShow() {
    {
        dv::ControlsDisabled off(SQL_Servico);
        SQL_Servico->close();
        dm().SQL_Paciente->openIfOnDemand();
        SQL_Servico->setParam(QStringLiteral("Convenio_Id"), dv::ParamType::String,
                              dm().SQL_Paciente->fieldByName(QStringLiteral("convenio_id"))->asString());
        SQL_Servico->setParam(QStringLiteral("local_dente_id"), dv::ParamType::String, m_location);
        SQL_Servico->open();
    }
    int chosen = 0;
    if (m_item != 0 && m_items->locate(QStringLiteral("item_consulta_id"), m_item)) {
        // Opened from an item's icon: its service and its own variant.
        const QVariant service = m_items->fieldByName(QStringLiteral("servico_id"))->asVariant();
        if (SQL_Servico->locate(QStringLiteral("servico_id"), service)) chosen = SQL_Servico->currentRow();
    }
    {
        const QSignalBlocker quiet(DBLookupComboServico);
        DBLookupComboServico->clear();
        for (SQL_Servico->first(); !SQL_Servico->eof(); SQL_Servico->next())
            DBLookupComboServico->addItem(
                SQL_Servico->fieldByName(QStringLiteral("servico_nome_distinto"))->asString().trimmed());
        DBLookupComboServico->setCurrentIndex(SQL_Servico->isEmpty() ? -1 : chosen);
    }
    servicoEscolhido(DBLookupComboServico->currentIndex());
    if (m_item != 0 && SQL_Icone->isActive() && m_items->currentRow() >= 0 &&
        m_items->fieldByName(QStringLiteral("item_consulta_id"))->asInteger() == m_item)
        SQL_Icone->locate(QStringLiteral("icone_id"),
                          m_items->fieldByName(QStringLiteral("icone_id"))->asVariant());
    DBLookupComboServico->setFocus();
}

void TfrmSelecaoServico::servicoEscolhido(int index) {
    if (index >= 0) SQL_Servico->moveTo(index);
    openVariants();
}

void TfrmSelecaoServico::openVariants() {
    SQL_Icone->close();
    const bool any = SQL_Servico->isActive() && !SQL_Servico->isEmpty();
    SQL_Icone->setParam(QStringLiteral("servico_id"), dv::ParamType::Integer,
                        any ? SQL_Servico->fieldByName(QStringLiteral("servico_id"))->asVariant()
                            : QVariant(0));
    SQL_Icone->setParam(QStringLiteral("local"), dv::ParamType::String, m_location);
    SQL_Icone->open();
    dsIconeDataChange();
}

void TfrmSelecaoServico::dsIconeDataChange() {
    if (isUpper(m_tooth))
        imgIcone->move(kIconLeft, kUpperTop);
    else if (isLower(m_tooth))
        imgIcone->move(kIconLeft, kLowerTop);

    Dataset* icons = dm().SQL_Icone;
    const bool variant = SQL_Icone->isActive() && !SQL_Icone->isEmpty();
    const QVariant icon =
        variant ? SQL_Icone->fieldByName(QStringLiteral("icone_id"))->asVariant() : QVariant(0);
    if (icons->isActive() && icons->locate(QStringLiteral("icone_id"), icon)) {
        const QImage picture = currentPicture(icons, "icone_img");
        if (!picture.isNull()) imgIcone->setPixmap(QPixmap::fromImage(dv::withColourKey(picture)));
    } else if (!variant) {
        imgIcone->clear(); // nothing offered: no icon to preview
    }

    // The whole tooth for the teeth rows; the generic tooth for faces and the strip.
    const bool wholeTooth = !m_location.startsWith(QLatin1String("TO"), Qt::CaseInsensitive) &&
                            !m_location.startsWith(QLatin1Char('Q'), Qt::CaseInsensitive);
    if (!wholeTooth) imgIcone->move(kIconLeft, kUpperTop);
    Dataset* teeth = dm().SQL_Dente;
    if (teeth->isActive() && teeth->locate(QStringLiteral("dente_id"), wholeTooth ? m_tooth : 0)) {
        const QImage tooth = currentPicture(teeth, "dente_img");
        if (!tooth.isNull()) imgDente->setPixmap(QPixmap::fromImage(tooth));
    }
}

void TfrmSelecaoServico::BitBtn1Click() {
    const bool variant = SQL_Icone->isActive() && !SQL_Icone->isEmpty() &&
                         SQL_Icone->fieldByName(QStringLiteral("servico_id"))->asInteger() != 0;
    if (!variant) {
        dv::services().dialogs().messageBox(
            dv::text("Não existe serviços a serem incluídos! Selecione outro..."));
        DBLookupComboServico->setFocus();
        return;
    }
    m_items->checkBrowseMode();
    m_items->append();
    try {
        m_items->fieldByName(QStringLiteral("servico_id"))
            ->setAsVariant(SQL_Icone->fieldByName(QStringLiteral("servico_id"))->asVariant());
        m_items->fieldByName(QStringLiteral("item_consulta_concluido"))->setAsString(QStringLiteral("N"));
        m_items->fieldByName(QStringLiteral("icone_id"))
            ->setAsVariant(SQL_Icone->fieldByName(QStringLiteral("icone_id"))->asVariant());
        m_items->fieldByName(QStringLiteral("dente_id"))->setAsInteger(m_tooth);
        m_items->fieldByName(QStringLiteral("local_dente_id"))->setAsString(m_location);
        m_items->post(); // the record prices it, totals it and draws its icon
    } catch (...) {
        // Not left pending for the record's next move to post again.
        if (m_items->isEditing()) m_items->cancel();
        throw;
    }
    accept();
}

void TfrmSelecaoServico::BitBtn3Click() {
    if (!dv::services().dialogs().confirmation(dv::text("Deseja realmente excluir o serviço?"))) return;
    if (m_item == 0 || !m_items->locate(QStringLiteral("item_consulta_id"), m_item)) return;
    m_items->deleteRecord(); // its icon goes first
    accept();
}
