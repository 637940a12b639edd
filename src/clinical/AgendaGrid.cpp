#include "AgendaGrid.h"
#include "core/CodeTexts.h"
#include "core/Services.h"
#include "core/Session.h"
#include "core/U_dm.h"
#include "core/WaitCursor.h"
#include "core/WritablePlaces.h"
#include "toolkit/DBGrid.h"
#include "toolkit/HtmlTableExporter.h"
#include "toolkit/ThemeIcons.h"

namespace dv::agenda {

Dataset* makeAppointments(QObject* owner, const QString& condition, bool withDentist) {
    auto* d = new Dataset(dm().ADOConexao(), QStringLiteral("SQL_Agenda"), owner);
    d->sql() = {
        QStringLiteral(
            "SELECT agenda.paciente_id, agenda.dentista_id, agenda.agenda_data_cadastro, "
            "agenda.agenda_id, agenda.hora_id, agenda.agenda_data_consulta, agenda.agenda_observacao, "
            "paciente.paciente_nome, paciente.paciente_fone, paciente.paciente_celular, "
            "agenda_falta_atraso, paciente.paciente_registro, agenda.agenda_confirmacao FROM agenda INNER "
            "JOIN paciente ON "
            "agenda.paciente_id = paciente.paciente_id where ") +
        condition + QStringLiteral(" order by agenda.agenda_data_consulta, agenda.hora_id")};
    const QString date = QStringLiteral("dd/mm/yyyy");
    d->addField(FieldDef::column("hora_id", "Horário", 7));
    d->addField(FieldDef::column("agenda_data_consulta", "Data Consulta", 11).withFormat(date));
    if (withDentist)
        d->addField(FieldDef::lookup("lk_Dentista", "Dentista", 26, dm().SQL_Dentista, "dentista_id",
                                     "dentista_id", "dentista_nome"));
    for (const FieldDef& def : {
             FieldDef::column("paciente_nome", "Paciente", 26),
             // Beside the name, where the receptionist looks first.
             FieldDef::calculated("confirmacao", "Confirmação", 12),
             FieldDef::hidden("agenda_confirmacao"),
             FieldDef::column("paciente_id", "Id", 5),
             FieldDef::column("paciente_registro", "Registro", 9),
             FieldDef::column("paciente_fone", "Fone", 13),
             FieldDef::column("paciente_celular", "Celular", 13),
             FieldDef::column("agenda_data_cadastro", "Data Cadastro", 11).withFormat(date),
             FieldDef::column("agenda_observacao", "Observação", 18),
             FieldDef::column("agenda_falta_atraso", "Falta / Atraso", 7),
             FieldDef::hidden("dentista_id"),
             FieldDef::hidden("agenda_id"),
         })
        d->addField(def);
    d->OnCalcFields = [](Dataset& row) {
        row.fieldByName(QStringLiteral("confirmacao"))
            ->setAsString(
                confirmationText(row.fieldByName(QStringLiteral("agenda_confirmacao"))->asString()));
    };
    return d;
}

QString confirmationText(const QString& state) {
    const QString s = state.trimmed().toUpper();
    if (s == QLatin1String("C")) return dv::text("Confirmada");
    if (s == QLatin1String("D")) return dv::text("Desmarcada");
    if (s == QLatin1String("S")) return dv::text("Sem resposta");
    return QString();
}

void showAppointments(DBGrid* grid, DataSource* source) {
    grid->setDataSource(source);
    grid->setReadOnly(true);
    grid->setRowSelect(true);
    grid->setCheckBoxField(QStringLiteral("agenda_falta_atraso"));
}

void exportAppointments(const Dataset& appointments, const DBGrid& grid, const QString& title) {
    const QString path = fixedFilePath(QStringLiteral("RelatGrid.xls"));
    {
        WaitCursor cursor;
        HtmlTableExporter::write(path, appointments, grid.columns(), title);
    }
    services().shell().open(path);
}

QIcon refreshIcon() {
    return themeIconOrBadge("view-refresh", QColor(0x2e, 0x7d, 0x32), "A");
}

} // namespace dv::agenda
