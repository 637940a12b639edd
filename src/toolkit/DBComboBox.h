#pragma once
#include "FieldLink.h"
#include <QComboBox>

namespace dv {

// A drop-down of fixed choices bound to a text field ("Sexo": "M", "F"). The chosen
// text is written; a value that is not among the items is still shown. With
// setEditable(true) the user may also type any text (written as typed).
class DBComboBox : public QComboBox, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
public:
    explicit DBComboBox(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QString typedText() const override { return currentText(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showPopup() override;

private:
    void load();
    void chosen(int index);
    void typed(const QString& text);
    void writeValue(const QString& value);
    bool blocked() const;

    bool m_readOnly = false;
    bool m_loading = false;
};

} // namespace dv
