#include "U_frmBackup.h"
#include "core/CodeTexts.h"
#include "core/ErrorTranslator.h"
#include "core/IniFile.h"
#include "core/Localization.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/db/DbErrors.h"
#include "framework/ScreenContext.h"
#include "ui_U_frmBackup_Pagina.h"
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A message of this screen in the user's language, the Portuguese one when the
// language's shared message file has none.
QString text(const char* key, const char* portuguese) {
    const QString t = dv::sharedMessage(QStringLiteral("Backup"), QLatin1String(key));
    return t.isEmpty() ? QString::fromUtf8(portuguese) : t;
}

// "2,4 MB": sizes the way the desk reads them.
QString readableSize(qint64 bytes) {
    return QLocale(QLocale::Portuguese, QLocale::Brazil)
        .formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

} // namespace

TfrmBackup::TfrmBackup(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Backup do banco de Dados do Sistema"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(520, 330);

    auto* box = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    box->addWidget(PageControl1, 1);
    pageSql = buildPage(QStringLiteral("Backup Banco SQL"), QString());
    pageAccess = buildPage(QStringLiteral("Backup Banco Access"), QStringLiteral("2"));

    auto* bar = new QHBoxLayout;
    btnRestaurar = new QPushButton(QStringLiteral("Restaurar backup..."), this);
    btnRestaurar->setObjectName(QStringLiteral("btnRestaurar"));
    btnRestaurar->setToolTip(QStringLiteral("Substitui os dados do sistema pelos de um backup"));
    BitBtn1 = new QPushButton(QStringLiteral("Fechar"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    // Enter makes a backup; a restore is never one key press away.
    btnRestaurar->setAutoDefault(false);
    BitBtn1->setAutoDefault(false);
    bar->addWidget(btnRestaurar);
    bar->addStretch(1);
    bar->addWidget(BitBtn1);
    box->addLayout(bar);

    connect(pageSql.btnBackup, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnBackupClick(); }); });
    connect(pageAccess.btnBackup, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnBackup2Click(); }); });
    connect(btnRestaurar, &QPushButton::clicked, this,
            [this] { dv::guarded([this] { btnRestaurarClick(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
}

TfrmBackup::~TfrmBackup() = default;

TfrmBackup::Page TfrmBackup::buildPage(const QString& caption, const QString& suffix) {
    auto* sheet = new QWidget(PageControl1);
    Ui::frmBackup_Pagina ui;
    ui.setupUi(sheet);
    // The second page's components carry the suffix, so that each has its own name.
    sheet->setObjectName(QStringLiteral("TabSheet") + (suffix.isEmpty() ? QStringLiteral("1") : suffix));
    for (QWidget* w : sheet->findChildren<QWidget*>())
        w->setObjectName(w->objectName() + suffix);
    PageControl1->addTab(sheet, caption);
    return Page{sheet, ui.lbArquivo, ui.lbLocal, ui.ProgressBar, ui.btnBackup, ui.lbAguarde};
}

void TfrmBackup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (m_shown) return;
    m_shown = true;
    dv::applyLanguageFile(this);
    dv::centreOnMainWindow(this);
    dv::guarded([this] { FormShow(); });
}

QString TfrmBackup::backupFolder() const {
    return dv::session().dataFolder() + QStringLiteral("Backup");
}

QString TfrmBackup::backupFileName(bool server) const {
    return QStringLiteral("bkp_DBDentrivale_") +
           dv::services().clock().today().toString(QStringLiteral("yyyy-MM-dd")) +
           (server ? QStringLiteral(".dat") : QStringLiteral(".mdb"));
}

void TfrmBackup::FormShow() {
    const QString configap = dv::IniFile::readString(dv::session().configFile(),
                                                     QStringLiteral("Aplicacao"), QStringLiteral("Configap"));
    m_serverMode = configap.contains(QLatin1String("SQL"));
    for (Page* p : {&pageSql, &pageAccess}) {
        p->lbArquivo->setText(backupFileName(p == &pageSql));
        p->lbLocal->setText(QDir::toNativeSeparators(backupFolder()) + QDir::separator());
    }
    PageControl1->setTabVisible(0, m_serverMode);
    PageControl1->setTabVisible(1, !m_serverMode);
    PageControl1->setCurrentIndex(m_serverMode ? 0 : 1);
    currentPage().btnBackup->setDefault(true);
    currentPage().btnBackup->setFocus();
    if (!QDir().mkpath(backupFolder())) throw dv::PlainError(dv::text("Diretório não pode ser criado"));
}

void TfrmBackup::btnBackupClick() {
    runBackup(pageSql, true);
}

void TfrmBackup::btnBackup2Click() {
    runBackup(pageAccess, false);
}

void TfrmBackup::BitBtn1Click() {
    close();
}

void TfrmBackup::step(Page& page, int value) {
    page.ProgressBar->setValue(value);
    page.ProgressBar->repaint();
    dv::services().clock().pause(500);
}

void TfrmBackup::setRunning(Page& page, bool running) {
    page.lbAguarde->setVisible(running);
    page.btnBackup->setEnabled(!running);
    btnRestaurar->setEnabled(!running);
    BitBtn1->setEnabled(!running);
    if (!running) page.ProgressBar->setValue(0);
    repaint();
}

void TfrmBackup::runBackup(Page& page, bool server) {
    auto& dialogs = dv::services().dialogs();
    setRunning(page, true);
    struct Idle {
        TfrmBackup* self;
        Page& page;
        ~Idle() { self->setRunning(page, false); }
    } idle{this, page};
    step(page, 10);

    const QString name = backupFileName(server).trimmed();
    const QString target = backupFolder() + QLatin1Char('/') + name;
    if (QFileInfo::exists(target)) {
        dialogs.information(text("sArquivoExiste",
                                 "O Arquivo de backup já existe, caso deseje efetuar um novo "
                                 "backup, é necessário excluir o arquivo:%1 da pasta backup!")
                                .arg(name));
        return;
    }
    for (int v : {20, 30, 40, 50, 70})
        step(page, v);

    try {
        dv::Connection* c = dm().ADOConexao();
        if (!c) throw dv::PlainError(dv::text("Sem conexão com o banco de dados."));
        // A server backup of a database that lives in a file would be a wrong kind of copy.
        if (server == c->databaseFile().isEmpty()) {
            dv::WaitCursor wait;
            c->backupTo(target);
        } else {
            throw dv::PlainError(
                server ? text("sNaoServidor", "O banco de dados configurado não está em um servidor.")
                       : text("sNaoArquivo", "O banco de dados configurado está em um servidor."));
        }
    } catch (const std::exception& e) {
        // The copy is verified before this point: nothing is reported done unless it is.
        dialogs.error(text("sErroBackup", "Ocorreu um erro ao efetuar o backup! Tente novamente...") +
                      QLatin1Char('\r') + QString::fromUtf8(e.what()));
        return;
    }

    step(page, 80);
    step(page, 90);
    page.ProgressBar->setValue(100);
    dialogs.information(text("sSucesso", "Backup Concluído com sucesso..."));
    dialogs.information(text("sCopieArquivo",
                             "Para maior segurança dos seus dados, copie o arquivo de backup "
                             "para Disket, CD ou outras formas de armazenamento!"));
}

QString TfrmBackup::replacedCopyName() const {
    const QString stamp = dv::services().clock().now().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString file = dm().ADOConexao() ? dm().ADOConexao()->databaseFile() : QString();
    if (file.isEmpty())
        return backupFolder() + QStringLiteral("/bkp_DBDentrivale_antes_restauracao_") + stamp + ".dat";
    const QFileInfo live(file);
    return live.absolutePath() + QLatin1Char('/') + live.completeBaseName() +
           QStringLiteral("_substituido_") + stamp + QLatin1Char('.') + live.suffix();
}

void TfrmBackup::btnRestaurarClick() {
    auto& dialogs = dv::services().dialogs();
    dv::FileDialogRequest r;
    r.caption = text("sEscolhaBackup", "Escolha o backup a restaurar");
    r.folder = backupFolder();
    r.filter = m_serverMode ? text("sFiltroSql", "Backup do banco SQL (*.dat)|*.dat")
                            : text("sFiltroArquivo", "Backup do banco de dados (*.mdb)|*.mdb");
    const QString file = dv::services().fileDialogs().openFile(r);
    if (file.isEmpty()) return;
    const QFileInfo chosen(file);
    if (!chosen.isFile()) {
        dialogs.warning(text("sNaoEncontrado", "O arquivo \"%1\" não foi encontrado.").arg(file));
        return;
    }
    const QString keep = replacedCopyName();
    const QString when = QLocale(QLocale::Portuguese, QLocale::Brazil)
                             .toString(chosen.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm"));
    const QString question =
        text("sRestaurarPergunta", "Restaurar o backup \"%1\", gravado em %2 (%3)?")
            .arg(chosen.fileName(), when, readableSize(chosen.size())) +
        QStringLiteral("\r\r") +
        text("sRestaurarSubstitui",
             "TODOS os dados atuais do sistema (pacientes, agenda, consultas, parcelas, "
             "contas, cadastros e usuários) serão substituídos pelos dados desse backup. "
             "O banco de dados atual será guardado em \"%1\".")
            .arg(keep) +
        QStringLiteral("\r\r") +
        text("sRestaurarEntrar", "Depois da restauração será preciso entrar novamente no sistema.");
    if (!dialogs.confirmation(question)) return;

    Page& page = currentPage();
    setRunning(page, true);
    struct Idle {
        TfrmBackup* self;
        Page& page;
        ~Idle() { self->setRunning(page, false); }
    } idle{this, page};
    step(page, 10);
    dv::Connection* c = dm().ADOConexao();
    try {
        if (!c) throw dv::PlainError(dv::text("Sem conexão com o banco de dados."));
        dv::WaitCursor wait;
        c->backupTo(keep);
        step(page, 40);
        try {
            c->restoreFrom(file);
        } catch (...) {
            // Nothing was replaced: the copy of the untouched database is not needed.
            QFile::remove(keep);
            throw;
        }
    } catch (const std::exception& e) {
        dialogs.error(
            text("sErroRestauracao", "Não foi possível restaurar o backup. Nenhum dado foi alterado.") +
            QLatin1Char('\r') + QString::fromUtf8(e.what()));
        return;
    }
    step(page, 90);
    page.ProgressBar->setValue(100);
    dm().reloadSharedDatasets();
    dialogs.information(
        text("sRestaurado",
             "Backup restaurado com sucesso. O banco de dados anterior foi guardado em \"%1\".")
            .arg(keep) +
        QLatin1Char('\r') + text("sEntreNovamente", "Entre novamente no sistema."));
    close();
    // The open screens show the replaced rows, and the user may no longer exist.
    dv::screenContext().requestNewLogin();
}
