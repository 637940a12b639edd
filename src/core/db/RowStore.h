#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

namespace dv {

// A growable array of plain values in one malloc block. realloc grows large blocks
// in place (mremap) and the final shrink costs nothing, so loaded rows take little
// more than their bytes, at load time too.
template <typename T> class PodArray {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodArray() = default;
    ~PodArray() { std::free(m_data); }
    PodArray(const PodArray&) = delete;
    PodArray& operator=(const PodArray&) = delete;
    PodArray(PodArray&& o) noexcept : m_data(o.m_data), m_size(o.m_size), m_cap(o.m_cap) {
        o.m_data = nullptr;
        o.m_size = o.m_cap = 0;
    }
    PodArray& operator=(PodArray&& o) noexcept {
        if (this != &o) {
            std::free(m_data);
            m_data = o.m_data;
            m_size = o.m_size;
            m_cap = o.m_cap;
            o.m_data = nullptr;
            o.m_size = o.m_cap = 0;
        }
        return *this;
    }

    void push_back(T v) {
        if (m_size == m_cap) reserve(m_cap < 16 ? 16 : m_cap + m_cap / 2);
        m_data[m_size++] = v;
    }
    void append(const T* p, size_t n) {
        if (m_size + n > m_cap) reserve(qMax(m_size + n, m_cap + m_cap / 2));
        if (n) std::memcpy(m_data + m_size, p, n * sizeof(T));
        m_size += n;
    }
    void resize(size_t n, T fill) {
        if (n > m_cap) reserve(n);
        for (size_t i = m_size; i < n; ++i)
            m_data[i] = fill;
        m_size = n;
    }
    void reserve(size_t n) {
        if (n <= m_cap) return;
        T* p = static_cast<T*>(std::realloc(static_cast<void*>(m_data), n * sizeof(T)));
        if (!p) throw std::bad_alloc();
        m_data = p;
        m_cap = n;
    }
    void squeeze() {
        if (m_cap == m_size) return;
        if (m_size == 0) {
            clear();
            return;
        }
        if (T* p = static_cast<T*>(std::realloc(static_cast<void*>(m_data), m_size * sizeof(T)))) {
            m_data = p;
            m_cap = m_size;
        }
    }
    void clear() {
        std::free(m_data);
        m_data = nullptr;
        m_size = m_cap = 0;
    }
    void erase(size_t i) {
        std::memmove(m_data + i, m_data + i + 1, (m_size - i - 1) * sizeof(T));
        --m_size;
    }
    void insert(size_t i, T v) {
        push_back(v);
        std::memmove(m_data + i + 1, m_data + i, (m_size - i - 1) * sizeof(T));
        m_data[i] = v;
    }

    T& operator[](size_t i) { return m_data[i]; }
    const T& operator[](size_t i) const { return m_data[i]; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    size_t capacityBytes() const { return m_cap * sizeof(T); }

private:
    T* m_data = nullptr;
    size_t m_size = 0;
    size_t m_cap = 0;
};

// How a column keeps its values.
enum class StoreKind : quint8 {
    Int32,   // integers of 32 bits; widens to Int64 when a value does not fit
    Int64,   // large integers, currency (ten-thousandths), date-times (packed, see packDateTime)
    Double,  // floating values
    Text,    // UTF-8 text
    Bytes,   // binary values held in memory (blobs of queries that cannot defer them)
    Presence // deferred blobs: only whether a value exists
};

// The rows of an open query, column by column: numbers in arrays, text in one UTF-8
// pool per column with a byte of length per row, nulls in bitmaps made only when a
// null appears. Rows are only added (loaded or appended); a changed text cell is kept
// beside the pool.
class RowStore {
public:
    void reset(const QList<StoreKind>& kinds);
    void clear();
    int columnCount() const { return int(m_cols.size()); }
    quint32 rowCount() const { return m_rows; }
    StoreKind kind(int col) const { return m_cols[col].kind; }

    // Loading: every column of a row gets one value, then endRow().
    void appendNull(int col);
    void appendInt(int col, qint64 v);
    void appendDouble(int col, double v);
    void appendText(int col, QByteArrayView utf8);
    void appendPresent(int col); // Presence: a value exists
    void endRow() { ++m_rows; }
    // A new row with every column null; returns its index.
    quint32 addNullRow();
    // Gives back what loading reserved beyond the rows.
    void squeeze();

    bool isNull(quint32 row, int col) const {
        const Column& c = m_cols[col];
        const size_t w = row >> 6;
        return w < c.nulls.size() && (c.nulls[w] >> (row & 63) & 1);
    }
    qint64 intValue(quint32 row, int col) const {
        const Column& c = m_cols[col];
        return c.kind == StoreKind::Int32 ? qint64(c.i32[row]) : c.i64[row];
    }
    double doubleValue(quint32 row, int col) const { return m_cols[col].f64[row]; }
    // Valid until the cell or the column changes.
    QByteArrayView text(quint32 row, int col) const;

    void setNull(quint32 row, int col);
    void setInt(quint32 row, int col, qint64 v);
    void setDouble(quint32 row, int col, double v);
    void setText(quint32 row, int col, QByteArrayView utf8);
    void setPresent(quint32 row, int col, bool present);

    // Bytes held (for the benchmarks and the memory target).
    size_t memoryBytes() const;

    // Date-times as one ordered integer: Julian day and milliseconds of the day.
    static qint64 packDateTime(qint64 julianDay, int msecsOfDay) {
        return julianDay * 86400000LL + msecsOfDay;
    }
    static qint64 julianDayOf(qint64 packed) {
        return packed >= 0 ? packed / 86400000LL : (packed - 86399999LL) / 86400000LL;
    }
    static int msecsOf(qint64 packed) { return int(packed - julianDayOf(packed) * 86400000LL); }

private:
    static constexpr int BlockShift = 4; // one pool offset per 16 rows
    static constexpr quint8 LongLength = 255;

    struct Column {
        StoreKind kind = StoreKind::Text;
        PodArray<quint64> nulls;
        PodArray<qint32> i32;
        PodArray<qint64> i64;
        PodArray<double> f64;
        // Text and Bytes
        PodArray<char> pool;
        PodArray<quint8> lengths;
        PodArray<quint64> blockStart;
        QHash<quint32, quint32> longLengths;
        QHash<quint32, QByteArray> changed;
    };

    void setNullBit(Column& c, quint32 row, bool null);
    void widen(Column& c);
    quint32 lengthAt(const Column& c, quint32 row) const {
        const quint8 l = c.lengths[row];
        return l == LongLength ? c.longLengths.value(row) : l;
    }

    std::vector<Column> m_cols;
    quint32 m_rows = 0;
};

} // namespace dv
