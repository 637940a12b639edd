#include "U_frmLogin.h"
#include "Startup.h"
#include "U_frmPrincipal.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/VersionInfo.h"
#include "core/db/Dataset.h"
#include "framework/HelpPages.h"
#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPixmap>
#include <QVBoxLayout>

namespace {
const char* kSite = "https://www.dentrivale.com.br";
// The administrator the developer workstation logs in as.
const char* kDevLogin = "admin";
const char* kDevPassword = "admin";
} // namespace

TfrmLogin::TfrmLogin(TfrmPrincipal* mainWindow, Use use)
    : QDialog(use == Use::ChangeUser ? static_cast<QWidget*>(mainWindow) : nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_main(mainWindow), m_use(use) {
    setObjectName(QStringLiteral("frmLogin"));
    dv::ensureHelpTopic(this);
    setWindowTitle(QStringLiteral("Login"));
    setAttribute(Qt::WA_DeleteOnClose);
    setSizeGripEnabled(true);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setFixedSize(420, 140);
    imgLogo->setScaledContents(true);
    imgLogo->setStyleSheet(QStringLiteral("background: #5E4C40;"));

    auto* versionBar = new QHBoxLayout;
    auto* lbV = new QLabel(QStringLiteral("Versão:"), this);
    lbV->setObjectName(QStringLiteral("lbVersaoTitulo"));
    lbVersao = new QLabel(this);
    lbVersao->setObjectName(QStringLiteral("lbVersao"));
    auto* lbR = new QLabel(QStringLiteral("Release: "), this);
    lbR->setObjectName(QStringLiteral("lbReleaseTitulo"));
    lbRelease = new QLabel(this);
    lbRelease->setObjectName(QStringLiteral("lbRelease"));
    versionBar->addWidget(lbV);
    versionBar->addWidget(lbVersao);
    versionBar->addStretch();
    versionBar->addWidget(lbR);
    versionBar->addWidget(lbRelease);

    EditLogin = new QLineEdit(this);
    EditLogin->setObjectName(QStringLiteral("EditLogin"));
    EditSenha = new QLineEdit(this);
    EditSenha->setObjectName(QStringLiteral("EditSenha"));
    EditSenha->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    auto* lbUsuario = new QLabel(QStringLiteral("Usuário:"), this);
    lbUsuario->setObjectName(QStringLiteral("Label1"));
    auto* lbSenha = new QLabel(QStringLiteral("Senha:"), this);
    lbSenha->setObjectName(QStringLiteral("Label2"));
    form->addRow(lbUsuario, EditLogin);
    form->addRow(lbSenha, EditSenha);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    lbSite = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QLatin1String(kSite)), this);
    lbSite->setObjectName(QStringLiteral("lbSite"));
    dv::setComponentTag(lbSite, 9); // an address, the same in every language
    lbSite->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(lbSite, &QLabel::linkActivated, this,
            [](const QString& url) { dv::services().shell().open(url); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lbSite);
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancelar);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 10, 16, 12);
    body->addLayout(versionBar);
    body->addLayout(form);
    body->addWidget(ProgressBar1);
    body->addLayout(buttons);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->addWidget(imgLogo);
    root->addLayout(body);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancelar, &QPushButton::clicked, this, [this] { btnCancelarClick(); });
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    // Creation handler.
    if (dv::services().workstation().isDeveloperWorkstation()) {
        EditLogin->setText(QString::fromLatin1(kDevLogin));
        EditSenha->setText(QString::fromLatin1(kDevPassword));
    }
    const QString version = dv::versionOfExecutable(QCoreApplication::applicationFilePath());
    lbRelease->setText(version);
    lbVersao->setText(version.left(3));
}

void TfrmLogin::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    dv::applyLanguageFile(this);
    QPixmap banner(dv::languageVariantPath(QStringLiteral("skins\\config.jpg")));
    imgLogo->setPixmap(banner);
}

bool TfrmLogin::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) EditLogin->setFocus();
    return QDialog::event(e);
}

void TfrmLogin::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        btnCancelarClick();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TfrmLogin::btnOKClick() {
    Tdm& d = dm();
    QString release;
    if (d.SQL_Configuracao->isActive() && !d.SQL_Configuracao->isEmpty())
        release = d.SQL_Configuracao->fieldByName(QStringLiteral("Sistema_Release"))->asString().trimmed();
    if (dv::versionOfExecutable(QCoreApplication::applicationFilePath()) != release) {
        dv::services().dialogs().information(dv::text(
            "A versão do Sistema é diferente da versão do Banco de Dados! Não é possível acessar seu "
            "banco de dados com esta versão do sistema."));
        return;
    }
    d.SQL_Usuario->close();
    d.SQL_GrupoPermissao->close();
    // Passwords are stored as salted hashes: the typed password is verified here and
    // the query then selects the row by its stored hash, so the session is the same row.
    const QString login = EditLogin->text();
    d.SQL_Usuario->setParam(QStringLiteral("Login"), dv::ParamType::String, login);
    d.SQL_Usuario->setParam(QStringLiteral("Senha"), dv::ParamType::String,
                            d.storedPasswordFor(login, EditSenha->text()));
    d.SQL_Usuario->open();
    QCoreApplication::processEvents();
    d.SQL_GrupoPermissao->open();
    if (d.SQL_Usuario->isEmpty()) {
        dv::services().dialogs().information(dv::text("Login ou senha inválida!"));
        EditLogin->setFocus();
        return;
    }
    dv::session().setUserLogin(d.SQL_Usuario->fieldByName(QStringLiteral("usuario_login"))->asString());
    if (m_main) m_main->setLoginPanel(dv::text("Login: %1").arg(dv::session().userLogin()));
    ProgressBar1->show();
    // Five prescribed ticks of 100 ms hand over to the main window.
    Timer1.setInterval(dv::services().clock().tickInterval(100));
    Timer1.start();
}

void TfrmLogin::Timer1Timer() {
    ProgressBar1->setValue(qMin(100, ProgressBar1->value() + 20));
    if (ProgressBar1->value() >= 100) {
        Timer1.stop();
        if (m_main) {
            m_main->show();
            m_main->setVisible(true);
            m_main->showMaximized();
        }
        if (m_use == Use::ChangeUser)
            accept();
        else
            close();
    }
}

void TfrmLogin::btnCancelarClick() {
    Timer1.stop();
    dv::requestTermination();
    if (m_use == Use::ChangeUser)
        reject();
    else
        close();
}
