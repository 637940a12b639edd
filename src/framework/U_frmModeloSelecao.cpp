#include "U_frmModeloSelecao.h"
#include "HelpPages.h"
#include "U_frmRelatorio.h"
#include "core/DateUtils.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/ToolkitTexts.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "framework/ScreenContext.h"
#include "toolkit/DBDateEdit.h"
#include "toolkit/ThemeIcons.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmModeloSelecao::TfrmModeloSelecao(QWidget* parent, const QString& formName, const QString& caption)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(formName);
    setWindowTitle(caption);
    setModal(true);
    dv::ensureIconTheme();

    GroupBox1 = new QGroupBox(QStringLiteral("Selecione as opções "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    wwDataI = new dv::DBDateEdit(GroupBox1);
    wwDataI->setObjectName(QStringLiteral("wwDataI"));
    wwDataF = new dv::DBDateEdit(GroupBox1);
    wwDataF->setObjectName(QStringLiteral("wwDataF"));
    Label1 = new QLabel(QStringLiteral("Data Inicial"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(wwDataI);
    Label2 = new QLabel(QStringLiteral("Data Final"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(wwDataF);

    auto* dates = new QGridLayout(GroupBox1);
    dates->setContentsMargins(14, 12, 14, 14);
    dates->setHorizontalSpacing(18);
    dates->setVerticalSpacing(4);
    dates->addWidget(Label1, 0, 0);
    dates->addWidget(wwDataI, 1, 0);
    dates->addWidget(Label2, 0, 1);
    dates->addWidget(wwDataF, 1, 1);

    btnAjuda =
        new QPushButton(QIcon::fromTheme(QStringLiteral("help-contents")), QStringLiteral("Ajuda"), this);
    btnAjuda->setObjectName(QStringLiteral("btnAjuda"));
    btnAjuda->setToolTip(QStringLiteral("Clique aqui para obter ajuda"));
    btnAjuda->setAutoDefault(false);
    BitBtn4 =
        new QPushButton(QIcon::fromTheme(QStringLiteral("document-print")), QStringLiteral("Imprimir"), this);
    BitBtn4->setObjectName(QStringLiteral("BitBtn4"));
    BitBtn4->setToolTip(QStringLiteral("Imprimir"));
    BitBtn4->setAutoDefault(false);
    BitBtn2 =
        new QPushButton(QIcon::fromTheme(QStringLiteral("window-close")), QStringLiteral("&Fechar"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setToolTip(QStringLiteral("Fechar"));
    BitBtn2->setAutoDefault(false);
    // Enter in a date box only takes the date; printing is asked for by the button.
    for (QPushButton* b : {btnAjuda, BitBtn4, BitBtn2})
        b->setMinimumWidth(92);

    SQL_Selecao = new dv::Dataset(dm().ADOConexao(), QStringLiteral("SQL_Selecao"), this);
    dsSelecao = new dv::DataSource(SQL_Selecao, QStringLiteral("dsSelecao"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAjuda);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn4);
    buttons->addWidget(BitBtn2);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->setSpacing(12);
    root->addWidget(GroupBox1);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnAjuda, &QPushButton::clicked, this, [this] { btnAjudaClick(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    TfrmModeloSelecao::FormCreate();
}

TfrmModeloSelecao::~TfrmModeloSelecao() = default;

QDate TfrmModeloSelecao::startDate() const {
    return wwDataI->date();
}
QDate TfrmModeloSelecao::endDate() const {
    return wwDataF->date();
}

bool TfrmModeloSelecao::checkPeriod() {
    for (dv::DBDateEdit* box : {wwDataI, wwDataF}) {
        if (box->date().isValid()) continue;
        dv::services().dialogs().warning(dv::toolkitText(dv::ToolkitText::CalendarInvalidDate));
        box->setFocus();
        box->selectAll();
        return false;
    }
    return true;
}

void TfrmModeloSelecao::FormCreate() {
    const QDate today = dv::services().clock().today();
    wwDataI->setDate(QDate(today.year(), today.month(), 1));
    wwDataF->setDate(dv::lastDayOfMonth(today));
}

void TfrmModeloSelecao::BitBtn4Click() {
    dv::showReportPicker(objectName(), this);
    done(QDialog::Accepted);
}

void TfrmModeloSelecao::BitBtn2Click() {
    done(QDialog::Rejected);
}

void TfrmModeloSelecao::btnAjudaClick() {
    dv::openHelpPage(objectName());
}

void TfrmModeloSelecao::FormClose() {
    SQL_Selecao->close();
}

void TfrmModeloSelecao::done(int result) {
    // Esc and the close box come here too.
    FormClose();
    QDialog::done(result);
}

void TfrmModeloSelecao::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    dv::ensureHelpTopic(this);
    dv::centreOnMainWindow(this);
    dv::applyLanguageFile(this);
    wwDataI->setFocus();
    wwDataI->selectAll();
}
