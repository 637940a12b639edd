#include "DataSource.h"
#include "Dataset.h"

namespace dv {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::DataSource(Dataset* dataset, const QString& name, QObject* parent) : QObject(parent) {
    setObjectName(name);
    setDataset(dataset);
}

DataSource::~DataSource() {
    if (m_dataset) m_dataset->detach(this);
}

void DataSource::setDataset(Dataset* dataset) {
    if (m_dataset == dataset) return;
    if (m_dataset) m_dataset->detach(this);
    m_dataset = dataset;
    if (m_dataset) m_dataset->attach(this);
    emit datasetReset();
    emitDataChanged(nullptr);
    emitStateChanged();
}

void DataSource::edit() {
    if (m_autoEdit && m_dataset && m_dataset->state() == DatasetState::Browse) m_dataset->edit();
}

void DataSource::emitDataChanged(Field* field) {
    if (OnDataChange) OnDataChange(field);
    emit dataChanged(field);
}

void DataSource::emitStateChanged() {
    if (OnStateChange) OnStateChange();
    emit stateChanged();
}

} // namespace dv
