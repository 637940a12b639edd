#pragma once
#include "core/db/DataSource.h"
#include "core/db/Dataset.h" // DataSource.h needs it complete
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace dv {

// What a data-aware control keeps of its binding: a data source and a field name.
// It tells the control when to show the field again (another row, a change of the
// field by someone else, open, close, state) and guards the control's own writes,
// so that typing is not interrupted by the echo of the value just written.
class FieldLink : public QObject {
    Q_OBJECT
public:
    explicit FieldLink(QObject* parent = nullptr);

    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source);
    const QString& fieldName() const { return m_fieldName; }
    void setFieldName(const QString& name);

    Dataset* dataset() const;
    // The field, when the data source has a dataset that has it; fields are found by
    // name each time, since a reopened query may make them anew.
    Field* field() const;
    bool isActive() const; // the dataset is open
    bool isEditing() const;
    // A typed change may be written: the dataset is open, it and the field can be
    // changed, and it is editing or its data source edits automatically.
    bool canModify() const;

    // Puts the dataset into Edit (through the data source) before a write; false when
    // the field cannot be changed.
    bool edit();
    // Runs a write of the control's value without reloading the control.
    void write(const std::function<void(Field&)>& assign);
    bool isWriting() const { return m_writing; }

    // Called when the control must show the field again.
    std::function<void()> onLoad;
    // Called when the dataset's state changes (after any onLoad of the same change).
    std::function<void()> onState;

private:
    void connectSource();
    void dataChanged(Field* field);
    void load();

    QPointer<DataSource> m_source;
    QString m_fieldName;
    bool m_writing = false;
};

// The interface every data-aware control offers, for the screen bases that walk a
// screen's controls (required and document checks, masks, capitalization):
//
//   if (auto* c = dynamic_cast<dv::DataControl*>(widget)) {
//       Field* f = c->field();  // bound field, nullptr when unbound
//       c->updateRecord();      // write what is typed but not yet in the field
//   }
class DataControl {
public:
    virtual ~DataControl() = default;

    FieldLink& link() { return *m_link; }
    const FieldLink& link() const { return *m_link; }
    DataSource* dataSource() const { return m_link->dataSource(); }
    QString dataField() const { return m_link->fieldName(); }
    Field* field() const { return m_link->field(); }
    void bind(DataSource* source, const QString& fieldName) {
        m_link->setFieldName(fieldName);
        m_link->setDataSource(source);
    }

    // Writes a value typed but not yet written (numbers and dates are written when
    // complete or when the control is left). Errors of the conversion propagate.
    virtual void updateRecord() {}
    // Shows the field's current value again, discarding what was typed.
    virtual void reload() {
        if (m_link->onLoad) m_link->onLoad();
    }
    // The text as typed, without the literals of an edit mask.
    virtual QString typedText() const { return QString(); }

protected:
    explicit DataControl(QObject* owner) : m_link(new FieldLink(owner)) {}

private:
    FieldLink* m_link; // owned by the control as a QObject child
};

} // namespace dv
