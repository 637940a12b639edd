#pragma once
#include <QIcon>
#include <QString>

class QObject;

namespace dv {
class DataSource;
class Dataset;
class DBGrid;

// What the two agenda screens share: the appointments joined to their patients,
// their grid and their export.
namespace agenda {

// SQL_Agenda: the appointments whose condition holds ("agenda.paciente_id =
// :paciente_id ..."), by day and hour, with the grid's fields; the dentist's name
// after the day when asked.
Dataset* makeAppointments(QObject* owner, const QString& condition, bool withDentist);
// The patient's answer to the confirmation ('C', 'D', 'S') in words; empty when not asked.
QString confirmationText(const QString& state);
// The grid of appointments: read only, whole rows, the miss/late flag as a check box.
void showAppointments(DBGrid* grid, DataSource* source);
// Writes the grid as the spreadsheet page "RelatGrid.xls" beside the executable,
// over any earlier one, and opens it.
void exportAppointments(const Dataset& appointments, const DBGrid& grid, const QString& title);
// The refresh buttons' picture.
QIcon refreshIcon();

} // namespace agenda
} // namespace dv
