#include "U_frmPrincipal.h"
#include "core/Services.h"
#include "core/Session.h"
#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QStatusBar>

TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(dv::session().applicationTitle());
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(m_mdi);
    for (int i = 0; i < 7; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        statusBar()->addWidget(l, i == 0 ? 1 : 0);
        m_panels << l;
    }
    m_panels[0]->setText(dv::session().applicationName());
    setLoginPanel(QStringLiteral("Login: "));
    resize(1024, 700);
    setWindowState(Qt::WindowMaximized);
}

void TfrmPrincipal::setLoginPanel(const QString& text) { m_panels[6]->setText(text); }
QString TfrmPrincipal::loginPanel() const { return m_panels[6]->text(); }

void TfrmPrincipal::closeEvent(QCloseEvent* e) {
    // No child screen refuses to close, so only the question decides; the screens
    // close (and save their layouts) only once the answer is Yes.
    if (!dv::services().dialogs().confirmation(QStringLiteral("Deseja realmente sair do sistema?"))) {
        e->ignore();
        return;
    }
    m_mdi->closeAllSubWindows();
    e->accept();
}
