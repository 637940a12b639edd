// Pictures of the help manual, taken from the screens themselves: starts the
// application offscreen on an application folder (its config.ini names the
// database), logs in, opens each screen through the opener and grabs it.
//
//   dv_helpshots APP_FOLDER OUT_FOLDER [LOGIN PASSWORD]
//
// Messages the screens would show are written to stderr and answered "no"; the
// desktop's "open" does nothing. Run by scripts/helpshots.
#include "ProgramScreens.h"
#include "core/Application.h"
#include "core/DialogService.h"
#include "core/Services.h"
#include "core/ShellService.h"
#include "core/U_dm.h"
#include "core/db/Engine.h"
#include "framework/ScreenRegistry.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBDateEdit.h"
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

void registerScreens(dv::ScreenRegistry& r) {
    dv::registerProgramScreens(r);
}

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

// Nobody answers: every message is logged, every question gets "no".
class LoggedDialogs : public dv::DialogService {
public:
    void information(const QString& text) override { say(QStringLiteral("  information: ") + text); }
    void warning(const QString& text) override { say(QStringLiteral("  warning: ") + text); }
    void error(const QString& text) override { say(QStringLiteral("  error: ") + text); }
    bool confirmation(const QString& text) override {
        say(QStringLiteral("  confirmation (no): ") + text);
        return false;
    }
    Answer question(const QString& text) override {
        say(QStringLiteral("  question (no): ") + text);
        return Answer::No;
    }
    void messageBox(const QString& text, const QString&) override {
        say(QStringLiteral("  message: ") + text);
    }
    std::optional<QString> inputBox(const QString&, const QString& prompt, const QString&) override {
        say(QStringLiteral("  input (cancelled): ") + prompt);
        return std::nullopt;
    }
};

class NoShell : public dv::ShellService {
public:
    bool open(const QString&) override { return true; }
};

// Lets queued work (delayed loads, layouts, first activation) run.
void settle(int ms = 250) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class Shots {
public:
    explicit Shots(const QString& folder) : m_folder(folder) {}

    void grab(QWidget* w, const QString& name) {
        settle();
        const QString file = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
        // Quality 0: the smallest PNG (the slowest to write).
        if (w->grab().save(file, "PNG", 0)) {
            say(QStringLiteral("shot ") + name);
            ++m_count;
        } else {
            say(QStringLiteral("could not write ") + file);
            m_failed = true;
        }
    }
    int count() const { return m_count; }
    bool failed() const { return m_failed; }

private:
    QString m_folder;
    int m_count = 0;
    bool m_failed = false;
};

void closeModal(QWidget* w) {
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

// Runs open (which shows a modal dialog and returns once it is closed); when the
// dialog is up, onModal works in it and must close it. Nothing happens when no
// dialog comes (the screen refused, and said why on stderr).
void withModal(const std::function<void()>& open, const std::function<void(QWidget*)>& onModal) {
    QWidget* before = QApplication::activeModalWidget();
    QTimer poll;
    poll.setInterval(40);
    // A screen that loads while it is being shown lets events through (the tick may
    // come in the middle of it): act on the third tick that sees the same dialog.
    QWidget* seen = nullptr;
    int ticks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m || m == before) return;
        ticks = m == seen ? ticks + 1 : 1;
        seen = m;
        if (ticks < 3) return;
        poll.stop();
        settle();
        onModal(m);
    });
    poll.start();
    open();
    poll.stop();
    settle(50);
}

// The first column of a query's first row on the application's connection.
QVariant firstValue(const QString& sql) {
    auto c = dm().ADOConexao()->query(sql);
    if (!c->next() || c->isNull(0)) return QVariant();
    return QString::fromUtf8(c->utf8(0).data(), c->utf8(0).size()).toLongLong();
}

template <typename T> T* child(QWidget* w, const char* name) {
    return w ? w->findChild<T*>(QLatin1String(name)) : nullptr;
}

// The dialog, and each further page of its tab widget as name_<page>.
void grabWithPages(Shots& shots, QWidget* dialog, const QString& name) {
    auto* tabs = dialog->findChild<QTabWidget*>();
    if (!tabs) {
        shots.grab(dialog, name);
        return;
    }
    const int shown = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        shots.grab(dialog, i == 0 ? name : name + QLatin1Char('_') + QString::number(i));
    }
    tabs->setCurrentIndex(shown);
}

// A prescription made from the clinic's model with its first medicine, as the
// documents page is used; closing without saving leaves nothing behind.
void writePrescription(QWidget* screen) {
    auto* models = child<QComboBox>(screen, "cmbModelo");
    auto* medicines = child<QComboBox>(screen, "cmbMedicamento");
    auto* fromModel = child<QAbstractButton>(screen, "btnModelo");
    auto* addMedicine = child<QAbstractButton>(screen, "btnMedicamento");
    if (!models || !medicines || !fromModel || !addMedicine) return;
    const int prescription = models->findText(QStringLiteral("Receit"), Qt::MatchStartsWith);
    if (prescription < 0 || medicines->count() == 0) return;
    models->setCurrentIndex(prescription);
    fromModel->click();
    medicines->setCurrentIndex(0);
    addMedicine->click();
}

} // namespace

int main(int argc, char** argv) {
    dv::Application app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: dv_helpshots APP_FOLDER OUT_FOLDER [LOGIN PASSWORD]\n");
        return 2;
    }
    QString folder = QDir(args[1]).absolutePath();
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    const QString out = QDir(args[2]).absolutePath();
    QDir().mkpath(out);
    const QString login = args.size() > 4 ? args[3] : QStringLiteral("admin");
    const QString password = args.size() > 4 ? args[4] : QStringLiteral("admin");

    LoggedDialogs dialogs;
    NoShell shell;
    dv::services().setDialogs(&dialogs);
    dv::services().setShell(&shell);
    // A screen that hangs must not hang the script.
    QTimer::singleShot(300000, [] {
        say(QStringLiteral("gave up: a screen did not close"));
        std::exit(3);
    });

    dv::StartupObjects o = dv::startup(app, folder, registerScreens);
    Shots shots(out);
    TfrmLogin* loginDialog = o.login.data();
    if (!loginDialog) {
        say(QStringLiteral("no login dialog: the database could not be opened"));
        return 1;
    }
    settle();
    child<QLineEdit>(loginDialog, "EditLogin")->setText(login);
    child<QLineEdit>(loginDialog, "EditSenha")->setText(QString());
    shots.grab(loginDialog, QStringLiteral("frmLogin"));
    child<QLineEdit>(loginDialog, "EditSenha")->setText(password);
    loginDialog->btnOKClick();
    QElapsedTimer wait;
    wait.start();
    while (!o.main->isVisible() && wait.elapsed() < 20000)
        settle(50);
    if (!o.main->isVisible()) {
        say(QStringLiteral("the login was refused"));
        return 1;
    }
    TfrmPrincipal* main = o.main.get();
    main->showNormal();
    main->resize(1024, 700);
    shots.grab(main, QStringLiteral("frmPrincipal"));

    main->MenudeAcesso1Click();
    settle();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmMenu") && w->isVisible()) {
            shots.grab(w, QStringLiteral("frmMenu"));
            w->close();
        }

    dv::ScreenOpener& opener = main->opener();
    // A list, and its maintenance screen on the list's first row.
    using Work = std::function<void(QWidget*)>;
    const auto list = [&](const QString& form, const Work& inList = {}, const Work& inRecord = {},
                          const dv::ScreenArgs& a = {}) {
        say(QStringLiteral("opening ") + form);
        opener.open(form, a);
        QWidget* screen = opener.openScreen(form);
        if (!screen) return;
        shots.grab(main, form);
        if (inList) inList(screen);
        if (auto* edit = child<QAbstractButton>(screen, "btnEditar"); edit && edit->isEnabled())
            withModal([&] { edit->click(); },
                      [&](QWidget* m) {
                          grabWithPages(shots, m, form + QStringLiteral("_Manut"));
                          if (inRecord) inRecord(m);
                          closeModal(m);
                      });
        main->FecharTodas1Click();
        settle(100);
    };
    const auto dialog = [&](const QString& form, const dv::ScreenArgs& a = {},
                            const std::function<void(QWidget*)>& inDialog = {}) {
        say(QStringLiteral("opening ") + form);
        withModal([&] { opener.open(form, a); },
                  [&](QWidget* m) {
                      shots.grab(m, form);
                      if (inDialog) inDialog(m);
                      closeModal(m);
                  });
    };

    list(
        QStringLiteral("frmPaciente"),
        [&](QWidget* screen) {
            if (auto* print = child<QAbstractButton>(screen, "btnImprimir"))
                withModal([&] { print->click(); },
                          [&](QWidget* m) {
                              shots.grab(m, QStringLiteral("frmRelatorio"));
                              closeModal(m);
                          });
        },
        [&](QWidget* record) {
            if (auto* documents = child<QAbstractButton>(record, "btnDocumentos"))
                withModal([&] { documents->click(); },
                          [&](QWidget* m) {
                              writePrescription(m);
                              shots.grab(m, QStringLiteral("frmPaciente_Documentos"));
                              closeModal(m);
                          });
        });
    // The patient with the most consultations, so that the list shows some.
    const QVariant patient = firstValue(QStringLiteral(
        "select paciente_id from consulta group by paciente_id order by count(*) desc, paciente_id"));
    list(QStringLiteral("frmConsulta"), {},
         [&](QWidget* record) {
             if (auto* service = child<QAbstractButton>(record, "btnServico");
                 service && service->isEnabled())
                 withModal([&] { service->click(); },
                           [&](QWidget* m) {
                               shots.grab(m, QStringLiteral("frmSelecaoServico"));
                               closeModal(m);
                           });
         },
         {{QStringLiteral("paciente_id"), patient}});
    for (const char* form :
         {"frmServico", "frmDentista", "frmConvenio", "frmContato", "frmEstoque", "frmEmpresa",
          "frmContasPagar", "frmUsuario", "frmGrupo", "frmModulo", "frmIcone", "frmDente"})
        list(QString::fromLatin1(form));
    list(QStringLiteral("frmMedicamento"));
    // The model's record again with a field chosen, so that its description shows.
    list(QStringLiteral("frmDocumentoModelo"), {}, [&](QWidget* record) {
        if (auto* fields = child<QListWidget>(record, "lstCampos"); fields && fields->count() > 0) {
            fields->setCurrentRow(0);
            shots.grab(record, QStringLiteral("frmDocumentoModelo_Manut"));
        }
    });

    dialog(QStringLiteral("frmModulo_Menu_Manut"));
    // The agenda over the coming month, so that it shows appointments.
    say(QStringLiteral("opening frmAgenda_Consulta"));
    withModal([&] { opener.open(QStringLiteral("frmAgenda_Consulta")); },
              [&](QWidget* agenda) {
                  auto* last = child<dv::DBDateEdit>(agenda, "edtDataFinal");
                  if (last) last->setDate(last->date().addDays(30));
                  if (auto* refresh = child<QAbstractButton>(agenda, "SpeedButton2")) refresh->click();
                  shots.grab(agenda, QStringLiteral("frmAgenda_Consulta"));
                  if (auto* book = child<QAbstractButton>(agenda, "SpeedButton1"))
                      withModal([&] { book->click(); },
                                [&](QWidget* m) {
                                    shots.grab(m, QStringLiteral("frmAgenda_Manut"));
                                    closeModal(m);
                                });
                  closeModal(agenda);
              });
    withModal([&] { main->btnPesquisaAgendaClick(); },
              [&](QWidget* m) {
                  shots.grab(m, QStringLiteral("frmAgenda_Paciente"));
                  closeModal(m);
              });
    dialog(QStringLiteral("frmSelecaoContasReceber"));
    dialog(QStringLiteral("frmSelecaoContasRecebidas"));
    dialog(QStringLiteral("frmBackup"));
    dialog(QStringLiteral("frmConfirmacao"));
    dialog(QStringLiteral("frmRetorno"));
    // The whole month, so that the list shows several patients.
    say(QStringLiteral("opening frmAniversario"));
    withModal([&] { opener.open(QStringLiteral("frmAniversario")); },
              [&](QWidget* m) {
                  if (auto* month = child<QRadioButton>(m, "rbMes")) month->setChecked(true);
                  shots.grab(m, QStringLiteral("frmAniversario"));
                  closeModal(m);
              });
    // The demo clinic is younger than the retention period: a shorter one, not
    // saved, shows patients.
    say(QStringLiteral("opening frmAnonimizacao"));
    withModal([&] { opener.open(QStringLiteral("frmAnonimizacao")); },
              [&](QWidget* m) {
                  if (auto* years = child<QSpinBox>(m, "spnAnos")) years->setValue(5);
                  if (auto* refresh = child<QAbstractButton>(m, "btnAtualizar")) refresh->click();
                  shots.grab(m, QStringLiteral("frmAnonimizacao"));
                  closeModal(m);
              });
    // The audit trail's filter row needs more width than the other lists.
    main->resize(1280, 700);
    settle(100);
    list(QStringLiteral("frmAuditoria"));

    say(QStringLiteral("%1 pictures in %2").arg(shots.count()).arg(out));
    dv::shutdown(o);
    return shots.failed() ? 1 : 0;
}
