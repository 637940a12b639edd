#include "RowLoader.h"

#include <QDate>
#include <QDateTime>
#include <QThread>

#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>

namespace dv {

StoreKind storeKindOf(FieldType type, bool deferred) {
    switch (type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
        return StoreKind::Int32;
    case FieldType::LargeInt:
    case FieldType::Currency:
    case FieldType::DateTime:
        return StoreKind::Int64;
    case FieldType::Float:
        return StoreKind::Double;
    case FieldType::Blob:
        return deferred ? StoreKind::Presence : StoreKind::Bytes;
    default:
        return StoreKind::Text;
    }
}

namespace {

inline int digits(const char* p, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const int d = p[i] - '0';
        if (d < 0 || d > 9) return -1;
        v = v * 10 + d;
    }
    return v;
}

// Storage text "YYYY-MM-DD[ HH:MM[:SS[.fff]]]" as a packed date-time.
bool packIsoText(QByteArrayView t, qint64& packed) {
    const char* p = t.data();
    const qsizetype n = t.size();
    if (n < 10 || p[4] != '-' || p[7] != '-') return false;
    const int y = digits(p, 4), m = digits(p + 5, 2), d = digits(p + 8, 2);
    if (y < 0 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    int h = 0, mi = 0, s = 0, ms = 0;
    if (n > 10) {
        if ((p[10] != ' ' && p[10] != 'T') || n < 16 || p[13] != ':') return false;
        h = digits(p + 11, 2);
        mi = digits(p + 14, 2);
        if (n >= 19) {
            if (p[16] != ':') return false;
            s = digits(p + 17, 2);
            if (n > 19) {
                if (p[19] != '.') return false;
                int scale = 100;
                for (qsizetype i = 20; i < n && i < 23; ++i, scale /= 10) {
                    const int dd = p[i] - '0';
                    if (dd < 0 || dd > 9) return false;
                    ms += dd * scale;
                }
            }
        } else if (n != 16) {
            return false;
        }
        if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s > 59) return false;
    }
    const QDate date(y, m, d);
    if (!date.isValid()) return false;
    packed = RowStore::packDateTime(date.toJulianDay(), ((h * 60 + mi) * 60 + s) * 1000 + ms);
    return true;
}

enum class Reader : quint8 { Int, Money, Date, Real, Text, Bytes, Present };

Reader readerOf(const LoadColumn& c) {
    switch (c.type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
        return Reader::Int;
    case FieldType::Currency:
        return Reader::Money;
    case FieldType::DateTime:
        return Reader::Date;
    case FieldType::Float:
        return Reader::Real;
    case FieldType::Blob:
        return c.deferred ? Reader::Present : Reader::Bytes;
    default:
        return Reader::Text;
    }
}

struct Plan {
    int source;
    Reader reader;
};

// Rows as the engine gave them, value by value: a number, the bits of a real, or the
// length of a text whose bytes lie side by side in `bytes`. Batches stay small: the
// bytes copied here must not push the engine's own pages out of the processor's
// cache (larger batches slowed the engine's stepping by about 6 %).
struct Batch {
    static constexpr quint32 Rows = 128;
    explicit Batch(size_t columns = 0) : values(Rows * columns), nulls(Rows * columns) {}
    quint32 rows = 0;
    size_t cells = 0;
    std::vector<qint64> values; // sized once: a batch holds Rows rows
    std::vector<quint8> nulls;
    PodArray<char> bytes;
    void clear() {
        rows = 0;
        cells = 0;
        bytes.resize(0, 0); // keeps the block
    }
};

// The engine's side: one row's values copied out of the cursor.
void readRow(const Cursor& cursor, const std::vector<Plan>& plan, Batch& b) {
    qint64* values = b.values.data() + b.cells;
    quint8* nulls = b.nulls.data() + b.cells;
    for (const Plan& p : plan) {
        qint64 v = 0;
        bool present = true;
        switch (p.reader) {
        case Reader::Text: {
            QByteArrayView t;
            present = cursor.textValue(p.source, t);
            if (present) {
                b.bytes.append(t.data(), size_t(t.size()));
                v = t.size();
            }
            break;
        }
        case Reader::Int:
            present = cursor.integerValue(p.source, v);
            break;
        case Reader::Date: {
            QByteArrayView t;
            present = cursor.textValue(p.source, t);
            if (present && !packIsoText(t, v)) {
                const QDateTime dt = cursor.dateTime(p.source);
                present = dt.isValid();
                if (present)
                    v = RowStore::packDateTime(dt.date().toJulianDay(), dt.time().msecsSinceStartOfDay());
            }
            break;
        }
        case Reader::Money:
            present = !cursor.isNull(p.source);
            if (present) v = cursor.currency(p.source).raw();
            break;
        case Reader::Real:
            present = !cursor.isNull(p.source);
            if (present) {
                const double d = cursor.real(p.source);
                std::memcpy(&v, &d, sizeof v);
            }
            break;
        case Reader::Bytes:
            present = !cursor.isNull(p.source);
            if (present) {
                const QByteArray blob = cursor.blob(p.source);
                b.bytes.append(blob.constData(), size_t(blob.size()));
                v = blob.size();
            }
            break;
        case Reader::Present:
            present = !cursor.isNull(p.source);
            break;
        }
        *values++ = v;
        *nulls++ = present ? 0 : 1;
    }
    b.cells += plan.size();
    ++b.rows;
}

// The store's side.
void storeBatch(const Batch& b, const std::vector<Plan>& plan, RowStore& store) {
    const int n = int(plan.size());
    const char* bytes = b.bytes.data();
    size_t k = 0;
    for (quint32 r = 0; r < b.rows; ++r) {
        for (int j = 0; j < n; ++j, ++k) {
            if (b.nulls[k]) {
                store.appendNull(j);
                continue;
            }
            const qint64 v = b.values[k];
            switch (plan[size_t(j)].reader) {
            case Reader::Text:
            case Reader::Bytes:
                store.appendText(j, QByteArrayView(bytes, v));
                bytes += v;
                break;
            case Reader::Int:
            case Reader::Money:
            case Reader::Date:
                store.appendInt(j, v);
                break;
            case Reader::Real: {
                double d;
                std::memcpy(&d, &v, sizeof d);
                store.appendDouble(j, d);
                break;
            }
            case Reader::Present:
                store.appendPresent(j);
                break;
            }
        }
        store.endRow();
    }
}

// Batches handed from the engine's thread to the storing one, a few in flight.
class StoringThread {
public:
    StoringThread(const std::vector<Plan>& plan, RowStore& store) : m_plan(plan), m_store(store) {
        for (Batch& b : m_batches)
            b = Batch(plan.size());
        m_thread = std::thread([this] { run(); });
    }
    ~StoringThread() { finish(); }

    // The next batch to fill; waits while every batch is still being stored.
    Batch& freeBatch() {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_filled - m_stored < Slots || m_failure; });
        if (m_failure) std::rethrow_exception(m_failure);
        Batch& b = m_batches[m_filled % Slots];
        b.clear();
        return b;
    }
    void handOver() {
        {
            std::lock_guard lock(m_mutex);
            ++m_filled;
        }
        m_changed.notify_all();
    }
    // Waits until every handed batch is stored; raises the storing side's error.
    void finish() {
        if (!m_thread.joinable()) return;
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_changed.notify_all();
        m_thread.join();
        if (m_failure && std::uncaught_exceptions() == 0) std::rethrow_exception(m_failure);
    }

private:
    static constexpr quint64 Slots = 4;

    void run() {
        for (;;) {
            Batch* b = nullptr;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stored < m_filled || m_done; });
                if (m_stored == m_filled) return;
                b = &m_batches[m_stored % Slots];
            }
            try {
                storeBatch(*b, m_plan, m_store);
            } catch (...) {
                std::lock_guard lock(m_mutex);
                m_failure = std::current_exception();
                m_changed.notify_all();
                return;
            }
            {
                std::lock_guard lock(m_mutex);
                ++m_stored;
            }
            m_changed.notify_all();
        }
    }

    const std::vector<Plan>& m_plan;
    RowStore& m_store;
    Batch m_batches[Slots];
    quint64 m_filled = 0, m_stored = 0;
    bool m_done = false;
    std::exception_ptr m_failure;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
};

} // namespace

RowStore loadRowStore(Cursor& cursor, const std::vector<LoadColumn>& columns) {
    std::vector<Plan> plan;
    QList<StoreKind> kinds;
    for (const LoadColumn& c : columns) {
        kinds << storeKindOf(c.type, c.deferred);
        plan.push_back({c.source, readerOf(c)});
    }
    RowStore store;
    store.reset(kinds);
    // A short result is stored right here; a second thread pays only past one batch.
    Batch first(plan.size());
    bool more = true;
    while (first.rows < Batch::Rows && (more = cursor.next()))
        readRow(cursor, plan, first);
    if (!more || QThread::idealThreadCount() < 2) {
        storeBatch(first, plan, store);
        while (more && (more = cursor.next())) {
            first.clear();
            readRow(cursor, plan, first);
            storeBatch(first, plan, store);
        }
    } else {
        StoringThread storing(plan, store);
        Batch* b = &storing.freeBatch();
        std::swap(*b, first);
        storing.handOver();
        while (more) {
            b = &storing.freeBatch();
            while (b->rows < Batch::Rows && (more = cursor.next()))
                readRow(cursor, plan, *b);
            storing.handOver();
        }
        storing.finish();
    }
    store.squeeze();
    return store;
}

} // namespace dv
