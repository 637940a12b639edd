#pragma once
#include "Engine.h"
#include <QString>
#include <optional>

namespace dv {

class Dataset;

enum class FieldKind {
    Data,      // a column of the query
    Lookup,    // the result field of the lookup dataset's row whose key matches
    Calculated // set by the dataset's OnCalcFields
};

// A persistent field as a screen declares it before opening its query. What is left
// at its default comes from the column's metadata.
struct FieldDef {
    QString name{};                      // column name (or the name of a lookup/calculated field)
    FieldType type = FieldType::Unknown; // Unknown: the column's type (String for lookup/calculated)
    QString displayLabel{};              // empty: the name
    int size = 0;                        // 0: the column's width
    std::optional<bool> required{};      // unset: the column is NOT NULL and not numbered by the database
    bool visible = true;
    int displayWidth = 0; // characters; 0: from the type and size
    bool readOnly = false;
    int tag = 0;
    QString editMask{};      // kept for the edit controls, e.g. "99999-999;0;_"
    QString displayFormat{}; // "R$ #,##0.00", "dd/mm/yyyy hh:nn" ...
    FieldKind kind = FieldKind::Data;
    // Lookup fields: this dataset's key field(s) ("a;b"), matched against the lookup
    // dataset's key field(s); the result field of the matching row is shown.
    Dataset* lookupDataset = nullptr;
    QString keyFields{};
    QString lookupKeyFields{};
    QString lookupResultField{};
};

} // namespace dv
