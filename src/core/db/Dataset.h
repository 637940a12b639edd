#pragma once
#include "Criteria.h"
#include "DataSource.h"
#include "Engine.h"
#include "Field.h"
#include "FieldDef.h"
#include "RowStore.h"
#include <QHash>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <exception>
#include <functional>
#include <optional>
#include <vector>

namespace dv {

class DatasetFilter;

enum class DatasetState { Inactive, Browse, Insert, Edit };

enum class LocateOption {
    CaseInsensitive = 0x1,
    PartialKey = 0x2 // text values match when the row's value begins with them
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)

// A row of one opening of a dataset, to come back to.
struct Bookmark {
    quint32 row = 0xFFFFFFFFu;
    quint64 openSerial = 0;
    bool isValid() const { return row != 0xFFFFFFFFu; }
};

using DatasetEvent = std::function<void(class Dataset&)>;

// The query every screen and the data module use: SQL as a list of lines with named
// parameters, read whole into memory when opened (a static cursor: the record count is
// exact and later changes by others are seen only after refresh), navigated, edited
// and posted back to its table, sorted, filtered and searched on the client.
//
// Rows are kept column by column (RowStore); text becomes QString only when read.
// Blob columns of "select * from <table>" queries are not read with the rows: a blob
// is fetched by the row's key when a field reads it, and one row's blobs are cached.
//
// Errors of the layer itself are DatabaseError; the engine's errors pass through.
// A failed post leaves the dataset in Insert or Edit with the user's values.
class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(QObject* parent = nullptr);
    Dataset(Connection* connection, const QString& name, QObject* parent = nullptr);
    ~Dataset() override;

    Connection* connection() const { return m_connection; }
    void setConnection(Connection* connection);

    // ---- SQL and parameters ----
    // The lines of the statement, joined with blanks; screens edit them and reopen.
    QStringList& sql() { return m_sql; }
    const QStringList& sql() const { return m_sql; }
    void setSql(const QString& text); // one line per '\n'
    QString sqlText() const { return m_sql.join(QLatin1Char(' ')); }

    // Parameters are the ":name" words of the SQL outside quoted text; names are
    // matched without regard to case. An unset parameter binds NULL.
    QStringList paramNames() const;
    bool hasParam(const QString& name) const;
    // DatabaseError "Parameter 'x' not found" when the SQL has no such parameter.
    Param& param(const QString& name);
    void setParam(const QString& name, ParamType type, const QVariant& value);
    Params params() const;

    // ---- fields ----
    // Declares a persistent field, while the dataset is closed. The query's columns that
    // are not declared still become fields, hidden, after the declared ones; a declared
    // column the query does not give makes open() fail with "Field 'x' not found".
    Field* addField(const FieldDef& def);
    const QList<Field*>& fields() const { return m_fields; }
    int fieldCount() const { return int(m_fields.size()); }
    Field* field(int index) const { return m_fields.value(index); }
    // Names without regard to case; fieldByName raises DatabaseError "Field 'x' not found".
    Field* fieldByName(const QString& name) const;
    Field* findField(const QString& name) const;

    // ---- opening ----
    void open();
    // DatabaseError while this dataset, or a detail that would close with it, has a
    // row in Insert or Edit: post or cancel it first.
    void close();
    void setActive(bool active);
    bool isActive() const { return m_state != DatasetState::Inactive; }
    // Re-runs the query keeping sort, filter and the current row (found again by its key).
    void refresh();
    // A large list that stays closed until something needs its rows: a dataset with a
    // lookup field on it opening, a lookup combo given it, or openIfOnDemand().
    void setOpenedOnDemand(bool onDemand) { m_openedOnDemand = onDemand; }
    bool isOpenedOnDemand() const { return m_openedOnDemand; }
    void openIfOnDemand() {
        if (m_openedOnDemand && !isActive()) open();
    }

    DatasetState state() const { return m_state; }
    bool isEditing() const { return m_state == DatasetState::Insert || m_state == DatasetState::Edit; }
    bool isModified() const { return m_modified; }
    // A change kept beside the fields (written by OnWrite) makes the row in Insert or
    // Edit count as changed, so that saving and closing treat it like a typed value.
    void markModified();
    // A query over several tables (a join), or with no table behind it, cannot be changed.
    bool isReadOnly() const { return m_table.isEmpty(); }
    const QString& baseTable() const { return m_table; }

    // ---- navigation ----
    // Moving while in Insert or Edit first posts a modified row (or cancels an untouched one).
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    // Sets the current row (0-based, in the current order and filter).
    void moveTo(int row);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recNo() const { return m_cur + 1; } // 1-based; 0 when empty or closed
    void setRecNo(int recNo) { moveTo(recNo - 1); }
    int recordCount() const { return int(m_view.size()); } // 0 when closed
    bool isEmpty() const { return m_view.empty(); }
    int currentRow() const { return m_cur; } // -1 when empty or closed

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& b) const;
    // DatabaseError "Record not found" when the row is gone or hidden.
    void gotoBookmark(const Bookmark& b);

    // Suspends what data sources tell controls (nested); the last enable tells them
    // once that everything changed. Details do not follow a master meanwhile.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // ---- values of any row, without moving (for grids) ----
    QVariant value(int row, const Field* field) const;
    bool isNull(int row, const Field* field) const;
    QString displayText(int row, const Field* field) const;

    // ---- editing ----
    void append();
    void insert() { append(); }
    void edit(); // on an empty dataset, appends
    void post(); // does nothing in Browse
    void cancel();
    void deleteRecord();
    // Posts a modified row, cancels an untouched one.
    void checkBrowseMode();

    // ---- searching ----
    // Moves to the first row (current order and filter) whose fields ("a;b") equal the
    // values; false and no move when none does.
    bool locate(const QString& keyFields, const QVariantList& values, LocateOptions options = {});
    bool locate(const QString& keyFields, std::initializer_list<QVariant> values,
                LocateOptions options = {}) {
        return locate(keyFields, QVariantList(values), options);
    }
    bool locate(const QString& keyField, const QVariant& value, LocateOptions options = {}) {
        return locate(keyField, QVariantList{value}, options);
    }
    // The result field of that row, without moving; invalid when none.
    QVariant lookup(const QString& keyFields, const QVariantList& values, const QString& resultField) const;
    // Incremental search: moves to the first row whose field begins with the text, without
    // regard to case or accents; binary search when the field is the sort field.
    bool seekPrefix(const QString& fieldName, const QString& text);

    // ---- order and filter (client side) ----
    // "field ASC" / "field DESC", several separated by commas; stable; numbers and dates
    // by value, text in the Brazilian order, nulls first when ascending. Empty: query order.
    // Sort, filter and criteria stay across close and open; each keeps the current row
    // when it is still shown, else goes to the first.
    void setSort(const QString& sort);
    const QString& sort() const { return m_sortText; }
    // "column = 'text'", "column = 123", "<>" too, joined with "and"; applied while filtered.
    void setFilter(const QString& filter);
    const QString& filter() const { return m_filterText; }
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }
    // The dialogs' criteria; each owner (the filter dialog, the locate dialog) keeps its own
    // set and all of them, and the filter, must pass. Empty criteria remove the owner's set.
    void setCriteria(const Criteria& criteria, const QString& owner = QString());
    void clearCriteria(const QString& owner = QString());
    Criteria criteria(const QString& owner = QString()) const { return m_criteria.value(owner); }
    bool hasCriteria() const { return !m_criteria.isEmpty(); }

    // ---- master and detail ----
    // The detail's parameters come from the master's current row by name; it re-queries
    // when the values it is linked by change (the master moved, or posted a new row's key)
    // and when the master re-reads its rows (open, refresh: the current row kept by key);
    // a post or a move that leaves those values alone keeps its rows and place. It closes
    // when the master closes
    // or is empty and opens again when the master has a row, and a row appended to it
    // receives the master's value in the column named like each parameter. Before the
    // master moves or posts, a detail's pending row is posted (an untouched one cancelled);
    // a detail that cannot re-query closes and the master's operation raises the error.
    void setMasterSource(DataSource* master);
    DataSource* masterSource() const { return m_master; }

    // Exact sum of a currency (or integer) field over the visible rows; nullopt when no
    // row has a value.
    std::optional<Currency> sumCurrency(const QString& fieldName) const;

    // Bytes held by the rows and the order (benchmarks).
    size_t memoryBytes() const;

    // ---- events (one handler each); an exception from a Before* handler stops the
    // operation and leaves the state as it was ----
    DatasetEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    DatasetEvent BeforeInsert, AfterInsert, OnNewRecord;
    DatasetEvent BeforeEdit, AfterEdit;
    DatasetEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    DatasetEvent BeforeDelete, AfterDelete;
    // Runs inside one transaction with the row's own insert, update or delete, after that
    // statement and before the dataset takes the change in (the fields still read the row
    // as written, or as it was before its delete): writes that must stand or fall with the
    // row go here. An exception undoes the statement and leaves the dataset as it was.
    DatasetEvent OnWrite;
    DatasetEvent BeforeScroll, AfterScroll;
    DatasetEvent OnCalcFields;

    // Data sources register themselves here.
    void attach(DataSource* source);
    void detach(DataSource* source);

private:
    friend class Field;
    friend class DatasetFilter;

    struct Binding {
        int source = -1; // cursor column
        FieldType type = FieldType::Unknown;
        ColumnInfo column;
        Field* field = nullptr; // null for the row identity
    };
    struct SortKey {
        Field* field;
        bool descending;
    };
    struct KeyIndex {
        quint64 generation = 0;
        QHash<QString, quint32> rows; // key text -> physical row (first in view order)
        quint64 walkedGeneration = ~quint64(0); // rows walked once without the index
    };

    // opening (Dataset.cpp)
    void syncParams() const;
    void bindColumns(const QList<ColumnInfo>& columns);
    void loadRows(Cursor& cursor);
    void runQuery();
    void resetRows();
    void findKeyColumns();
    void requireActive() const;
    void setCurrent(int row);
    bool moveCursor(int row); // with the scroll events; false when stopped
    quint32 physical(int row) const { return m_view[size_t(row)]; }
    quint32 activeRow() const;
    bool hasActiveRow() const;

    // values (DatasetEditing.cpp)
    QVariant readValue(const Field& f) const;
    QVariant cellValue(quint32 row, int storeColumn) const; // blobs excepted
    QVariant storedValue(quint32 row, const Field& f) const;
    bool storedIsNull(quint32 row, const Field& f) const;
    bool readIsNull(const Field& f) const;
    void writeValue(Field& f, const QVariant& typed);
    QVariant calculatedValue(quint32 row, const Field& f) const;
    QVariant lookupFieldValue(const Field& f) const;
    QByteArray fetchBlob(quint32 row, const Field& f) const;
    QString keyText(const QList<Field*>& fields, const QVariantList& values) const;
    QString rowKeyText(quint32 row, const QList<Field*>& fields) const;
    std::optional<quint32> findByIndex(const QList<Field*>& fields, const QVariantList& values) const;
    QList<Field*> fieldList(const QString& names) const;
    void startEditing(quint32 row);
    void storeBuffer(quint32 row);
    void postInsert();
    void postEdit();
    // Runs the row's statement together with OnWrite, when there is one.
    void writeTogether(const std::function<void()>& write);
    void refuseIfChangedSinceRead(const QList<int>& columns, const QStringList& where, const Params& params);
    Params keyParams(quint32 row, QStringList* where) const;
    void checkRequired() const;
    void inheritMasterValues();
    void invalidateRow(quint32 row);

    // order and filter (DatasetOrdering.cpp)
    QList<SortKey> parseSort(const QString& text) const;
    void rebuildView(bool keepPosition); // order and filter again, without telling anyone
    void sortView();
    void changeView(); // rebuildView, then tell the data sources

    // master-detail and notifications (DatasetLinks.cpp)
    void masterChanged();
    QVariantList linkValues() const; // the parameters' values the query would run with now
    void refuseClosingPending() const;
    void checkDetails(); // details post or cancel their pending rows first
    void raiseLinkError();
    void tell(const std::function<void(DataSource*)>& call);
    void notifyReset();
    void notifyScrolled();
    void notifyState();
    void notifyRowInserted(int row);
    void notifyRowAboutToBeRemoved(int row);
    void notifyRowRemoved(int row);
    void notifyRowChanged(int row);
    void notifyFieldChanged(Field* f);
    void fire(const DatasetEvent& e) {
        if (e) e(*this);
    }

    Connection* m_connection = nullptr;
    QStringList m_sql;
    mutable QString m_paramsText;  // the SQL the parameters were read from
    mutable QList<Param> m_params; // in order of appearance
    QList<Field*> m_fields;
    bool m_fieldsDeclared = false;
    bool m_openedOnDemand = false;

    DatasetState m_state = DatasetState::Inactive;
    RowStore m_store;
    std::vector<Binding> m_bindings;
    std::vector<bool> m_deleted;
    PodArray<quint32> m_view;
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    quint64 m_openSerial = 0;
    quint64 m_rowGeneration = 0;          // the current row changed
    mutable quint64 m_dataGeneration = 0; // rows, values or order changed
    QString m_table;
    QStringList m_keyColumns;    // columns of m_table identifying a row
    std::vector<int> m_keyStore; // their store columns
    int m_autoIncStore = -1;
    bool m_identityIsRowId = false;

    // editing
    QList<QVariant> m_buffer; // per store column
    std::vector<bool> m_changed;
    std::vector<bool> m_loaded; // blob columns read into the buffer
    quint32 m_editRow = 0;
    bool m_modified = false;
    bool m_posting = false; // inside post(), until the row is taken in

    // reading another row than the current one
    mutable qint64 m_readRow = -1;
    mutable QHash<quint32, QList<QVariant>> m_calcCache;
    mutable bool m_calculating = false;
    mutable qint64 m_blobRow = -1;
    mutable QHash<int, QByteArray> m_blobCache;
    mutable QHash<QString, KeyIndex> m_keyIndexes;

    // order and filter
    QList<SortKey> m_sortKeys;
    QString m_sortText;
    bool m_viewSorted = false;
    QString m_filterText;
    bool m_filtered = false;
    QMap<QString, Criteria> m_criteria;

    // master-detail
    QPointer<DataSource> m_master;
    quint64 m_masterSeen = 0;
    QVariantList m_linkSeen;        // the parameters' values of the last query
    quint64 m_masterSerialSeen = 0; // the master's opening of that query
    bool m_closedByMaster = false;
    QList<QPointer<Dataset>> m_details; // datasets whose master source shows this one
    std::exception_ptr m_linkError;     // a detail that could not follow, raised after telling

    // notifications
    QList<QPointer<DataSource>> m_sources;
    int m_disableCount = 0;
    bool m_pendingReset = false;
};

// Controls of a dataset suspended for the life of a scope, given back on every way out.
class ControlsDisabled {
public:
    explicit ControlsDisabled(Dataset* d) : m_d(d) { m_d->disableControls(); }
    ~ControlsDisabled() { m_d->enableControls(); }
    ControlsDisabled(const ControlsDisabled&) = delete;
    ControlsDisabled& operator=(const ControlsDisabled&) = delete;

private:
    Dataset* m_d;
};

} // namespace dv

Q_DECLARE_OPERATORS_FOR_FLAGS(dv::LocateOptions)
