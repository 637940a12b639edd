#pragma once
#include "Field.h"
#include <QObject>
#include <QPointer>
#include <functional>

namespace dv {

class Dataset;

// Links a dataset to the controls and grids that show it, and a detail dataset to its
// master. objectName is the data source's name ("dsPaciente").
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    DataSource(Dataset* dataset, const QString& name, QObject* parent = nullptr);
    ~DataSource() override;

    Dataset* dataset() const { return m_dataset; }
    void setDataset(Dataset* dataset);

    // Controls call this before writing a field: puts the dataset into Edit when it is
    // browsing and autoEdit is on (the default).
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }
    void edit();

    // Handlers in the system's style, called before the signals of the same meaning.
    std::function<void(Field*)> OnDataChange;
    std::function<void()> OnStateChange;

    // ---- called by the dataset ----
    void emitDataChanged(Field* field);
    void emitStateChanged();
    void emitReset() { emit datasetReset(); }
    void emitRowInserted(int row) { emit rowInserted(row); }
    void emitRowAboutToBeRemoved(int row) { emit rowAboutToBeRemoved(row); }
    void emitRowRemoved(int row) { emit rowRemoved(row); }
    void emitRowChanged(int row) { emit rowChanged(row); }

signals:
    // A field of the current row changed; nullptr: the current row is another one or
    // the rows changed as a whole (open, scroll, post, cancel, sort, filter).
    void dataChanged(dv::Field* field);
    // Inactive, Browse, Insert or Edit changed.
    void stateChanged();
    // The rows or their order changed as a whole (open, close, refresh, sort, filter);
    // sent before the dataChanged(nullptr) of the same change.
    void datasetReset();
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row); // still there; rowRemoved follows
    void rowRemoved(int row);
    void rowChanged(int row); // values of that row changed (post, cancel)

private:
    QPointer<Dataset> m_dataset;
    bool m_autoEdit = true;
};

} // namespace dv
