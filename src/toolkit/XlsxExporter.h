#pragma once
#include "GridModel.h"
#include <QString>

namespace dv {

class Dataset;

// Writes rows as a real spreadsheet (.xlsx): the title in the first row, the column
// titles in bold over the title colour, then one row per record with the record
// number first. Numbers, money and dates are written as such (money with two
// decimals, dates dd/mm/yyyy), so the spreadsheet can sum and sort them; flags and
// texts as text. Column widths follow the grid's.
//
// The rows are those the dataset shows, in its order; its current row does not move.
// A file that cannot be written raises dv::PlainError.
class XlsxExporter {
public:
    static void write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns,
                      const QString& title = QString());
};

} // namespace dv
