#pragma once
#include "FieldLink.h"
#include <QCheckBox>

namespace dv {

// A check box bound to a flag: ticked writes the checked value ("S"), cleared the
// unchecked one ("N"). Any other value, or none, shows it cleared.
class DBCheckBox : public QCheckBox, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString valueChecked READ valueChecked WRITE setValueChecked)
    Q_PROPERTY(QString valueUnchecked READ valueUnchecked WRITE setValueUnchecked)
public:
    explicit DBCheckBox(QWidget* parent = nullptr);
    explicit DBCheckBox(const QString& caption, QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }
    const QString& valueChecked() const { return m_checked; }
    void setValueChecked(const QString& value);
    const QString& valueUnchecked() const { return m_unchecked; }
    void setValueUnchecked(const QString& value);

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    void nextCheckState() override;

private:
    void load();

    QString m_checked = QStringLiteral("S");
    QString m_unchecked = QStringLiteral("N");
    bool m_readOnly = false;
};

} // namespace dv
