// Data sources, controls suspension and the master-detail link of the dataset.
#include "DataSource.h"
#include "Dataset.h"
#include "DbErrors.h"

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
    if (--m_disableCount > 0) return;
    // Controls learn once that anything may have changed; the state too when it did.
    const bool stateToo = m_pendingReset;
    m_pendingReset = false;
    tell([stateToo](DataSource* s) {
        s->emitReset();
        s->emitDataChanged(nullptr);
        if (stateToo) s->emitStateChanged();
    });
}

// Each notification goes to every data source unless controls are disabled, in which
// case one reset is sent when they are enabled again.
void Dataset::tell(const std::function<void(DataSource*)>& call) {
    if (m_disableCount > 0) {
        m_pendingReset = true;
        return;
    }
    const auto sources = m_sources;
    for (const QPointer<DataSource>& s : sources)
        if (s) call(s);
    raiseLinkError();
}

void Dataset::notifyReset() {
    ++m_dataGeneration;
    tell([](DataSource* s) {
        s->emitReset();
        s->emitDataChanged(nullptr);
    });
}

void Dataset::notifyScrolled() {
    tell([](DataSource* s) { s->emitDataChanged(nullptr); });
}
void Dataset::notifyState() {
    tell([](DataSource* s) { s->emitStateChanged(); });
}
void Dataset::notifyRowInserted(int row) {
    tell([row](DataSource* s) { s->emitRowInserted(row); });
}
void Dataset::notifyRowAboutToBeRemoved(int row) {
    tell([row](DataSource* s) { s->emitRowAboutToBeRemoved(row); });
}
void Dataset::notifyRowRemoved(int row) {
    tell([row](DataSource* s) { s->emitRowRemoved(row); });
}
void Dataset::notifyRowChanged(int row) {
    tell([row](DataSource* s) { s->emitRowChanged(row); });
}
void Dataset::notifyFieldChanged(Field* f) {
    tell([f](DataSource* s) { s->emitDataChanged(f); });
}

// ---- master and detail ----

void Dataset::setMasterSource(DataSource* master) {
    if (m_master) {
        disconnect(m_master, nullptr, this, nullptr);
        if (Dataset* old = m_master->dataset()) old->m_details.removeAll(this);
    }
    m_master = master;
    m_closedByMaster = false;
    if (!master) return;
    connect(master, &DataSource::dataChanged, this, [this](Field* f) {
        if (!f) masterChanged();
    });
    connect(master, &DataSource::stateChanged, this, [this] { masterChanged(); });
    if (Dataset* m = master->dataset()) {
        m->m_details.removeAll(nullptr);
        m->m_details.append(this);
        m_masterSeen = m->m_rowGeneration;
    }
}

// Closing would drop a row being inserted or edited, here or in a detail that
// closes with this dataset: the caller posts or cancels it first.
void Dataset::refuseClosingPending() const {
    if (isEditing())
        throw DatabaseError(QStringLiteral("Cannot close dataset '%1' while a record is being %2: post or "
                                           "cancel it first")
                                .arg(objectName(), m_state == DatasetState::Insert
                                                       ? QStringLiteral("inserted")
                                                       : QStringLiteral("edited")));
    for (const QPointer<Dataset>& d : m_details)
        if (d && d->m_master && d->m_master->dataset() == this && d->isActive()) d->refuseClosingPending();
}

QVariantList Dataset::linkValues() const {
    Dataset* master = m_master ? m_master->dataset() : nullptr;
    const bool hasRow = master && master->isActive() && master->hasActiveRow();
    QVariantList values;
    for (const Param& p : params()) {
        Field* mf = master ? master->findField(p.name) : nullptr;
        values << (mf ? (hasRow ? mf->asVariant() : QVariant()) : p.value);
    }
    return values;
}

void Dataset::checkDetails() {
    for (const QPointer<Dataset>& d : std::as_const(m_details))
        if (d && d->m_master && d->m_master->dataset() == this) d->checkBrowseMode();
}

void Dataset::raiseLinkError() {
    if (!m_linkError) return;
    const std::exception_ptr e = m_linkError;
    m_linkError = nullptr;
    std::rethrow_exception(e);
}

void Dataset::masterChanged() {
    Dataset* master = m_master ? m_master->dataset() : nullptr;
    if (!master) return;
    // Called while the master tells its controls: an error must not cross the signal.
    // The detail closes and the master raises the error once it has told everyone.
    try {
        if (!master->isActive() || master->isEmpty()) {
            m_masterSeen = master->m_rowGeneration;
            if (isActive()) {
                checkBrowseMode(); // a pending row is posted, as when the master moves
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
        // The same link values give the same rows: a posted master keeps its details
        // where they are; re-read master rows are read again here too, keeping the row.
        if (linkValues() == m_linkSeen) {
            if (master->m_openSerial != m_masterSerialSeen) refresh();
            return;
        }
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
    } catch (...) {
        if (!master->m_linkError) master->m_linkError = std::current_exception();
        if (isActive()) {
            m_state = DatasetState::Inactive;
            resetRows();
            ++m_rowGeneration;
            notifyReset();
            notifyState();
        }
        m_closedByMaster = true;
    }
}

} // namespace dv
