#pragma once
#include "FieldLink.h"
#include <QPlainTextEdit>

namespace dv {

// A multi-line text box bound to a (memo or text) field, written as it is typed.
// Tab leaves the box, as in the other boxes of a form.
class DBMemo : public QPlainTextEdit, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit DBMemo(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QString typedText() const override { return toPlainText(); }

private:
    void load();
    void updateState();
    void edited();

    bool m_readOnly = false;
    bool m_loading = false;
};

} // namespace dv
