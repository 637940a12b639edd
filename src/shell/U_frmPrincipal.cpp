#include "U_frmPrincipal.h"
#include "PrincipalWallpaper.h"
#include "ScreenOpener.h"
#include "ScreenWindow.h"
#include "ShellIcons.h"
#include "ShellScreenContext.h"
#include "U_frmLogin.h"
#include "U_frmMenu.h"
#include "core/CodeTexts.h"
#include "core/ComponentTag.h"
#include "core/ErrorTranslator.h"
#include "core/LanguageFile.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/Termination.h"
#include "core/U_dm.h"
#include "core/VersionInfo.h"
#include "core/WritablePlaces.h"
#include "core/db/DbErrors.h"
#include "framework/HelpPages.h"
#include "toolkit/AccessKeys.h"
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSaveFile>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

TfrmPrincipal* g_main = nullptr;

const char* kSite = "https://www.dentrivale.com.br";
const char* kMainCaption = "Menu Principal do Sistema";

// Panels of the status bar, in order, with their widths.
constexpr int kPanelWidths[] = {100, 25, 65, 150, 150, 110, 50};

QProgressBar* panelProgressBar(QWidget* panel, const char* name) {
    // Drawn over the whole panel on the light grey of the panels (colour 15659506).
    auto* bar = new QProgressBar(panel);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setStyleSheet(QStringLiteral("QProgressBar { background: #F2F0EE; border: 1px solid #C9C0B7; "
                                      "border-radius: 2px; }"
                                      "QProgressBar::chunk { background: #7C6250; }"));
    auto* l = new QHBoxLayout(panel);
    l->setContentsMargins(0, 2, 0, 1);
    l->addWidget(bar);
    return bar;
}

} // namespace

TfrmPrincipal* frmPrincipal() {
    return g_main;
}

TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    g_main = this;
    setObjectName(QStringLiteral("frmPrincipal"));
    m_opener = new dv::ScreenOpener(this);
    m_context = std::make_unique<dv::ShellScreenContext>(this);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlPrincipal"));
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    createTabs();
    layout->addWidget(PageControl1);
    layout->addWidget(createHeader());

    m_client = new QStackedWidget(central);
    m_client->setObjectName(QStringLiteral("pnlCliente"));
    m_mdi = new QMdiArea(m_client);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    m_mdi->setBackground(QColor(0xCF, 0xC7, 0xBF));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_client->addWidget(createWallpaperArea());
    m_client->addWidget(m_mdi);
    layout->addWidget(m_client, 1);
    setCentralWidget(central);
    createMenus();

    Timer1.setInterval(1000);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1.start();
    qApp->installEventFilter(this);

    // Creation handler. An error in it is shown and the window is made all the same;
    // the watch over open screens and the maximising below come what may, or the
    // wallpaper would cover every screen.
    try {
        setWindowTitle(dv::session().applicationTitle());
        setWindowIcon(dv::shellIcon(dv::ShellIcon::StatusPicture));
        // Child screens and dialogs without a picture of their own carry the system's.
        QApplication::setWindowIcon(windowIcon());
        static_cast<QLabel*>(m_panels[0])->setText(dv::session().applicationName());
        static_cast<QLabel*>(m_panels[2])
            ->setText(dv::services().clock().today().toString(QStringLiteral("dd/MM/yyyy")));
        setLoginPanel(dv::text("Login: %1").arg(QString()));
        static_cast<QLabel*>(m_panels[5])
            ->setText(QStringLiteral("Release: ") +
                      dv::versionOfExecutable(QCoreApplication::applicationFilePath()));
        loadWallpaper();
    } catch (...) {
        dv::ErrorTranslator::handleCurrent();
    }
    // Whatever opens or closes, the wallpaper follows whether any screen is open.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] { childScreensChanged(); });
    childScreensChanged();
    // Title, menus, tabs and buttons in the interface language.
    dv::applyLanguageFile(this);
    // Alt+letter for the menus, in whichever language their captions came.
    dv::keepAccessKeys(menuBar());
    m_mainCaption = lbForm->text();
    resize(1024, 700);
    setWindowState(Qt::WindowMaximized);
}

TfrmPrincipal::~TfrmPrincipal() {
    qApp->removeEventFilter(this);
    delete m_menu.data();
    // The screens go first, while the window they report to is still whole.
    m_destroying = true;
    disconnect(m_mdi, nullptr, this, nullptr);
    qDeleteAll(m_mdi->subWindowList());
    m_context.reset();
    if (g_main == this) g_main = nullptr;
}

QToolButton* TfrmPrincipal::addButton(QWidget* page, const char* name, const QString& caption,
                                      const QString& hint, const QIcon& icon) {
    auto* b = new QToolButton(page);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setIcon(icon);
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumWidth(78);
    page->layout()->addWidget(b);
    return b;
}

void TfrmPrincipal::createTabs() {
    using dv::ShellIcon;
    using dv::shellIcon;
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    PageControl1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    PageControl1->setStyleSheet(QStringLiteral(
        "QTabWidget::pane { border: none; border-top: 1px solid #C9C0B7; border-bottom: 1px solid #C9C0B7; }"
        "QTabWidget > QWidget > QWidget { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 #FFFFFF, stop:1 #EEE9E4); }"
        "QTabBar { background: #E8E4E0; }"
        "QTabBar::tab { padding: 5px 16px; margin: 3px 1px 0 1px; border: 1px solid transparent; "
        "border-bottom: none; border-top-left-radius: 4px; border-top-right-radius: 4px; color: #5A4F46; }"
        "QTabBar::tab:first { margin-left: 6px; }"
        "QTabBar::tab:hover { background: #F4F1EE; }"
        "QTabBar::tab:selected { background: #FFFFFF; border-color: #C9C0B7; color: #5A4333; font-weight: "
        "bold; "
        "border-top: 2px solid #7C6250; }"
        "QToolButton { font-size: 8pt; padding: 4px 6px; color: #2A2521; }"));
    auto page = [this](const char* name, const QString& caption) {
        auto* w = new QWidget(PageControl1);
        w->setObjectName(QLatin1String(name));
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(6, 4, 6, 4);
        l->setSpacing(2);
        PageControl1->addTab(w, caption);
        return w;
    };
    QWidget* inicio = page("tsInicio", QStringLiteral("Início"));
    btnMenu = addButton(inicio, "btnMenu", QStringLiteral("Menu "),
                        QStringLiteral("Menu de Acesso ao Sistema (F8)"), shellIcon(ShellIcon::Menu));
    btnPacientes = addButton(inicio, "btnPacientes", QStringLiteral("Pacientes"), QStringLiteral("Pacientes"),
                             shellIcon(ShellIcon::Patients));
    btnAgenda = addButton(inicio, "btnAgenda", QStringLiteral("Agenda"), QStringLiteral("Agenda"),
                          shellIcon(ShellIcon::Agenda));
    btnPesquisaAgenda = addButton(inicio, "btnPesquisaAgenda", QStringLiteral("Pesquisa Ag."),
                                  QStringLiteral("Pesquisa Agenda"), shellIcon(ShellIcon::AgendaSearch));
    btnConsultas = addButton(inicio, "btnConsultas", QStringLiteral("Consultas"), QStringLiteral("Consultas"),
                             shellIcon(ShellIcon::Consultations));
    btnServicos = addButton(inicio, "btnServicos", QStringLiteral("Serviços "), QStringLiteral("Serviços"),
                            shellIcon(ShellIcon::Services));
    btnDentistas = addButton(inicio, "btnDentistas", QStringLiteral("Dentistas"), QStringLiteral("Dentistas"),
                             shellIcon(ShellIcon::Dentists));
    btnContatos = addButton(inicio, "btnContatos", QStringLiteral("Contatos"), QStringLiteral("Contatos"),
                            shellIcon(ShellIcon::Contacts));
    btnSair = addButton(inicio, "btnSair", QStringLiteral("Sair"), QStringLiteral("Sair do Sistema"),
                        shellIcon(ShellIcon::Exit));
    static_cast<QHBoxLayout*>(inicio->layout())->addStretch();

    QWidget* rapido = page("tsAcessoRapido", QStringLiteral("Acesso Rápido"));
    btnContasReceber = addButton(rapido, "btnContasReceber", QStringLiteral("Cont. Receber"),
                                 QStringLiteral("Contas a Receber"), shellIcon(ShellIcon::Receivables));
    btnContasPagar = addButton(rapido, "btnContasPagar", QStringLiteral("Cont. Pagar"),
                               QStringLiteral("Contas a Pagar"), shellIcon(ShellIcon::Payables));
    static_cast<QHBoxLayout*>(rapido->layout())->addStretch();

    QWidget* avancado = page("tsAvancado", QStringLiteral("Avançado"));
    btnGrupos = addButton(avancado, "btnGrupos", QStringLiteral("Grupos"), QStringLiteral("Grupos Permissão"),
                          shellIcon(ShellIcon::Groups));
    static_cast<QHBoxLayout*>(avancado->layout())->addStretch();

    auto opens = [this](QToolButton* b, const char* formName) {
        connect(b, &QToolButton::clicked, this,
                [this, formName] { m_opener->open(QLatin1String(formName)); });
    };
    connect(btnMenu, &QToolButton::clicked, this, [this] { MenudeAcesso1Click(); });
    opens(btnPacientes, "frmPaciente");
    opens(btnAgenda, "frmAgenda_Consulta");
    connect(btnPesquisaAgenda, &QToolButton::clicked, this, [this] { btnPesquisaAgendaClick(); });
    opens(btnConsultas, "frmConsulta");
    opens(btnServicos, "frmServico");
    opens(btnDentistas, "frmDentista");
    opens(btnContatos, "frmContato");
    connect(btnSair, &QToolButton::clicked, this, &QWidget::close);
    opens(btnContasReceber, "frmSelecaoContasReceber");
    opens(btnContasPagar, "frmContasPagar");
    opens(btnGrupos, "frmGrupo");
}

QWidget* TfrmPrincipal::createHeader() {
    auto* strip = new QFrame(this);
    strip->setObjectName(QStringLiteral("pnlTopo"));
    strip->setStyleSheet(QStringLiteral("#pnlTopo { background: white; border-bottom: 1px solid #C9C0B7; }"));
    auto* l = new QHBoxLayout(strip);
    l->setContentsMargins(12, 5, 12, 5);
    lbForm = new QLabel(QString::fromUtf8(kMainCaption), strip);
    lbForm->setObjectName(QStringLiteral("lbForm"));
    lbForm->setStyleSheet(QStringLiteral("color: #5A4333; font-size: 11pt; font-weight: bold;"));
    lbHora = new QLabel(QStringLiteral("00:00:00"), strip);
    lbHora->setObjectName(QStringLiteral("lbHora"));
    lbHora->setStyleSheet(QStringLiteral("color: #5A4333; font-size: 11pt; font-weight: bold;"));
    l->addWidget(lbForm);
    l->addStretch();
    l->addWidget(lbHora);
    return strip;
}

QWidget* TfrmPrincipal::createWallpaperArea() {
    pnlFundo = new QWidget(this);
    pnlFundo->setObjectName(QStringLiteral("pnlFundo"));
    auto* l = new QVBoxLayout(pnlFundo);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    Image1 = new dv::PrincipalWallpaper(pnlFundo);
    auto* over = new QVBoxLayout(Image1);
    over->setContentsMargins(16, 12, 16, 12);
    lbDesenv = new QLabel(QStringLiteral("Modo Desenvolvimento"), Image1);
    lbDesenv->setObjectName(QStringLiteral("lbDesenv"));
    lbDesenv->setStyleSheet(QStringLiteral("color: #D01010; font-size: 14pt; font-weight: bold;"));
    lbDesenv->hide();
    over->addWidget(lbDesenv, 0, Qt::AlignRight | Qt::AlignTop);
    over->addStretch();
    l->addWidget(Image1, 1);

    StatusBar1 = new QStatusBar(pnlFundo);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 7; ++i) {
        QWidget* panel;
        if (i == 3 || i == 4) {
            panel = new QWidget(StatusBar1);
            (i == 3 ? ProgressBar1 : ProgressBar2) =
                panelProgressBar(panel, i == 3 ? "ProgressBar1" : "ProgressBar2");
            panel->setFixedWidth(kPanelWidths[i] + 2);
        } else {
            auto* label = new QLabel(StatusBar1);
            label->setMinimumWidth(kPanelWidths[i]);
            label->setContentsMargins(4, 0, 4, 0);
            if (i == 1) {
                label->setPixmap(dv::shellIcon(dv::ShellIcon::StatusPicture).pixmap(16, 16));
                label->setAlignment(Qt::AlignCenter);
                label->setFixedWidth(kPanelWidths[i]);
            }
            panel = label;
        }
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        dv::setComponentTag(panel, 9); // values: the program, date, release, login
        StatusBar1->addWidget(panel, i == 6 ? 1 : 0);
        m_panels << panel;
    }
    l->addWidget(StatusBar1);
    return pnlFundo;
}

QAction* TfrmPrincipal::addHiddenItem(const char* name, const QString& caption, const QKeySequence& key) {
    // Not shown in the menu, but its key works wherever the main window's keys do.
    auto* a = new QAction(caption, this);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::ApplicationShortcut);
    addAction(a);
    return a;
}

void TfrmPrincipal::createMenus() {
    using dv::ShellIcon;
    using dv::shellIcon;
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    Arquivo1 = bar->addMenu(QStringLiteral("Arquivo"));
    Arquivo1->setObjectName(QStringLiteral("Arquivo1"));
    MenudeAcesso1 = Arquivo1->addAction(shellIcon(ShellIcon::Menu), QStringLiteral("Menu de Acesso"));
    MenudeAcesso1->setObjectName(QStringLiteral("MenudeAcesso1"));
    MenudeAcesso1->setShortcut(QKeySequence(Qt::Key_F8));
    MenudeAcesso1->setShortcutContext(Qt::ApplicationShortcut);
    Arquivo1->addSeparator();
    ModulosdoSistema1 = addHiddenItem("ModulosdoSistema1", QStringLiteral("Modulos do Sistema"),
                                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_M));
    AtivaPermissao1 = addHiddenItem("AtivaPermissao1", QStringLiteral("Ativa Permissão"),
                                    QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
    CadastrodeIcones1 = addHiddenItem("CadastrodeIcones1", QStringLiteral("Cadastro de Icones"),
                                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
    CadastrodeDentes1 = addHiddenItem("CadastrodeDentes1", QStringLiteral("Cadastro de Dentes"),
                                      QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_D));
    Logof1 = Arquivo1->addAction(shellIcon(ShellIcon::ChangeUser), QStringLiteral("Logof"));
    Logof1->setObjectName(QStringLiteral("Logof1"));
    Sair1 = Arquivo1->addAction(shellIcon(ShellIcon::Exit), QStringLiteral("Sair"));
    Sair1->setObjectName(QStringLiteral("Sair1"));

    Janelas1 = bar->addMenu(QStringLiteral("Janelas"));
    Janelas1->setObjectName(QStringLiteral("Janelas1"));
    // The template of the window-list entries; never shown itself.
    JanelaItem1 = new QAction(shellIcon(ShellIcon::WindowItem), QStringLiteral("Janela Item"), this);
    JanelaItem1->setObjectName(QStringLiteral("JanelaItem1"));
    JanelaItem1->setVisible(false);
    connect(JanelaItem1, &QAction::triggered, this, [this] { m_opener->open(JanelaItem1->statusTip()); });
    Janelas1->addAction(JanelaItem1);
    FecharTodas1 = Janelas1->addAction(shellIcon(ShellIcon::CloseAll), QStringLiteral("Fechar Todas"));
    FecharTodas1->setObjectName(QStringLiteral("FecharTodas1"));
    Janelas1->addSeparator();

    Ajuda1 = bar->addMenu(QStringLiteral("Ajuda"));
    Ajuda1->setObjectName(QStringLiteral("Ajuda1"));
    SobreoSistema1 = Ajuda1->addAction(shellIcon(ShellIcon::Help), QStringLiteral("Sobre o Sistema"));
    SobreoSistema1->setObjectName(QStringLiteral("SobreoSistema1"));
    SobreoSistema1->setShortcut(QKeySequence(Qt::Key_F1));
    SobreoSistema1->setShortcutContext(Qt::ApplicationShortcut);
    VisiteNossoSite1 = Ajuda1->addAction(shellIcon(ShellIcon::WebSite), QStringLiteral("Visite nosso site"));
    VisiteNossoSite1->setObjectName(QStringLiteral("VisiteNossoSite1"));
    // F1 inside a screen opens its page; this is the same from the menu.
    AjudadaTela1 = Ajuda1->addAction(shellIcon(ShellIcon::Help), QStringLiteral("Ajuda da Tela"));
    AjudadaTela1->setObjectName(QStringLiteral("AjudadaTela1"));
    connect(AjudadaTela1, &QAction::triggered, this, [this] { AjudadaTela1Click(); });

    connect(MenudeAcesso1, &QAction::triggered, this, [this] { MenudeAcesso1Click(); });
    connect(ModulosdoSistema1, &QAction::triggered, this, [this] { ModulosdoSistema1Click(); });
    connect(AtivaPermissao1, &QAction::triggered, this, [this] { AtivaPermissao1Click(); });
    connect(CadastrodeIcones1, &QAction::triggered, this, [this] { CadastrodeIcones1Click(); });
    connect(CadastrodeDentes1, &QAction::triggered, this, [this] { CadastrodeDentes1Click(); });
    connect(Logof1, &QAction::triggered, this, [this] { Logof1Click(); });
    connect(Sair1, &QAction::triggered, this, &QWidget::close);
    connect(FecharTodas1, &QAction::triggered, this, [this] { FecharTodas1Click(); });
    connect(SobreoSistema1, &QAction::triggered, this, [this] { SobreoSistema1Click(); });
    connect(VisiteNossoSite1, &QAction::triggered, this, [this] { VisiteNossoSite1Click(); });
    connect(Arquivo1, &QMenu::aboutToShow, this, [this] { Arquivo1Click(); });
}

void TfrmPrincipal::loadWallpaper() {
    // A picture that cannot be read is reported, and the window goes on without it:
    // the rest of its creation (the watch over open screens above all) must not be lost.
    auto load = [this](const QString& file) {
        if (!Image1->load(file))
            dv::ErrorTranslator::handle(std::make_exception_ptr(
                dv::OsError(dv::text("Não foi possível abrir a imagem \"%1\".").arg(file))));
    };
    load(dv::languageVariantPath(QStringLiteral("skins\\config.jpg")));
    if (!dmExists()) return;
    dv::Dataset* pref = dm().SQL_Preferencia;
    if (!pref->isActive() || pref->isEmpty()) return;
    const QString fundo = pref->fieldByName(QStringLiteral("pref_fundo"))->asString().trimmed();
    if (!fundo.isEmpty()) load(fundo);
}

void TfrmPrincipal::setLoginPanel(const QString& text) {
    static_cast<QLabel*>(m_panels[6])->setText(text);
}
QString TfrmPrincipal::loginPanel() const {
    return static_cast<QLabel*>(m_panels[6])->text();
}

TfrmMenu* TfrmPrincipal::menuWindow() const {
    return m_menu;
}

int TfrmPrincipal::childScreenCount() const {
    return int(m_opener->openScreens().size());
}

bool TfrmPrincipal::wallpaperShown() const {
    return m_client->currentWidget() == pnlFundo;
}

void TfrmPrincipal::showScreenArea() {
    m_client->setCurrentWidget(m_mdi);
    Logof1->setEnabled(false);
}

void TfrmPrincipal::childScreensChanged() {
    if (m_destroying) return;
    const bool none = childScreenCount() == 0;
    m_client->setCurrentWidget(none ? pnlFundo : static_cast<QWidget*>(m_mdi));
    Logof1->setEnabled(none);
    // The menus' keys give way to the buttons of the screen now in front.
    dv::giveAccessKeys(menuBar());
}

void TfrmPrincipal::Timer1Timer() {
    lbHora->setText(dv::services().clock().now().time().toString(QStringLiteral("HH:mm:ss")));
}

void TfrmPrincipal::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    lbForm->setText(m_mainCaption);
    lbDesenv->setVisible(dv::session().developerMode());
}

bool TfrmPrincipal::event(QEvent* e) {
    // The main window is activated again whenever a dialog over it closes: the header
    // keeps naming the list screen that is still the active one.
    if (e->type() == QEvent::WindowActivate) {
        const QMdiSubWindow* active = m_mdi->activeSubWindow();
        lbForm->setText(active && active->widget() ? active->widget()->windowTitle()
                                                   : m_mainCaption);
    }
    return QMainWindow::event(e);
}

bool TfrmPrincipal::eventFilter(QObject* watched, QEvent* e) {
    // Every key of the application passes here before it is delivered.
    if (e->type() == QEvent::KeyPress && dv::session().developerMode()) {
        auto* k = static_cast<QKeyEvent*>(e);
        const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::AltModifier;
        if (k->key() == Qt::Key_G && (k->modifiers() & both) == both) {
            captureActiveWindow();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void TfrmPrincipal::captureActiveWindow() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) w = QApplication::activeWindow();
    if (w == this)
        if (auto* sub = qobject_cast<dv::ScreenWindow*>(m_mdi->activeSubWindow()))
            if (sub->screen()) w = sub->screen();
    if (!w || w->objectName().isEmpty()) return;
    // As dv::captureLanguageFile, and the developer is told where the file went or why
    // it could not be written.
    dv::guarded([w] {
        const QString formName = w->objectName();
        const QStringList lines = dv::LanguageFile::capture(w, formName);
        dv::FileDialogRequest request;
        request.caption = dv::text("Arquivos de Linguagem");
        request.filter = dv::text("Arquivos de Linguagem (.lpu)|*.lpu");
        request.defaultSuffix = QStringLiteral("lpu");
        request.folder = dv::writableFolderOr(dv::session().filePath(QStringLiteral("language\\pt_BR")));
        request.fileName = formName;
        request.confirmOverwrite = true;
        const QString target = dv::services().fileDialogs().saveFile(request);
        if (target.isEmpty()) return;
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) < 0 || !file.commit())
            throw dv::PlainError(
                dv::text("Não foi possível gravar o arquivo %1: %2")
                    .arg(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()), file.errorString()));
        dv::services().dialogs().information(
            dv::text("Arquivo gravado em %1")
                .arg(QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath())));
    });
}

void TfrmPrincipal::closeEvent(QCloseEvent* e) {
    // "Cancelar" in the login dialog ends the application without the question.
    if (dv::terminationRequested()) {
        m_mdi->closeAllSubWindows();
        e->accept();
        return;
    }
    // No child screen refuses to close, so only the question decides; the screens
    // close (and save their layouts) only once the answer is Yes.
    if (!dv::services().dialogs().confirmation(dv::text("Deseja realmente sair do sistema?"))) {
        e->ignore();
        return;
    }
    m_mdi->closeAllSubWindows();
    if (m_menu) m_menu->close();
    e->accept();
}

void TfrmPrincipal::MenudeAcesso1Click() {
    if (!m_menu) m_menu = new TfrmMenu(this);
    m_menu->show();
    m_menu->raise();
    m_menu->activateWindow();
}

void TfrmPrincipal::ModulosdoSistema1Click() {
    if (dv::session().developerMode()) m_opener->open(QStringLiteral("frmModulo"));
}

void TfrmPrincipal::AtivaPermissao1Click() {
    // Developer mode lifts the administrator group's protection (grupo_id 1): only that
    // group's own users may switch it.
    if (!dmExists() || !dm().SQL_Usuario->isActive() || dm().SQL_Usuario->isEmpty()) return;
    const dv::Field* group = dm().SQL_Usuario->findField(QStringLiteral("grupo_id"));
    if (!group || group->isNull() || group->asInteger() != 1) return;
    dv::session().setDeveloperMode(!dv::session().developerMode());
    lbDesenv->setVisible(dv::session().developerMode());
}

void TfrmPrincipal::CadastrodeIcones1Click() {
    if (dv::session().developerMode()) m_opener->open(QStringLiteral("frmIcone"));
}

void TfrmPrincipal::CadastrodeDentes1Click() {
    m_opener->open(QStringLiteral("frmDente"));
}

void TfrmPrincipal::Arquivo1Click() {
    Logof1->setEnabled(childScreenCount() == 0);
}

void TfrmPrincipal::Logof1Click() {
    if (childScreenCount() != 0) return;
    // Frees itself when it closes; "Cancelar" in it ends the application.
    auto* login = new TfrmLogin(this, TfrmLogin::Use::ChangeUser);
    login->hide();
    login->exec();
}

void TfrmPrincipal::startNewLogin() {
    FecharTodas1Click();
    Logof1Click();
}

void TfrmPrincipal::FecharTodas1Click() {
    if (childScreenCount() != 0) m_mdi->closeAllSubWindows();
    childScreensChanged();
}

void TfrmPrincipal::SobreoSistema1Click() {
    // The start page in the interface language when it has one.
    const QString page = dv::helpPageFile(QStringLiteral("index"));
    dv::services().shell().open(page.isEmpty() ? dv::session().filePath(QStringLiteral("help\\index.html")) : page);
}

void TfrmPrincipal::AjudadaTela1Click() {
    QMdiSubWindow* active = m_mdi->activeSubWindow();
    dv::openHelpPage(active ? dv::helpTopicOf(active->widget()) : QString());
}

void TfrmPrincipal::VisiteNossoSite1Click() {
    dv::services().shell().open(QString::fromLatin1(kSite));
}

void TfrmPrincipal::btnPesquisaAgendaClick() {
    // A fixed dialog: shown here, without the opener and its permission check.
    QWidget* dialog = m_opener->registry().create(QStringLiteral("frmAgenda_Paciente"), this);
    if (!dialog) {
        dv::services().dialogs().information(dv::text("Formulário não existe ou não encontrado!"));
        return;
    }
    dv::ScreenOpener::showModal(dialog);
}
