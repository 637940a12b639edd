#include "RowStore.h"
#include <limits>

namespace dv {

void RowStore::reset(const QList<StoreKind>& kinds) {
    m_cols.clear();
    m_cols.resize(size_t(kinds.size()));
    for (int i = 0; i < kinds.size(); ++i)
        m_cols[size_t(i)].kind = kinds[i];
    m_rows = 0;
}

void RowStore::clear() {
    m_cols.clear();
    m_rows = 0;
}

void RowStore::setNullBit(Column& c, quint32 row, bool null) {
    const size_t w = row >> 6;
    if (w >= c.nulls.size()) {
        if (!null) return; // no bitmap yet means no nulls
        c.nulls.resize(w + 1, 0);
    }
    const quint64 bit = quint64(1) << (row & 63);
    if (null)
        c.nulls[w] |= bit;
    else
        c.nulls[w] &= ~bit;
}

void RowStore::widen(Column& c) {
    c.i64.reserve(c.i32.size() + 16);
    for (qint32 v : c.i32)
        c.i64.push_back(v);
    c.i32.clear();
    c.kind = StoreKind::Int64;
}

void RowStore::appendNull(int col) {
    Column& c = m_cols[size_t(col)];
    setNullBit(c, m_rows, true);
    switch (c.kind) {
    case StoreKind::Int32:
        c.i32.push_back(0);
        break;
    case StoreKind::Int64:
        c.i64.push_back(0);
        break;
    case StoreKind::Double:
        c.f64.push_back(0);
        break;
    case StoreKind::Text:
    case StoreKind::Bytes:
        appendText(col, QByteArrayView());
        setNullBit(c, m_rows, true);
        break;
    case StoreKind::Presence:
        break;
    }
}

void RowStore::appendInt(int col, qint64 v) {
    Column& c = m_cols[size_t(col)];
    if (c.kind == StoreKind::Int32) {
        if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max()) {
            c.i32.push_back(qint32(v));
            return;
        }
        widen(c);
    }
    c.i64.push_back(v);
}

void RowStore::appendDouble(int col, double v) {
    m_cols[size_t(col)].f64.push_back(v);
}

void RowStore::appendText(int col, QByteArrayView utf8) {
    Column& c = m_cols[size_t(col)];
    const quint32 row = m_rows;
    if ((row & ((1u << BlockShift) - 1)) == 0) c.blockStart.push_back(c.pool.size());
    const size_t n = size_t(utf8.size());
    if (n >= LongLength) {
        c.lengths.push_back(LongLength);
        c.longLengths.insert(row, quint32(n));
    } else {
        c.lengths.push_back(quint8(n));
    }
    c.pool.append(utf8.data(), n);
}

void RowStore::appendPresent(int) {}

quint32 RowStore::addNullRow() {
    for (int i = 0; i < columnCount(); ++i)
        appendNull(i);
    return m_rows++;
}

void RowStore::squeeze() {
    for (Column& c : m_cols) {
        c.nulls.squeeze();
        c.i32.squeeze();
        c.i64.squeeze();
        c.f64.squeeze();
        c.pool.squeeze();
        c.lengths.squeeze();
        c.blockStart.squeeze();
    }
}

QByteArrayView RowStore::text(quint32 row, int col) const {
    const Column& c = m_cols[size_t(col)];
    if (!c.changed.isEmpty()) {
        const auto it = c.changed.constFind(row);
        if (it != c.changed.constEnd()) return QByteArrayView(*it);
    }
    const quint32 first = row & ~((1u << BlockShift) - 1);
    quint64 offset = c.blockStart[row >> BlockShift];
    for (quint32 r = first; r < row; ++r)
        offset += lengthAt(c, r);
    return QByteArrayView(c.pool.data() + offset, qsizetype(lengthAt(c, row)));
}

void RowStore::setNull(quint32 row, int col) {
    Column& c = m_cols[size_t(col)];
    setNullBit(c, row, true);
    if (c.kind == StoreKind::Text || c.kind == StoreKind::Bytes) c.changed.insert(row, QByteArray());
}

void RowStore::setInt(quint32 row, int col, qint64 v) {
    Column& c = m_cols[size_t(col)];
    setNullBit(c, row, false);
    if (c.kind == StoreKind::Int32) {
        if (v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max()) {
            c.i32[row] = qint32(v);
            return;
        }
        widen(c);
    }
    c.i64[row] = v;
}

void RowStore::setDouble(quint32 row, int col, double v) {
    Column& c = m_cols[size_t(col)];
    setNullBit(c, row, false);
    c.f64[row] = v;
}

void RowStore::setText(quint32 row, int col, QByteArrayView utf8) {
    Column& c = m_cols[size_t(col)];
    setNullBit(c, row, false);
    c.changed.insert(row, utf8.toByteArray());
}

void RowStore::setPresent(quint32 row, int col, bool present) {
    setNullBit(m_cols[size_t(col)], row, !present);
}

size_t RowStore::memoryBytes() const {
    size_t n = sizeof(*this) + m_cols.capacity() * sizeof(Column);
    for (const Column& c : m_cols) {
        n += c.nulls.capacityBytes() + c.i32.capacityBytes() + c.i64.capacityBytes() + c.f64.capacityBytes() +
             c.pool.capacityBytes() + c.lengths.capacityBytes() + c.blockStart.capacityBytes();
        n += size_t(c.longLengths.size()) * 16;
        for (const QByteArray& b : c.changed)
            n += size_t(b.capacity()) + 32;
    }
    return n;
}

} // namespace dv
