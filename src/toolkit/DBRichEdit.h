#pragma once
#include "FieldLink.h"
#include <QTextEdit>

namespace dv {

// A formatted-text box bound to a memo field. The field holds HTML; a value that
// is plain text is shown as such. Written as it is typed.
class DBRichEdit : public QTextEdit, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(bool readOnly READ isReadOnly WRITE setReadOnly)
public:
    explicit DBRichEdit(QWidget* parent = nullptr);

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
    QString m_loaded;
};

} // namespace dv
