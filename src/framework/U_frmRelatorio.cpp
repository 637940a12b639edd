#include "U_frmRelatorio.h"
#include "HelpPages.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/Dataset.h"
#include "framework/ScreenContext.h"
#include "reporting/ReportProject.h"
#include "toolkit/ThemeIcons.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Alphabetical as a sorted list box shows it: case only breaks ties.
bool sortsBefore(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

} // namespace

TfrmRelatorio::TfrmRelatorio(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_project(std::make_unique<dv::ReportProject>()) {
    setObjectName(QStringLiteral("frmRelatorio"));
    setWindowTitle(QStringLiteral("Relatório"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setMinimumWidth(270);
    resize(380, 420);
    dv::ensureIconTheme();

    ReportLB = new QListWidget(this);
    ReportLB->setObjectName(QStringLiteral("ReportLB"));
    ReportLB->setSelectionMode(QAbstractItemView::SingleSelection);
    ReportLB->setUniformItemSizes(true);
    ReportLB->setStyleSheet(QStringLiteral("QListWidget::item { padding: 3px 4px; }"));

    Label1 = new QLabel(QStringLiteral("Relatórios disponíveis"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(ReportLB);

    DescMemo = new QPlainTextEdit(this);
    DescMemo->setObjectName(QStringLiteral("DescMemo"));
    DescMemo->setReadOnly(true);
    DescMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DescMemo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    DescMemo->setTabChangesFocus(true);

    Label2 = new QLabel(QStringLiteral("Descrição do Relatório selecionado"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(DescMemo);

    BitBtn1 = new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")), QStringLiteral("&Imprimir"),
                              this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn1->setMinimumWidth(96);
    BitBtn2 =
        new QPushButton(QIcon::fromTheme(QStringLiteral("window-close")), QStringLiteral("&Fechar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setAutoDefault(false);
    BitBtn2->setMinimumWidth(96);

    SQL_Relatorio = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Relatorio"), this);
    SQL_Relatorio->setSql(QStringLiteral("select * from relatorio where form_nome = :pform_nome"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(4);
    root->addWidget(Label1);
    root->addWidget(ReportLB, 3);
    root->addSpacing(8);
    root->addWidget(Label2);
    root->addWidget(DescMemo, 2);
    root->addSpacing(10);
    root->addLayout(buttons);

    // Moving through the list with the keys selects as a click does.
    connect(ReportLB, &QListWidget::currentRowChanged, this, [this] { ReportLBClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    FormCreate();
}

TfrmRelatorio::~TfrmRelatorio() {
    m_project->close();
}

bool TfrmRelatorio::projectOpen() const {
    return m_project->isOpen();
}

void TfrmRelatorio::FormCreate() {
    try {
        m_project->open();
    } catch (...) {
        dv::ErrorTranslator::handleCurrent();
        return;
    }
    try {
        SQL_Relatorio->close();
        SQL_Relatorio->setParam(QStringLiteral("pform_nome"), dv::ParamType::String,
                                dv::session().screenName().trimmed());
        SQL_Relatorio->open();
    } catch (...) {
        // Without the registrations no report is offered.
        dv::ErrorTranslator::handleCurrent();
    }
    // The registered reports of the project, shown by their registered title (the
    // internal name when it has none), the name kept with each item.
    struct Entry {
        QString title, name;
    };
    QList<Entry> entries;
    for (const QString& name : m_project->reportNames()) {
        if (!SQL_Relatorio->isActive() ||
            !SQL_Relatorio->locate(QStringLiteral("relat_nome"), name.trimmed()))
            continue;
        const QString title =
            SQL_Relatorio->fieldByName(QStringLiteral("relat_descricao"))->asString().trimmed();
        entries.append({title.isEmpty() ? name : title, name});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return sortsBefore(a.title, b.title); });
    const QSignalBlocker quiet(ReportLB);
    for (const Entry& e : entries) {
        auto* item = new QListWidgetItem(e.title, ReportLB);
        item->setData(Qt::UserRole, e.name);
    }
}

void TfrmRelatorio::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::ensureHelpTopic(this);
    dv::centreOnMainWindow(this);
    dv::applyLanguageFile(this);
    {
        const QSignalBlocker quiet(ReportLB);
        if (ReportLB->count() > 0) ReportLB->setCurrentRow(0);
    }
    ReportLBClick();
    ReportLB->setFocus();
}

void TfrmRelatorio::ReportLBClick() {
    if (ReportLB->count() == 0) return;
    QListWidgetItem* item = ReportLB->currentItem();
    if (!item) return;
    m_project->selectReport(item->data(Qt::UserRole).toString());
    DescMemo->setPlainText(m_project->description());
}

void TfrmRelatorio::BitBtn1Click() {
    dv::WaitCursor cursor;
    if (ReportLB->count() == 0) {
        cursor.restore();
        dv::services().dialogs().information(dv::text("Não existem relatórios a serem impressos..."));
        return;
    }
    try {
        if (QListWidgetItem* item = ReportLB->currentItem())
            m_project->selectReport(item->data(Qt::UserRole).toString());
        m_project->execute();
    } catch (...) {
        cursor.restore();
        dv::ErrorTranslator::handleCurrent();
    }
}

void TfrmRelatorio::BitBtn2Click() {
    close();
}

namespace dv {

void showReportPicker(const QString& formName, QWidget* parent) {
    session().setScreenName(formName);
    QPointer<TfrmRelatorio> picker = new TfrmRelatorio(parent);
    if (!picker->projectOpen()) {
        // Nothing to choose from: the reason was already shown.
        delete picker.data();
        return;
    }
    picker->exec();
    // exec() frees a dialog that deletes itself on close; this is for a picker that
    // was hidden some other way.
    delete picker.data();
}

} // namespace dv
