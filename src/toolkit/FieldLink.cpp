#include "FieldLink.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"

namespace dv {

FieldLink::FieldLink(QObject* parent) : QObject(parent) {}

void FieldLink::setDataSource(DataSource* source) {
    if (m_source == source) return;
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    connectSource();
    load();
    if (onState) onState();
}

void FieldLink::setFieldName(const QString& name) {
    if (m_fieldName == name) return;
    m_fieldName = name;
    load();
    if (onState) onState();
}

void FieldLink::connectSource() {
    if (!m_source) return;
    connect(m_source, &DataSource::dataChanged, this, &FieldLink::dataChanged);
    connect(m_source, &DataSource::stateChanged, this, [this] {
        // Going into Edit because of a keystroke must not replace what is being typed.
        if (!m_writing) load();
        if (onState) onState();
    });
    connect(m_source, &QObject::destroyed, this, [this] {
        load();
        if (onState) onState();
    });
}

Dataset* FieldLink::dataset() const {
    return m_source ? m_source->dataset() : nullptr;
}

Field* FieldLink::field() const {
    Dataset* ds = dataset();
    return ds && !m_fieldName.isEmpty() ? ds->findField(m_fieldName) : nullptr;
}

bool FieldLink::isActive() const {
    Dataset* ds = dataset();
    return ds && ds->isActive();
}

bool FieldLink::isEditing() const {
    Dataset* ds = dataset();
    return ds && ds->isEditing();
}

bool FieldLink::canModify() const {
    Dataset* ds = dataset();
    Field* f = field();
    if (!ds || !f || !ds->isActive() || ds->isReadOnly() || f->isReadOnly() || f->isCalculated())
        return false;
    if (f->isLookup()) {
        // A lookup field is changed through the key field(s) behind it.
        for (const QString& key : f->keyFields().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            Field* k = ds->findField(key.trimmed());
            if (!k || k->isReadOnly()) return false;
        }
    }
    return ds->isEditing() || m_source->autoEdit();
}

bool FieldLink::edit() {
    if (!canModify()) return false;
    if (!isEditing()) {
        m_writing = true;
        try {
            m_source->edit();
        } catch (...) {
            m_writing = false;
            throw;
        }
        m_writing = false;
    }
    return isEditing();
}

void FieldLink::write(const std::function<void(Field&)>& assign) {
    Field* f = field();
    if (!f) return;
    m_writing = true;
    try {
        assign(*f);
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
}

void FieldLink::dataChanged(Field* changed) {
    if (m_writing) return;
    // A lookup or calculated field follows any field of the row.
    Field* mine = field();
    if (!changed || !mine || changed == mine || !mine->isData()) load();
}

void FieldLink::load() {
    if (onLoad) onLoad();
}

} // namespace dv
