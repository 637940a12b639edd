// The patient screens as a user meets them, on a benchmark database: the list opened
// through the opener in the main window, a sort by another title, keystrokes in the
// search box, the filter dialog's OK, and the record opened on a patient.
#include "bench_patient_screens.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmPaciente.h"
#include "clinical/U_frmPaciente_Manut.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include "shell/ScreenOpener.h"
#include "shell/Startup.h"
#include "shell/U_frmLogin.h"
#include "shell/U_frmPrincipal.h"
#include "toolkit/DBGrid.h"
#include "toolkit/FilterDialog.h"
#include "toolkit/IncrementalSearch.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlcipher/sqlite3.h>

namespace dv::bench {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

namespace {

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The floor of the list: a plain loop reading the list's rows with sqlite3_step.
double bareListMs(const QString& file, qint64* rawBytes) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const char* key = "5316428850";
    sqlite3_key(db, key, int(strlen(key)));
    sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* s = nullptr;
    // The columns the list reads with its rows (the picture only as present or not).
    sqlite3_prepare_v2(
        db,
        "select paciente_id, paciente_nome, paciente_profissao, paciente_rg, paciente_cpf, "
        "paciente_endereco, paciente_numero, paciente_complemento, paciente_bairro, paciente_cidade, "
        "paciente_cep, uf_id, paciente_ativo, paciente_fone, paciente_fone_comercial, "
        "paciente_celular, paciente_data_nascimento, paciente_email, paciente_anotacao, paciente_sexo, "
        "paciente_data_cadastro, paciente_orgao, paciente_matricula, paciente_num_dependentes, "
        "paciente_titular, paciente_registro, convenio_id, length(paciente_foto) "
        "from paciente order by paciente_nome",
        -1, &s, nullptr);
    const int n = sqlite3_column_count(s);
    qint64 bytes = 0;
    volatile qint64 sink = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER:
                sink = sink + sqlite3_column_int64(s, c);
                bytes += 8;
                break;
            case SQLITE_TEXT: {
                const unsigned char* p = sqlite3_column_text(s, c);
                const int len = sqlite3_column_bytes(s, c);
                sink = sink + (len ? p[0] : 0);
                bytes += len;
                break;
            }
            default:
                break;
            }
        }
    }
    const double ms = msSince(t);
    sqlite3_finalize(s);
    sqlite3_close_v2(db);
    if (rawBytes) *rawBytes = bytes;
    return ms;
}

} // namespace

bool prepareFolder(const QString& folder, const QString& database) {
    const QString app =
        QFileInfo(QStringLiteral(DV_INSTALL_DB)).dir().absolutePath() + QStringLiteral("/../");
    for (const char* sub : {"language", "skins", "relatorio", "help"}) {
        const QString from = QDir(app + QLatin1String(sub)).absolutePath();
        if (QFileInfo(from).isDir()) QFile::link(from, folder + QLatin1String(sub));
    }
    QDir().mkpath(folder + QStringLiteral("banco"));
    if (!QFile::link(QFileInfo(database).absoluteFilePath(),
                     folder + QStringLiteral("banco/DBDentrivale.mdb")))
        return false;
    QFile f(folder + QStringLiteral("config.ini"));
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(
        "[App]\r\nDataBase=banco/DBDentrivale.mdb\r\nLanguage=pt_BR\r\n[Aplicacao]\r\nConfigap=Local\r\n");
    return true;
}

namespace {

void typeKey(QWidget* w, QChar c) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &release);
}

} // namespace

bool startLoggedIn(QApplication& app, const QString& folder, const QString& database, StartupObjects& o) {
    if (!prepareFolder(folder, database)) {
        std::fprintf(stderr, "dv_bench: cannot prepare an application folder for %s\n", qPrintable(database));
        return false;
    }
    o = startup(app, folder, [](ScreenRegistry& r) { registerClinicalScreens(r); });
    if (!o.login) {
        std::fprintf(stderr, "dv_bench: start-up did not reach the login\n");
        shutdown(o);
        return false;
    }
    o.login->EditLogin->setText(QStringLiteral("admin"));
    o.login->EditSenha->setText(QStringLiteral("admin"));
    o.login->btnOKClick();
    waitUntil([&] { return o.main->isVisible() && o.login.isNull(); });
    o.main->resize(1280, 800);
    return true;
}

int patientScreens(QApplication& app, const QString& database, int runs) {
    QTemporaryDir dir;
    StartupObjects o;
    if (!startLoggedIn(app, dir.path() + QLatin1Char('/'), database, o)) return 1;

    qint64 rawBytes = 0;
    std::vector<double> bare, open, photoColumn, sortOther, keystroke, filter, record;
    size_t memory = 0;
    int rows = 0;
    ScreenOpener& opener = o.main->opener();
    for (int run = 0; run < runs; ++run) {
        bare.push_back(bareListMs(database, &rawBytes));

        QElapsedTimer t;
        t.start();
        opener.open(QStringLiteral("frmPaciente"));
        auto* list = qobject_cast<TfrmPaciente*>(opener.openScreen(QStringLiteral("frmPaciente")));
        if (!list) {
            std::fprintf(stderr, "dv_bench: the patient list did not open\n");
            break;
        }
        QApplication::processEvents();
        open.push_back(msSince(t));
        rows = list->SQL_Consulta->recordCount();
        memory = list->SQL_Consulta->memoryBytes();

        // The photo column brought into view: one repaint of the rows shown.
        {
            DBGrid* g = list->wwDBGrid1;
            const int column = g->gridModel()->columnOf(QStringLiteral("paciente_foto"));
            t.restart();
            g->scrollTo(g->model()->index(g->currentIndex().row(), column));
            g->viewport()->repaint();
            photoColumn.push_back(msSince(t));
            g->scrollTo(g->model()->index(g->currentIndex().row(), 0));
        }

        t.restart();
        list->wwDBGrid1TitleButtonClick(QStringLiteral("paciente_cidade"));
        QApplication::processEvents();
        sortOther.push_back(msSince(t));
        list->wwDBGrid1TitleButtonClick(QStringLiteral("paciente_nome"));

        // Keystrokes in the search box, each moving the grid.
        list->edpesq->setFocus();
        list->edpesq->clear();
        const QString typed = QStringLiteral("Maria d");
        t.restart();
        for (QChar c : typed) {
            typeKey(list->edpesq, c);
            QApplication::processEvents();
        }
        keystroke.push_back(msSince(t) / typed.size());

        // The filter dialog's OK with a criterion typed in.
        double filterMs = 0;
        QTimer::singleShot(0, list, [&, list] {
            waitUntil([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
            list->wwFilterDialog1->setTypedCriterion(QStringLiteral("paciente_nome"),
                                                     QStringLiteral("silva or souza"));
            QElapsedTimer f;
            f.start();
            list->wwFilterDialog1->okButton()->click();
            QApplication::processEvents();
            filterMs = msSince(f);
        });
        list->btnFiltrarClick();
        filter.push_back(filterMs);
        list->wwFilterDialog1->clearCriteria();

        // The record on the current patient, until its queries are open.
        list->SQL_Consulta->moveTo(list->SQL_Consulta->recordCount() / 2);
        double recordMs = 0;
        t.restart();
        QTimer::singleShot(0, list, [&] {
            waitUntil([] {
                auto* r = qobject_cast<TfrmPaciente_Manut*>(QApplication::activeModalWidget());
                return r && r->isReady();
            });
            recordMs = msSince(t);
            if (QWidget* r = QApplication::activeModalWidget()) r->close();
        });
        list->btnEditarClick();
        record.push_back(recordMs);

        list->btnSairClick();
        QApplication::processEvents();
    }
    shutdown(o);

    std::printf("patient screens over %d patients (medians of %d runs)\n", rows, runs);
    std::printf("  bare loop over the list's rows      %8.1f ms\n", median(bare));
    std::printf("  list opened through the opener      %8.1f ms   ratio %.2f (target <= 1.30)\n",
                median(open), median(open) / median(bare));
    std::printf("  photo column scrolled into view     %8.1f ms   (one repaint)\n", median(photoColumn));
    std::printf("  sort by another title               %8.1f ms   (target <= 150)\n", median(sortOther));
    std::printf("  search box, per keystroke           %8.3f ms   (target <= 5)\n", median(keystroke));
    std::printf("  filter dialog OK                    %8.1f ms   (target <= 200)\n", median(filter));
    std::printf("  record opened on a patient          %8.1f ms\n", median(record));
    std::printf("  list rows hold %.1f MB for %.1f MB of raw values (%.2f x, target <= 1.50)\n", memory / 1e6,
                rawBytes / 1e6, rawBytes ? double(memory) / double(rawBytes) : 0.0);
    return 0;
}

} // namespace dv::bench

