#include "DBCheckBox.h"
#include "ToolkitRegistration.h"
#include "core/db/Field.h"
#include <QApplication>

namespace dv {

DBCheckBox::DBCheckBox(QWidget* parent) : DBCheckBox(QString(), parent) {}

DBCheckBox::DBCheckBox(const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), DataControl(this) {
    registerToolkitTexts();
    link().onLoad = [this] { load(); };
}

void DBCheckBox::setValueChecked(const QString& value) {
    m_checked = value;
    load();
}

void DBCheckBox::setValueUnchecked(const QString& value) {
    m_unchecked = value;
    load();
}

void DBCheckBox::load() {
    Field* f = field();
    if (!f || !link().isActive()) {
        if (dataSource()) setChecked(false);
        return;
    }
    setChecked(f->asString().compare(m_checked, Qt::CaseInsensitive) == 0);
}

void DBCheckBox::nextCheckState() {
    if (m_readOnly) {
        QApplication::beep();
        return;
    }
    if (!dataSource() || dataField().isEmpty()) {
        QCheckBox::nextCheckState();
        return;
    }
    if (!link().edit()) {
        QApplication::beep();
        return;
    }
    const bool ticked = !isChecked();
    link().write([&](Field& f) { f.setAsString(ticked ? m_checked : m_unchecked); });
    setChecked(ticked);
}

} // namespace dv
