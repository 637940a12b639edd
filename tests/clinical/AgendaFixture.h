#pragma once
// The application with the clinical screens and a dentist with working hours on
// Mondays; the scripted clock stands on Monday 16/03/2026 09:30.
#include "../shell/AccessFixture.h"
#include "clinical/ClinicalScreens.h"
#include "clinical/U_frmAgenda_Consulta.h"
#include "clinical/U_frmAgenda_Manut.h"
#include "clinical/U_frmAgenda_Paciente.h"
#include "core/db/Engine.h"

namespace dv::test {

inline const QDate kMonday(2026, 3, 16);

class AgendaApp {
public:
    AgendaApp()
        : app(sharedApp(QStringLiteral("agenda"), [] {
              LoggedIn::Options o;
              o.screens = [](ScreenRegistry& r) { registerClinicalScreens(r); };
              return o;
          })) {}

    LoggedIn& app;
    ScriptedDialogs& dialogs() { return app.s.dialogs; }
    Connection& db() { return app.db(); }

    qint64 exec(const QString& sql, const Params& params = {}, const QString& key = QString()) {
        return key.isEmpty() ? app.db().execute(sql, params) : app.db().insert(sql, params, key);
    }
    static Param p(const char* name, const QVariant& v) {
        ParamType t = ParamType::Text;
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong) t = ParamType::Integer;
        if (v.typeId() == QMetaType::QDate)
            return {QString::fromLatin1(name), ParamType::DateTime, QDateTime(v.toDate(), QTime(0, 0))};
        return {QString::fromLatin1(name), t, v};
    }

    qint64 addDentist(const QString& name, const QStringList& mondayHours, const QString& active = "S") {
        const qint64 id =
            exec(QStringLiteral("insert into dentista (dentista_nome, dentista_ativo) values (:n, :a)"),
                 {p("n", name), p("a", active)}, QStringLiteral("dentista_id"));
        for (const QString& h : mondayHours)
            exec(QStringLiteral("insert into horario (hora_id, dentista_id, dia_id) values (:h, :d, 1)"),
                 {p("h", h), p("d", id)});
        LoggedIn::reopen(dm().SQL_Dentista);
        return id;
    }
    qint64 addPatient(const QString& name) {
        const qint64 id =
            exec(QStringLiteral("insert into paciente (paciente_nome, convenio_id, paciente_ativo) "
                                "values (:n, 1, 'S')"),
                 {p("n", name)}, QStringLiteral("paciente_id"));
        LoggedIn::reopen(dm().SQL_Paciente);
        return id;
    }
    // A patient with the mobile as the record stores it (none when null).
    qint64 addPatient(const QString& name, const QString& mobile) {
        return exec(QStringLiteral("insert into paciente (paciente_nome, convenio_id, paciente_ativo, "
                                   "paciente_celular) values (:n, 1, 'S', :c)"),
                    {p("n", name), p("c", mobile.isNull() ? QVariant() : mobile)},
                    QStringLiteral("paciente_id"));
    }
    // The clinic's name, which the messages to patients sign with.
    void nameClinic(const QString& name) {
        if (exec(QStringLiteral("update empresa set empresa_nome = :n"), {p("n", name)}) == 0)
            exec(QStringLiteral("insert into empresa (empresa_nome) values (:n)"), {p("n", name)});
    }
    qint64 book(qint64 dentist, qint64 patient, const QDate& day, const QString& hour) {
        return exec(QStringLiteral("insert into agenda (paciente_id, dentista_id, agenda_data_cadastro, "
                                   "agenda_data_consulta, hora_id) values (:p, :d, :c, :day, :h)"),
                    {p("p", patient), p("d", dentist), p("c", kMonday), p("day", day), p("h", hour)},
                    QStringLiteral("agenda_id"));
    }
    int count(const QString& sql) { return scalar(app.db(), sql).toInt(); }

    // Runs the work on the agenda screen opened through the opener, as the main
    // window's "Agenda" does; closes it afterwards.
    bool withAgenda(const std::function<void(TfrmAgenda_Consulta*)>& work) {
        return inModal<TfrmAgenda_Consulta>(
            [this] { app.opener().open(QStringLiteral("frmAgenda_Consulta")); }, work);
    }
    // Presses "Novo" (or the given button) and works on the appointment form.
    static bool withAppointment(QAbstractButton* button, const std::function<void(TfrmAgenda_Manut*)>& work) {
        return inModal<TfrmAgenda_Manut>([button] { button->click(); }, work);
    }
};

// The hours a grid shows, in order.
inline QStringList hours(Dataset* d) {
    return fieldValues(d, QStringLiteral("hora_id"));
}

} // namespace dv::test
