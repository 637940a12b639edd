#include "DBRadioGroup.h"
#include "ToolkitRegistration.h"
#include "core/db/Field.h"
#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace dv {

DBRadioGroup::DBRadioGroup(QWidget* parent) : DBRadioGroup(QString(), parent) {}

DBRadioGroup::DBRadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), DataControl(this), m_group(new QButtonGroup(this)),
      m_layout(new QGridLayout(this)) {
    registerToolkitTexts();
    m_layout->setContentsMargins(8, 4, 8, 4);
    m_layout->setHorizontalSpacing(16);
    m_layout->setVerticalSpacing(2);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &DBRadioGroup::clicked);
    link().onLoad = [this] { load(); };
}

void DBRadioGroup::setItems(const QStringList& items) {
    // Captions only change: the buttons are kept when the count is the same (language files).
    if (items.size() == m_items.size()) {
        m_items = items;
        for (int i = 0; i < m_items.size(); ++i)
            if (QAbstractButton* b = button(i)) b->setText(m_items[i]);
        return;
    }
    m_items = items;
    rebuild();
}

void DBRadioGroup::setValues(const QStringList& values) {
    m_values = values;
    load();
}

void DBRadioGroup::setColumns(int columns) {
    m_columns = qMax(1, columns);
    rebuild();
}

QString DBRadioGroup::valueAt(int index) const {
    if (index < 0 || index >= m_items.size()) return QString();
    return index < m_values.size() ? m_values[index] : m_items[index];
}

QAbstractButton* DBRadioGroup::button(int index) const {
    return m_group->button(index);
}

int DBRadioGroup::itemIndex() const {
    return m_index;
}

void DBRadioGroup::rebuild() {
    const QList<QAbstractButton*> old = m_group->buttons();
    for (QAbstractButton* b : old) {
        m_group->removeButton(b);
        delete b;
    }
    const int rows = (int(m_items.size()) + m_columns - 1) / m_columns;
    for (int i = 0; i < m_items.size(); ++i) {
        auto* b = new QRadioButton(m_items[i], this);
        m_group->addButton(b, i);
        // Filled column by column, as the choices are read down each column.
        m_layout->addWidget(b, rows ? i % rows : 0, rows ? i / rows : 0);
    }
    showIndex(m_index < m_items.size() ? m_index : -1);
    load();
}

void DBRadioGroup::showIndex(int index) {
    m_index = index;
    m_group->setExclusive(false);
    for (QAbstractButton* b : m_group->buttons())
        b->setChecked(m_group->id(b) == index);
    m_group->setExclusive(true);
}

void DBRadioGroup::load() {
    Field* f = field();
    if (!dataSource() || dataField().isEmpty()) return;
    if (!f || !link().isActive()) {
        showIndex(-1);
        return;
    }
    const QString value = f->asString();
    int found = -1;
    for (int i = 0; i < m_items.size() && found < 0; ++i)
        if (valueAt(i).compare(value, Qt::CaseInsensitive) == 0 && !value.isEmpty()) found = i;
    showIndex(found);
}

void DBRadioGroup::setItemIndex(int index) {
    if (index < -1 || index >= m_items.size()) return;
    clicked(index);
}

void DBRadioGroup::clicked(int index) {
    const int before = m_index;
    if (m_readOnly) {
        QApplication::beep();
        showIndex(before);
        return;
    }
    if (dataSource() && !dataField().isEmpty()) {
        if (!link().edit()) {
            QApplication::beep();
            showIndex(before);
            return;
        }
        const QString value = valueAt(index);
        link().write([&](Field& f) { f.setAsString(value); });
    }
    showIndex(index);
    if (index != before) emit changed();
}

} // namespace dv
