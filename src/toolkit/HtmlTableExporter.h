#pragma once
#include "GridModel.h"
#include <QString>

namespace dv {

class Dataset;

// Writes rows as an HTML table: a title (a "<br>" in it breaks the line; everything
// else is shown as written), a header row with the column titles, the record number
// of each row, alternate rows shaded. The same page serves as the Excel (.xls), Word
// (.doc) and HTML exports: those programs open HTML tables. Text columns are marked
// as text for Excel, so that CPFs and codes keep their leading zeros.
//
//   dv::HtmlTableExporter::write("QbExport_Pacientes.xls", *SQL_Consulta, wwDBGrid1->columns(), "Pacientes");
//
// The rows are those the dataset shows, in its order; its current row does not move.
// A file that cannot be written raises dv::PlainError.
class HtmlTableExporter {
public:
    static void write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns,
                      const QString& title = QString());
    // The page as text (what write() saves).
    static QString page(const Dataset& dataset, const QList<GridColumn>& columns, const QString& title);
};

} // namespace dv
