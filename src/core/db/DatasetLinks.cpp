// Data sources, controls suspension and the master-detail link of the dataset.
#include "DataSource.h"
#include "Dataset.h"

namespace dv {

void Dataset::attach(DataSource* source) {
    for (const QPointer<DataSource>& s : std::as_const(m_sources))
        if (s == source) return;
    m_sources.append(source);
}

void Dataset::detach(DataSource* source) {
    m_sources.removeIf([source](const QPointer<DataSource>& s) { return !s || s == source; });
}

void Dataset::disableControls() {
    ++m_disableCount;
}

void Dataset::enableControls() {
    if (m_disableCount == 0) return;
    if (--m_disableCount > 0 || !m_pendingReset) return;
    m_pendingReset = false;
    const auto sources = m_sources;
    for (const QPointer<DataSource>& s : sources)
        if (s) {
            s->emitReset();
            s->emitDataChanged(nullptr);
            s->emitStateChanged();
        }
}

// Each notification goes to every data source unless controls are disabled, in which
// case one reset is sent when they are enabled again.
#define DV_NOTIFY(call)                                                                                      \
    do {                                                                                                     \
        if (m_disableCount > 0) {                                                                            \
            m_pendingReset = true;                                                                           \
            return;                                                                                          \
        }                                                                                                    \
        const auto sources = m_sources;                                                                      \
        for (const QPointer<DataSource>& s : sources)                                                        \
            if (s) s->call;                                                                                  \
    } while (false)

void Dataset::notifyReset() {
    ++m_dataGeneration;
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    const auto sources = m_sources;
    for (const QPointer<DataSource>& s : sources)
        if (s) {
            s->emitReset();
            s->emitDataChanged(nullptr);
        }
}

void Dataset::notifyScrolled() {
    DV_NOTIFY(emitDataChanged(nullptr));
}
void Dataset::notifyState() {
    DV_NOTIFY(emitStateChanged());
}
void Dataset::notifyRowInserted(int row) {
    DV_NOTIFY(emitRowInserted(row));
}
void Dataset::notifyRowAboutToBeRemoved(int row) {
    DV_NOTIFY(emitRowAboutToBeRemoved(row));
}
void Dataset::notifyRowRemoved(int row) {
    DV_NOTIFY(emitRowRemoved(row));
}
void Dataset::notifyRowChanged(int row) {
    DV_NOTIFY(emitRowChanged(row));
}
void Dataset::notifyFieldChanged(Field* f) {
    DV_NOTIFY(emitDataChanged(f));
}

#undef DV_NOTIFY

// ---- master and detail ----

void Dataset::setMasterSource(DataSource* master) {
    if (m_master) disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_closedByMaster = false;
    if (!master) return;
    connect(master, &DataSource::dataChanged, this, [this](Field* f) {
        if (!f) masterChanged();
    });
    connect(master, &DataSource::stateChanged, this, [this] { masterChanged(); });
    m_masterSeen = master->dataset() ? master->dataset()->m_rowGeneration : 0;
}

void Dataset::masterChanged() {
    Dataset* master = m_master ? m_master->dataset() : nullptr;
    if (!master) return;
    if (!master->isActive() || master->isEmpty()) {
        m_masterSeen = master->m_rowGeneration;
        if (isActive()) {
            close();
            m_closedByMaster = true;
        }
        return;
    }
    if (!isActive()) {
        if (m_closedByMaster) open();
        return;
    }
    if (master->m_rowGeneration == m_masterSeen) return;
    m_masterSeen = master->m_rowGeneration;
    // Re-query for the master's new row.
    checkBrowseMode();
    runQuery();
    m_cur = -1;
    rebuildView(false);
    m_bof = true;
    m_eof = m_view.empty();
    ++m_rowGeneration;
    notifyReset();
    if (!m_view.empty()) fire(AfterScroll);
}

} // namespace dv
