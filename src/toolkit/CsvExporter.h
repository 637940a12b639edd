#pragma once
#include "GridModel.h"
#include <QString>

namespace dv {

class Dataset;

// Writes rows as comma-separated text (the .csv and .txt exports): a header row of
// the column titles, then one line per row; the first column is the record number;
// every value is enclosed in double quotes, a double quote inside doubled. Values are
// shown as the grid shows them (dd/MM/yyyy, 1.234,56). UTF-8 with a byte-order mark,
// lines ending CR LF, as spreadsheet programs read them.
//
// The rows are those the dataset shows, in its order; its current row does not move.
// A file that cannot be written raises dv::PlainError.
class CsvExporter {
public:
    static void write(const QString& path, const Dataset& dataset, const QList<GridColumn>& columns);
    // One value as written: "a ""quoted"" word".
    static QString quoted(const QString& value);
};

} // namespace dv
