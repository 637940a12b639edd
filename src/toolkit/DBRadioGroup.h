#pragma once
#include "FieldLink.h"
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QAbstractButton;

namespace dv {

// A group of choices bound to a field: the choice at index i stores values()[i]
// ("F"/"J", "S"/"N"), or its own caption when no values are given. A value that is
// none of them selects nothing. Language files replace the captions (".Items"); the
// stored values stay.
//
//   auto* r = new dv::DBRadioGroup("Pessoa", page);
//   r->setObjectName("dbRadioPessoa");
//   r->setItems({"Física", "Jurídica"});
//   r->setValues({"F", "J"});
//   r->setColumns(2);
//   r->bind(dsUpdate, "contato_pessoa");
class DBRadioGroup : public QGroupBox, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(QStringList values READ values WRITE setValues)
    Q_PROPERTY(int columns READ columns WRITE setColumns)
    Q_PROPERTY(int itemIndex READ itemIndex WRITE setItemIndex NOTIFY changed)
public:
    explicit DBRadioGroup(QWidget* parent = nullptr);
    explicit DBRadioGroup(const QString& caption, QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }

    const QStringList& items() const { return m_items; }
    void setItems(const QStringList& items);
    const QStringList& values() const { return m_values; }
    void setValues(const QStringList& values);
    int columns() const { return m_columns; }
    void setColumns(int columns);

    // -1 when nothing is selected.
    int itemIndex() const;
    // Selects a choice as the user would (writing the field when bound).
    void setItemIndex(int index);
    // The stored value of a choice.
    QString valueAt(int index) const;
    QAbstractButton* button(int index) const;

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

signals:
    // The user chose another item.
    void changed();

private:
    void rebuild();
    void load();
    void showIndex(int index);
    void clicked(int index);

    QStringList m_items;
    QStringList m_values;
    int m_columns = 1;
    int m_index = -1;
    bool m_readOnly = false;
    QButtonGroup* m_group;
    QGridLayout* m_layout;
};

} // namespace dv
