#pragma once
#include "EditMask.h"
#include "FieldLink.h"
#include <QLineEdit>

namespace dv {

enum class CharCase { Normal, Upper, Lower };

// An edit box bound to a field. Text fields are written as they are typed (the first
// keystroke puts the dataset into Edit); numbers and dates when the box is left or
// updateRecord() is called, so that a half-typed number is never converted.
//
// The edit mask is the box's own (setEditMask) or else the field's, in the system's
// notation ("999.999.999-99;0;_": digits only are stored; ";1;" stores the literals).
// Without a mask a text field limits typing to its size. A mask given to the field
// after the box showed it takes effect on reload() or when the box is entered.
//
//   auto* e = new dv::DBEdit(page);
//   e->setObjectName("DBEdit2");
//   e->bind(dsUpdate, "paciente_cpf");
//   e->setCharCase(dv::CharCase::Upper);
class DBEdit : public QLineEdit, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString editMask READ editMask WRITE setEditMask)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit DBEdit(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }

    // The box's own mask; empty: the field's edit mask, if any.
    const QString& editMask() const { return m_ownMask; }
    void setEditMask(const QString& systemMask);
    // The mask in force.
    const EditMask& activeMask() const { return m_mask; }

    CharCase charCase() const { return m_charCase; }
    void setCharCase(CharCase c);

    // Read-only by choice; the box is also read-only while its field cannot be changed.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    void updateRecord() override;
    QString typedText() const override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void load();
    void updateState();
    void applyMask();
    void edited(const QString& text);
    void store();
    bool writesAsTyped() const;
    QString caseOf(const QString& text) const;

    QString m_ownMask;
    EditMask m_mask;
    CharCase m_charCase = CharCase::Normal;
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_loading = false;
};

} // namespace dv
