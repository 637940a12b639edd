#pragma once
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>

// The main window: the multiple-document parent of every list screen.
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }
    // The status bar panel "Login:" (the seventh).
    void setLoginPanel(const QString& text);
    QString loginPanel() const;

protected:
    void closeEvent(QCloseEvent*) override;

private:
    QMdiArea* m_mdi;
    QList<QLabel*> m_panels;
};
