#pragma once
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace dv {
class Connection;
}

// Writes a dated, verified copy of the clinic's database into the Backup folder of
// the application folder (at most one a day), and restores such a copy. The page
// shown follows the installation's mode: "Configap" with "SQL" in it is server mode.
class TfrmBackup : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBackup(QWidget* parent = nullptr);
    ~TfrmBackup() override;

    // One backup page: the server's (first) or the file's (second).
    struct Page {
        QWidget* sheet = nullptr;
        QLabel* lbArquivo = nullptr;
        QLabel* lbLocal = nullptr;
        QProgressBar* ProgressBar = nullptr;
        QPushButton* btnBackup = nullptr;
        QLabel* lbAguarde = nullptr;
    };

    QTabWidget* PageControl1;
    Page pageSql;    // "Backup Banco SQL"
    Page pageAccess; // "Backup Banco Access"
    QPushButton* btnRestaurar;
    QPushButton* BitBtn1; // "Fechar"

    bool serverMode() const { return m_serverMode; }
    // The dated backup name of the mode ("bkp_DBDentrivale_2024-02-15.mdb").
    QString backupFileName(bool server) const;
    QString backupFolder() const;

    void FormShow();
    void btnBackupClick();
    void btnBackup2Click();
    void btnRestaurarClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    Page buildPage(const QString& caption, const QString& suffix);
    void runBackup(Page& page, bool server);
    void step(Page& page, int value);
    void setRunning(Page& page, bool running);
    Page& currentPage() { return m_serverMode ? pageSql : pageAccess; }
    // The copy of the database about to be replaced by a restore.
    QString replacedCopyName() const;

    bool m_serverMode = false;
    bool m_shown = false;
};
