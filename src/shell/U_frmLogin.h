#pragma once
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

class TfrmPrincipal;

// Identifies the user: at start-up over the hidden main window, and for a
// change of user ("Logof"), modal over it.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    enum class Use { Startup, ChangeUser };
    TfrmLogin(TfrmPrincipal* mainWindow, Use use);

    QLabel* imgLogo;
    QLabel* lbVersao;
    QLabel* lbRelease;
    QLineEdit* EditLogin;
    QLineEdit* EditSenha;
    QPushButton* btnOK;
    QPushButton* btnCancelar;
    QProgressBar* ProgressBar1;
    QTimer Timer1;
    QLabel* lbSite;

    // The steps of OK; public so that tests and the main window's "Logof" drive them.
    void btnOKClick();
    void btnCancelarClick();

protected:
    void showEvent(QShowEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    bool event(QEvent*) override;

private:
    void Timer1Timer();
    TfrmPrincipal* m_main;
    Use m_use;
};
