#pragma once
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>
#include <memory>

class QAction;
class QMenu;
class QProgressBar;
class QStackedWidget;
class QStatusBar;
class QTabWidget;
class QToolButton;
class TfrmMenu;

namespace dv {
class PrincipalWallpaper;
class ScreenOpener;
class ShellScreenContext;
} // namespace dv

// The main window: the multiple-document parent of every list screen, with the ways
// into the system's screens (the tabs of buttons, the main menu, the system menu
// window), the window list, the status bar, the clock, the change of user and the exit.
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    dv::ScreenOpener& opener() const { return *m_opener; }

    // The status bar panel "Login:" (the seventh).
    void setLoginPanel(const QString& text);
    QString loginPanel() const;
    // The seven panels of the status bar, 0 to 6; 3 and 4 hold the progress bars.
    QWidget* statusPanel(int index) const { return m_panels.value(index); }

    // The list screens open inside the window (closed ones no longer count).
    int childScreenCount() const;
    // Shows the wallpaper area while no screen is open, hides it otherwise, and
    // allows "Logof" only then. The opener calls it as screens come and go.
    void childScreensChanged();
    bool wallpaperShown() const;
    // Gives the client area to the screens (the opener, just before a screen is added).
    void showScreenArea();

    // The system menu window while it exists.
    TfrmMenu* menuWindow() const;

    // Tabs and their buttons.
    QTabWidget* PageControl1;
    QToolButton *btnMenu, *btnPacientes, *btnAgenda, *btnPesquisaAgenda, *btnConsultas, *btnServicos,
        *btnDentistas, *btnContatos, *btnSair, *btnContasReceber, *btnContasPagar, *btnGrupos;
    // Header strip: the caption of the active list screen, and the clock.
    QLabel* lbForm;
    QLabel* lbHora;
    // Wallpaper area: picture, developer-mode label and status bar.
    QWidget* pnlFundo;
    dv::PrincipalWallpaper* Image1;
    QLabel* lbDesenv;
    QStatusBar* StatusBar1;
    QProgressBar* ProgressBar1;
    QProgressBar* ProgressBar2; // the list screens' XML export reports here
    // Main menu.
    QMenu *Arquivo1, *Janelas1, *Ajuda1;
    QAction *MenudeAcesso1, *ModulosdoSistema1, *AtivaPermissao1, *CadastrodeIcones1, *CadastrodeDentes1,
        *Logof1, *Sair1, *JanelaItem1, *FecharTodas1, *SobreoSistema1, *VisiteNossoSite1;
    QAction* AjudadaTela1;
    QTimer Timer1; // the clock

    // Handlers, public so that tests and other screens can drive them.
    void MenudeAcesso1Click();
    void ModulosdoSistema1Click();
    void AtivaPermissao1Click();
    void CadastrodeIcones1Click();
    void CadastrodeDentes1Click();
    void Logof1Click();
    void FecharTodas1Click();
    // Closes every open screen and asks for a login again (the database was replaced).
    void startNewLogin();
    void SobreoSistema1Click();
    void AjudadaTela1Click();
    void VisiteNossoSite1Click();
    void btnPesquisaAgendaClick();
    void Arquivo1Click(); // the "Arquivo" menu opens
    // Ctrl+Alt+G in developer mode: the language capture of the active screen.
    void captureActiveWindow();

protected:
    void closeEvent(QCloseEvent*) override;
    void showEvent(QShowEvent*) override;
    bool event(QEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createTabs();
    QWidget* createHeader();
    QWidget* createWallpaperArea();
    void createMenus();
    void loadWallpaper();
    void Timer1Timer();
    QToolButton* addButton(QWidget* page, const char* name, const QString& caption, const QString& hint,
                           const QIcon& icon);
    QAction* addHiddenItem(const char* name, const QString& caption, const QKeySequence& key);

    QMdiArea* m_mdi;
    QStackedWidget* m_client;
    dv::ScreenOpener* m_opener;
    std::unique_ptr<dv::ShellScreenContext> m_context;
    QList<QWidget*> m_panels;
    QPointer<TfrmMenu> m_menu;
    bool m_destroying = false;
    QString m_mainCaption; // the header's caption when no screen is active, in the interface language
};

// The main window of the process; null before start-up made it and after it is gone.
TfrmPrincipal* frmPrincipal();
