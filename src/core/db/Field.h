#pragma once
#include "Engine.h"
#include "FieldDef.h"
#include <QObject>
#include <QVariant>
#include <functional>

namespace dv {

class Dataset;

// One field of a dataset: a column of its query, a lookup or a calculated value.
// Its objectName is the dataset's name followed by the field name
// ("SQL_Pacientepaciente_nome"). Values are those of the dataset's current row.
//
// Writing a value needs the dataset in Insert or Edit state; outside them the write
// raises DatabaseError "Dataset not in edit or insert mode" (controls call edit() first).
// An empty text written to a field stores NULL, whatever the field's type.
class Field : public QObject {
    Q_OBJECT
    Q_PROPERTY(int tag READ tag WRITE setTag)
    Q_PROPERTY(QString displayLabel READ displayLabel WRITE setDisplayLabel)
public:
    Field(Dataset* dataset, const FieldDef& def);

    Dataset* dataset() const { return m_dataset; }
    const QString& fieldName() const { return m_def.name; }
    FieldType dataType() const { return m_type; }
    FieldKind kind() const { return m_def.kind; }
    bool isData() const { return m_def.kind == FieldKind::Data; }
    bool isLookup() const { return m_def.kind == FieldKind::Lookup; }
    bool isCalculated() const { return m_def.kind == FieldKind::Calculated; }
    // Pictures and memos, which lists cannot sort by.
    bool isBlob() const { return m_type == FieldType::Blob || m_type == FieldType::Memo; }
    bool isNumeric() const;
    // A one-character text column holding "S" or "N".
    bool isFlag() const { return m_type == FieldType::String && m_size == 1; }
    // Position among the dataset's fields.
    int index() const;
    // The column the value comes from (empty for lookup and calculated fields).
    const ColumnInfo& column() const { return m_column; }

    QString displayLabel() const { return m_def.displayLabel.isEmpty() ? m_def.name : m_def.displayLabel; }
    void setDisplayLabel(const QString& label) { m_def.displayLabel = label; }
    // The label and mask the screen declared, whatever a language file or a screen base
    // set since: what is stored is chosen from these, never from the shown label.
    QString designedLabel() const { return m_designedLabel.isEmpty() ? m_def.name : m_designedLabel; }
    const QString& designedMask() const { return m_designedMask; }
    // A field whose role changes with its row (a contact's CPF or CNPJ) is given the
    // designed label of its present role: masks and document checks follow it.
    void setDesignedLabel(const QString& label) { m_designedLabel = label; }
    int size() const { return m_size; }
    bool isRequired() const { return m_required; }
    void setRequired(bool required) { m_required = required; }
    bool isVisible() const { return m_def.visible; }
    void setVisible(bool visible);
    int displayWidth() const;
    void setDisplayWidth(int chars) { m_def.displayWidth = chars; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    int tag() const { return m_def.tag; }
    void setTag(int tag) { m_def.tag = tag; }
    const QString& editMask() const { return m_def.editMask; }
    void setEditMask(const QString& mask) { m_def.editMask = mask; }
    const QString& displayFormat() const { return m_def.displayFormat; }
    void setDisplayFormat(const QString& format) { m_def.displayFormat = format; }
    Qt::Alignment alignment() const;

    Dataset* lookupDataset() const { return m_def.lookupDataset; }
    const QString& keyFields() const { return m_def.keyFields; }
    const QString& lookupKeyFields() const { return m_def.lookupKeyFields; }
    const QString& lookupResultField() const { return m_def.lookupResultField; }

    // ---- values of the current row ----
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    Currency asCurrency() const;
    QDateTime asDateTime() const;
    QDate asDate() const { return asDateTime().date(); }
    QByteArray asBytes() const;
    // Typed: int / qint64 / double / dv::Currency / QDateTime / QString / QByteArray; invalid when null.
    QVariant asVariant() const;

    void setAsString(const QString& text);
    void setAsInteger(qint64 value);
    void setAsFloat(double value);
    void setAsCurrency(Currency value);
    void setAsDateTime(const QDateTime& value);
    void setAsDate(const QDate& value) { setAsDateTime(QDateTime(value, QTime(0, 0))); }
    void setAsVariant(const QVariant& value);
    void setBytes(const QByteArray& bytes);
    void clear();

    // The value as lists and controls show it, in the Brazilian way: dates "dd/MM/yyyy"
    // (time too when the display format asks), money "1.234,56" or by the display format.
    QString displayText() const;

    // Called after the field's value changed.
    std::function<void(Field&)> OnChange;

    // ---- used by the dataset ----
    // The value converted to this field's type (invalid for null); DatabaseError when it cannot be.
    QVariant convert(const QVariant& value) const;
    QString format(const QVariant& typed) const;      // displayText of a typed value
    QString formatPlain(const QVariant& typed) const; // asString of a typed value
    // displayText of a stored date-time, from its day and time of day.
    QString formatDateTime(const QDate& date, const QTime& time) const;
    void bind(int storeColumn, const ColumnInfo& column);
    void unbind() { m_storeColumn = -1; }
    int storeColumn() const { return m_storeColumn; }
    const FieldDef& definition() const { return m_def; }
    void renameFor(const QString& datasetName) { setObjectName(datasetName + m_def.name); }
    bool isDeclared() const { return m_declared; } // a persistent field of the screen
    void setDeclared() { m_declared = true; }

private:
    Dataset* m_dataset;
    FieldDef m_def;
    FieldType m_type;
    int m_size;
    bool m_required;
    bool m_readOnly;
    ColumnInfo m_column;
    int m_storeColumn = -1;
    bool m_declared = false;
    QString m_designedLabel;
    QString m_designedMask;
};

} // namespace dv
