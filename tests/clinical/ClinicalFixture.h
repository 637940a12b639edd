#pragma once
// The application with the real clinical screens (screens of other libraries have
// no factory), rows written straight into the tables, and the patient record opened
// from the patient list as a user would.
#include "../shell/AccessFixture.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmPaciente.h"
#include "clinical/U_frmPaciente_Manut.h"
#include "core/db/Engine.h"
#include "framework/U_frmRelatorio.h"
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTabWidget>

namespace dv::test {

inline LoggedIn::Options clinicalOptions() {
    LoggedIn::Options o;
    o.screens = [](ScreenRegistry& r) { registerClinicalScreens(r); };
    return o;
}

// A JPEG of a flat colour; its bytes.
inline QByteArray writeJpeg(const QString& path, QColor color, QSize size = QSize(120, 150)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    image.save(path, "JPG", 90);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The program's application with the clinical screens, put back for each case.
class PatientsApp {
public:
    PatientsApp() : app(sharedApp(QStringLiteral("clinical"), clinicalOptions)) {}
    // Over an application of the test's own (the server-engine runs).
    explicit PatientsApp(LoggedIn& own) : app(own) {}

    LoggedIn& app;
    TfrmPaciente* list = nullptr;

    ScriptedDialogs& dialogs() { return app.s.dialogs; }

    // Opens the list (after the rows a test needs are written).
    TfrmPaciente* openList() {
        app.opener().open(QStringLiteral("frmPaciente"));
        list = qobject_cast<TfrmPaciente*>(app.opener().openScreen(QStringLiteral("frmPaciente")));
        return list;
    }

    qint64 insert(const QString& table, const QVariantMap& values, const QString& key) {
        QStringList names, marks;
        Params params;
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            names << it.key();
            marks << QLatin1Char(':') + it.key();
            ParamType type = ParamType::Text;
            if (it.value().typeId() == QMetaType::Int || it.value().typeId() == QMetaType::LongLong)
                type = ParamType::Integer;
            else if (it.value().typeId() == QMetaType::QDate || it.value().typeId() == QMetaType::QDateTime)
                type = ParamType::DateTime;
            else if (it.value().typeId() == QMetaType::QByteArray)
                type = ParamType::Blob;
            QVariant v = it.value();
            if (v.typeId() == QMetaType::QDate) v = QDateTime(v.toDate(), QTime(0, 0));
            params.append(Param{it.key(), type, v});
        }
        const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        return app.db().insert(sql, params, key);
    }

    qint64 addPatient(const QString& name, QVariantMap more = {}) {
        more.insert(QStringLiteral("paciente_nome"), name);
        if (!more.contains(QStringLiteral("convenio_id"))) more.insert(QStringLiteral("convenio_id"), 1);
        more.insert(QStringLiteral("paciente_ativo"), QStringLiteral("S"));
        return insert(QStringLiteral("paciente"), more, QStringLiteral("paciente_id"));
    }
    qint64 addConsultation(qint64 patient, const QString& approved = QStringLiteral("N")) {
        return insert(QStringLiteral("consulta"),
                      {{QStringLiteral("paciente_id"), patient},
                       {QStringLiteral("dentista_id"), 1},
                       {QStringLiteral("consulta_data"), QDate(2026, 2, 10)},
                       {QStringLiteral("consulta_aprovado"), approved},
                       {QStringLiteral("forma_pagamento_id"), 1}},
                      QStringLiteral("consulta_id"));
    }
    qint64 addItem(qint64 consultation, const QString& description, const QString& done) {
        return insert(QStringLiteral("item_consulta"),
                      {{QStringLiteral("consulta_id"), consultation},
                       {QStringLiteral("servico_id"), 1},
                       {QStringLiteral("dente_id"), 11},
                       {QStringLiteral("item_consulta_descricao"), description},
                       {QStringLiteral("item_consulta_concluido"), done}},
                      QStringLiteral("item_consulta_id"));
    }
    qint64 addInstallment(qint64 consultation, qint64 patient, int number, const QString& paidOff) {
        return insert(QStringLiteral("parcela"),
                      {{QStringLiteral("consulta_id"), consultation},
                       {QStringLiteral("paciente_id"), patient},
                       {QStringLiteral("parcela_numero"), number},
                       {QStringLiteral("parcela_vencimento"), QDate(2026, 3, 10).addMonths(number)},
                       {QStringLiteral("parcela_quitada"), paidOff}},
                      QStringLiteral("parcela_id"));
    }

    // The first column of every row of a query.
    QVariantList column(const QString& sql, const Params& params = {}) {
        QVariantList values;
        auto c = app.db().query(sql, params);
        while (c->next())
            values << (c->isNull(0) ? QVariant() : QVariant(QString::fromUtf8(c->utf8(0))));
        return values;
    }
    static Params id(qint64 value) { return {Param{QStringLiteral("id"), ParamType::Integer, value}}; }
    QStringList texts(const QString& sql, const Params& params = {}) {
        QStringList out;
        for (const QVariant& v : column(sql, params))
            out << v.toString();
        return out;
    }
    QByteArray blob(const QString& sql, const Params& params) {
        auto c = app.db().query(sql, params);
        return c->next() && !c->isNull(0) ? c->blob(0) : QByteArray();
    }
    int count(const QString& sql, const Params& params = {}) {
        auto c = app.db().query(sql, params);
        return c->next() ? int(c->integer(0)) : -1;
    }
    // The questions' keys in their order.
    QStringList questionOrder() {
        return texts(QStringLiteral("select anamnese_id from anamnese order by anamnese_ordem"));
    }

    // Opens the record over a new row or the given patient, runs the work while it is
    // shown (after its first activation) and closes it if the work left it open.
    bool withRecord(qint64 patient, const std::function<void(TfrmPaciente_Manut*)>& work) {
        bool ran = false;
        whenModal([&](QWidget* w) {
            // The activation opens the record's queries letting events run in between:
            // the work waits until it is over, then runs from the dialog's own loop.
            auto* poll = new QTimer(w);
            poll->setInterval(10);
            QObject::connect(poll, &QTimer::timeout, w, [&, w, poll] {
                auto* r = qobject_cast<TfrmPaciente_Manut*>(w);
                if (r && !r->isReady()) return;
                poll->stop();
                // Closed however the work ends, so that an error cannot hang the test.
                struct Closer {
                    QPointer<QWidget> w;
                    ~Closer() {
                        if (w && w->isVisible()) w->close();
                    }
                } closer{w};
                if (r) {
                    work(r);
                    ran = true;
                }
            });
            poll->start();
        });
        if (patient == 0) {
            list->btnNovoClick();
        } else {
            if (!list->SQL_Consulta->locate(QStringLiteral("paciente_id"), patient)) return false;
            list->btnEditarClick();
        }
        if (!ran) qWarning() << "the record's work did not finish; messages:" << app.s.dialogs.texts();
        return ran;
    }
};

// Runs the report of that caption from the picker that `open` shows.
inline bool printFromPicker(const QString& caption, const std::function<void()>& open) {
    bool printed = false;
    whenModal([&](QWidget* w) {
        auto close = qScopeGuard([w] { w->close(); });
        auto* picker = qobject_cast<TfrmRelatorio*>(w);
        if (!picker) return;
        const auto found = picker->ReportLB->findItems(caption, Qt::MatchExactly);
        if (found.size() != 1) return;
        picker->ReportLB->setCurrentItem(found.first());
        picker->ReportLBClick();
        QTest::mouseClick(picker->BitBtn1, Qt::LeftButton);
        printed = true;
    });
    open();
    return printed;
}

} // namespace dv::test
