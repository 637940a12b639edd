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
// at its default comes from the column's metadata. Screens declare fields with the
// named constructors, adjusted by the with... steps:
//
//   q->addField(FieldDef::column("paciente_nome", "Nome", 40));
//   q->addField(FieldDef::hidden("paciente_id"));
//   q->addField(FieldDef::column("consulta_valor", "Valor", 12).withFormat("R$ #,##0.00"));
//   q->addField(FieldDef::lookup("lk_uf", "UF", 4, dm().SQL_UF, "paciente_uf", "uf_id", "uf_nome"));
struct FieldDef {
    // A column of the query, shown under the label (the name when empty), `width`
    // characters wide (0: from its type and size).
    static FieldDef column(const QString& name, const QString& label = QString(), int width = 0);
    // A column read but never shown.
    static FieldDef hidden(const QString& name);
    // The `result` field of the row of `from` whose `lookupKeys` match this dataset's `keys`.
    static FieldDef lookup(const QString& name, const QString& label, int width, Dataset* from,
                           const QString& keys, const QString& lookupKeys, const QString& result);
    // A value the dataset's OnCalcFields sets.
    static FieldDef calculated(const QString& name, const QString& label, int width,
                               FieldType type = FieldType::String);

    FieldDef withType(FieldType t) const;
    FieldDef withSize(int characters) const;
    FieldDef withTag(int value) const;
    FieldDef withMask(const QString& mask) const;
    FieldDef withFormat(const QString& format) const;
    FieldDef asRequired(bool value = true) const;
    FieldDef asReadOnly() const;
    FieldDef asHidden() const;

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
