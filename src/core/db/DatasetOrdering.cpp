// Client-side order, filter, criteria, locate and incremental search of the dataset.
#include "Dataset.h"
#include "DatasetCollation.h"
#include "DatasetFilter.h"
#include "DbErrors.h"
#include <QThread>
#include <algorithm>
#include <cstring>
#include <exception>
#include <numeric>
#include <string_view>
#include <thread>
#include <unordered_map>

namespace dv {

namespace {

// Sort keys of one text column for the rows being sorted (see DatasetCollation).
class TextKeys {
public:
    TextKeys(const RowStore& store, int col, const PodArray<quint32>& rows) : m_rows(rows) {
        const size_t n = rows.size();
        m_prefix.resize(n);
        m_offset.resize(n);
        m_length.resize(n);
        m_state.resize(n);
        m_text.resize(n);
        // Many rows: the second half's keys are made on another thread meanwhile.
        if (n < 20000 || QThread::idealThreadCount() < 2) {
            makeKeys(store, col, 0, n, m_rest);
            return;
        }
        PodArray<char> laterRest;
        std::exception_ptr laterFailure;
        std::thread later([&] {
            try {
                makeKeys(store, col, n / 2, n, laterRest);
            } catch (...) {
                laterFailure = std::current_exception();
            }
        });
        try {
            makeKeys(store, col, 0, n / 2, m_rest);
        } catch (...) {
            later.join();
            throw;
        }
        later.join();
        if (laterFailure) std::rethrow_exception(laterFailure);
        const quint32 base = quint32(m_rest.size());
        m_rest.append(laterRest.data(), laterRest.size());
        for (size_t i = n / 2; i < n; ++i)
            m_offset[i] += base;
    }

    int compare(size_t a, size_t b) const {
        const quint8 sa = m_state[a], sb = m_state[b];
        if (sa == Null || sb == Null) return int(sa != Null) - int(sb != Null);
        if (sa == Primary && sb == Primary) {
            if (m_prefix[a] != m_prefix[b]) return m_prefix[a] < m_prefix[b] ? -1 : 1;
            const quint32 la = m_length[a], lb = m_length[b];
            const int c = std::memcmp(m_rest.data() + m_offset[a], m_rest.data() + m_offset[b], qMin(la, lb));
            if (c != 0) return c;
            if (la != lb) return la < lb ? -1 : 1;
            // Same letters: accents and case decide, as the collator says.
            if (text(a) == text(b)) return 0;
        }
        return collated(a).compare(collated(b));
    }

    // A number whose order agrees with compare() wherever two rows' numbers differ
    // (nulls 0); false when only the collator can place the row.
    bool orderPrefix(size_t i, quint64& p) const {
        p = m_state[i] == Primary ? m_prefix[i] : 0;
        return m_state[i] != Collated;
    }

    // Whether the first rows repeat their values (more than half of them), so that
    // ranks() pays for itself.
    bool repeats() const {
        // Whole values: names share their first letters far more often than their text.
        std::vector<std::string_view> sample;
        for (size_t i = 0; i < m_state.size() && sample.size() < 1024; ++i)
            if (m_state[i] != Null) sample.emplace_back(m_text[i].data(), size_t(m_text[i].size()));
        std::sort(sample.begin(), sample.end());
        const size_t distinct = size_t(std::unique(sample.begin(), sample.end()) - sample.begin());
        return distinct * 2 < sample.size();
    }

    // Each row's place among the distinct values, 0 for nulls; rows that compare equal
    // share it. Columns with few distinct values (cities) then sort on numbers alone.
    std::vector<quint64> ranks() const {
        const size_t n = m_state.size();
        std::vector<quint64> rank(n, 0);
        std::unordered_map<std::string_view, quint32> ids;
        std::vector<quint32> first; // a row of each distinct text
        std::vector<quint32> idOf(n, 0);
        for (size_t i = 0; i < n; ++i) {
            if (m_state[i] == Null) continue;
            const auto [it, added] = ids.try_emplace(
                std::string_view(m_text[i].data(), size_t(m_text[i].size())), quint32(first.size()));
            if (added) first.push_back(quint32(i));
            idOf[i] = it->second;
        }
        std::vector<quint32> order(first.size());
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(),
                  [&](quint32 a, quint32 b) { return compare(first[a], first[b]) < 0; });
        std::vector<quint64> rankOf(first.size());
        quint64 r = 0;
        for (size_t k = 0; k < order.size(); ++k) {
            if (k == 0 || compare(first[order[k - 1]], first[order[k]]) != 0) ++r;
            rankOf[order[k]] = r;
        }
        for (size_t i = 0; i < n; ++i)
            if (m_state[i] != Null) rank[i] = rankOf[idOf[i]];
        return rank;
    }

private:
    enum : quint8 { Null, Primary, Collated };
    // Views into the store, which does not change while sorting.
    QByteArrayView text(size_t i) const { return m_text[i]; }
    const QCollatorSortKey& collated(size_t i) const {
        if (m_collated.empty()) m_collated.resize(m_rows.size());
        if (!m_collated[i]) m_collated[i] = DatasetCollation::collator().sortKey(QString::fromUtf8(text(i)));
        return *m_collated[i];
    }

    // Keys of rows [from, to); the bytes past each key's first eight go to `rest`.
    void makeKeys(const RowStore& store, int col, size_t from, size_t to, PodArray<char>& rest) {
        std::vector<char> key(64);
        for (size_t i = from; i < to; ++i) {
            const quint32 r = m_rows[i];
            if (store.isNull(r, col)) {
                m_state[i] = Null;
                continue;
            }
            m_text[i] = store.text(r, col);
            if (size_t(m_text[i].size()) > key.size()) key.resize(size_t(m_text[i].size()));
            const qsizetype size = DatasetCollation::primaryKey(m_text[i], key.data());
            if (size < 0) {
                m_state[i] = Collated;
                continue;
            }
            m_state[i] = Primary;
            quint64 p = 0;
            for (int b = 0; b < 8; ++b)
                p = (p << 8) | (b < size ? quint8(key[size_t(b)]) : 0);
            m_prefix[i] = p;
            m_offset[i] = quint32(rest.size());
            const qsizetype more = size > 8 ? size - 8 : 0;
            m_length[i] = quint32(more);
            if (more) rest.append(key.data() + 8, size_t(more));
        }
    }

    const PodArray<quint32>& m_rows;
    std::vector<quint64> m_prefix;
    std::vector<quint32> m_offset;
    std::vector<quint32> m_length;
    std::vector<quint8> m_state;
    std::vector<QByteArrayView> m_text;
    PodArray<char> m_rest;
    mutable std::vector<std::optional<QCollatorSortKey>> m_collated;
};

} // namespace

// ---- order ----

QList<Dataset::SortKey> Dataset::parseSort(const QString& text) const {
    QList<SortKey> keys;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList words = part.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        bool descending = false;
        if (words.size() > 2) throw DatabaseError(QStringLiteral("Sort order not supported: '%1'").arg(text));
        if (words.size() == 2) {
            if (words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
                descending = true;
            else if (words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) != 0)
                throw DatabaseError(QStringLiteral("Sort order not supported: '%1'").arg(text));
        }
        Field* f = fieldByName(words[0]);
        if (!f->isData() || f->storeColumn() < 0 || m_store.kind(f->storeColumn()) == StoreKind::Presence ||
            m_store.kind(f->storeColumn()) == StoreKind::Bytes)
            throw DatabaseError(
                QStringLiteral("Field '%1' cannot be used for sorting").arg(f->displayLabel()));
        keys << SortKey{f, descending};
    }
    return keys;
}

void Dataset::sortView() {
    const size_t n = m_view.size();
    if (m_sortKeys.isEmpty() || n < 2) return;
    struct Key {
        int col;
        StoreKind kind;
        bool descending;
        std::unique_ptr<TextKeys> text;
    };
    std::vector<Key> keys;
    for (const SortKey& k : std::as_const(m_sortKeys)) {
        const int col = k.field->storeColumn();
        Key key{col, m_store.kind(col), k.descending, nullptr};
        if (key.kind == StoreKind::Text) key.text = std::make_unique<TextKeys>(m_store, col, m_view);
        keys.push_back(std::move(key));
    }
    const RowStore& store = m_store;
    const PodArray<quint32>& view = m_view;
    auto compareKey = [&](const Key& k, quint32 a, quint32 b) -> int {
        if (k.text) return k.text->compare(a, b);
        const quint32 ra = view[a], rb = view[b];
        const bool na = store.isNull(ra, k.col), nb = store.isNull(rb, k.col);
        if (na || nb) return int(!na) - int(!nb);
        if (k.kind == StoreKind::Double) {
            const double x = store.doubleValue(ra, k.col), y = store.doubleValue(rb, k.col);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        const qint64 x = store.intValue(ra, k.col), y = store.intValue(rb, k.col);
        return x < y ? -1 : x > y ? 1 : 0;
    };
    auto before = [&](quint32 a, quint32 b) {
        for (const Key& k : keys) {
            const int c = compareKey(k, a, b);
            if (c != 0) return k.descending ? c > 0 : c < 0;
        }
        return view[a] < view[b]; // stable: rows that compare equal keep the query's order
    };
    // Each row carries a number that orders it by the first key wherever two numbers
    // differ (text: its rank among the distinct values); only ties on a sort of several
    // keys and rows without one go through the full comparison. Sorting these small
    // items in place is what keeps a sort of many rows short.
    struct Item {
        quint64 prefix;
        quint32 index;
        bool known;
    };
    std::vector<Item> items(n);
    const Key& first = keys.front();
    const std::vector<quint64> ranks =
        first.text && first.text->repeats() ? first.text->ranks() : std::vector<quint64>();
    for (quint32 i = 0; i < n; ++i) {
        Item& it = items[i];
        it.index = i;
        const quint32 r = view[i];
        if (!ranks.empty()) {
            it.known = true;
            it.prefix = ranks[i];
        } else if (first.text) {
            it.known = first.text->orderPrefix(i, it.prefix);
        } else if (store.isNull(r, first.col)) {
            it.known = true;
            it.prefix = 0;
        } else if (first.kind == StoreKind::Double) {
            const double x = store.doubleValue(r, first.col) + 0.0; // -0 as 0
            quint64 bits;
            std::memcpy(&bits, &x, sizeof bits);
            it.known = x == x; // NaN aside
            it.prefix = bits >> 63 ? ~bits : bits | (quint64(1) << 63);
        } else {
            it.known = true;
            it.prefix = quint64(store.intValue(r, first.col)) ^ (quint64(1) << 63);
        }
        if (first.descending) it.prefix = ~it.prefix;
    }
    // Equal ranks are equal values; equal prefixes may still differ further on.
    const bool oneKey = keys.size() == 1 && (!first.text || !ranks.empty());
    const auto less = [&](const Item& a, const Item& b) {
        if (a.known && b.known) {
            if (a.prefix != b.prefix) return a.prefix < b.prefix;
            if (oneKey) return view[a.index] < view[b.index];
        }
        return before(a.index, b.index);
    };
    // The query often hands the rows in nearly the asked order (its ORDER BY on the
    // same column, in byte order): rows already in order stay where they are, only the
    // few out of place are sorted and merged in. The order is total (ties fall to the
    // query's order), so the result is the full sort's.
    std::vector<Item> inOrder, displaced;
    inOrder.reserve(n);
    for (const Item& it : items) {
        if (inOrder.empty() || less(inOrder.back(), it))
            inOrder.push_back(it);
        else
            displaced.push_back(it);
        if (displaced.size() > n / 4) break;
    }
    if (displaced.size() > n / 4) {
        std::sort(items.begin(), items.end(), less);
    } else {
        std::sort(displaced.begin(), displaced.end(), less);
        std::merge(inOrder.begin(), inOrder.end(), displaced.begin(), displaced.end(), items.begin(), less);
    }
    PodArray<quint32> sorted;
    sorted.reserve(n);
    for (const Item& it : items)
        sorted.push_back(view[it.index]);
    m_view = std::move(sorted);
}

void Dataset::rebuildView(bool keepPosition) {
    const qint64 keep = keepPosition && m_cur >= 0 ? qint64(physical(m_cur)) : -1;
    const DatasetFilter filter(*this, m_filtered ? m_filterText : QString(), m_criteria.values());
    QList<SortKey> keys;
    try {
        keys = parseSort(m_sortText);
    } catch (const DatabaseError&) {
        // A sort asked for before opening that the columns cannot give is dropped.
        m_sortText.clear();
    }
    PodArray<quint32> view;
    const quint32 rows = m_store.rowCount();
    view.reserve(rows);
    const bool all = filter.isEmpty();
    for (quint32 r = 0; r < rows; ++r)
        if (!m_deleted[r] && (all || filter.accepts(r))) view.push_back(r);
    m_view = std::move(view);
    m_sortKeys = keys;
    sortView();
    m_viewSorted = !m_sortKeys.isEmpty();
    m_cur = -1;
    if (keep >= 0)
        for (size_t i = 0; i < m_view.size(); ++i)
            if (m_view[i] == quint32(keep)) {
                m_cur = int(i);
                break;
            }
    if (m_cur < 0 && !m_view.empty()) m_cur = 0;
    ++m_dataGeneration;
}

void Dataset::changeView() {
    checkBrowseMode();
    const qint64 before = m_cur >= 0 ? qint64(physical(m_cur)) : -1;
    rebuildView(true);
    const qint64 after = m_cur >= 0 ? qint64(physical(m_cur)) : -1;
    if (after != before) {
        ++m_rowGeneration;
        m_bof = true;
    } else {
        m_bof = m_cur <= 0;
    }
    m_eof = m_view.empty();
    notifyReset();
    if (after != before && after >= 0) fire(AfterScroll);
}

void Dataset::setSort(const QString& sort) {
    if (isActive()) {
        parseSort(sort); // raises for a field that cannot sort
        m_sortText = sort.trimmed();
        changeView();
    } else {
        m_sortText = sort.trimmed();
    }
}

// ---- filter and criteria ----

void Dataset::setFilter(const QString& filter) {
    DatasetFilter::check(filter);
    if (isActive() && m_filtered) {
        DatasetFilter(*this, filter, {}); // field names
        m_filterText = filter;
        changeView();
    } else {
        m_filterText = filter;
    }
}

void Dataset::setFiltered(bool filtered) {
    if (m_filtered == filtered) return;
    if (isActive() && filtered) DatasetFilter(*this, m_filterText, {});
    m_filtered = filtered;
    if (isActive()) changeView();
}

void Dataset::setCriteria(const Criteria& criteria, const QString& owner) {
    if (criteria.isEmpty()) {
        clearCriteria(owner);
        return;
    }
    if (isActive()) DatasetFilter(*this, QString(), {criteria}); // field names
    m_criteria.insert(owner, criteria);
    if (isActive()) changeView();
}

void Dataset::clearCriteria(const QString& owner) {
    if (!m_criteria.remove(owner)) return;
    if (isActive()) changeView();
}

// ---- searching ----

bool Dataset::locate(const QString& keyFields, const QVariantList& values, LocateOptions options) {
    requireActive();
    checkBrowseMode();
    const QList<Field*> fields = fieldList(keyFields);
    if (values.size() != fields.size())
        throw DatabaseError(
            QStringLiteral("Locate on '%1' needs %2 values").arg(keyFields).arg(fields.size()));
    int found = -1;
    bool indexed = options == LocateOptions();
    for (Field* f : fields)
        indexed = indexed && f->isData() && f->storeColumn() >= 0 &&
                  m_store.kind(f->storeColumn()) != StoreKind::Presence;
    if (indexed) {
        if (const auto row = findByIndex(fields, values))
            for (size_t i = 0; i < m_view.size(); ++i)
                if (m_view[i] == *row) {
                    found = int(i);
                    break;
                }
    } else {
        QVariantList targets;
        for (qsizetype k = 0; k < fields.size(); ++k)
            targets << (fields[k]->isData() ? fields[k]->convert(values[k]) : values[k]);
        const Qt::CaseSensitivity cs =
            options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        for (int i = 0; i < recordCount() && found < 0; ++i) {
            bool all = true;
            for (qsizetype k = 0; k < fields.size() && all; ++k) {
                const QVariant v = value(i, fields[k]);
                const QVariant& t = targets[k];
                if (!t.isValid() || !v.isValid()) {
                    all = !t.isValid() && !v.isValid();
                } else if (v.metaType().id() == QMetaType::QString ||
                           t.metaType().id() == QMetaType::QString) {
                    const QString a = fields[k]->formatPlain(v), b = t.toString();
                    all = options.testFlag(LocateOption::PartialKey) ? a.startsWith(b, cs)
                                                                     : a.compare(b, cs) == 0;
                } else {
                    all = v == t;
                }
            }
            if (all) found = i;
        }
    }
    if (found < 0) return false;
    fire(BeforeScroll);
    setCurrent(found);
    m_bof = m_eof = false;
    notifyScrolled();
    fire(AfterScroll);
    return true;
}

QVariant Dataset::lookup(const QString& keyFields, const QVariantList& values,
                         const QString& resultField) const {
    requireActive();
    const QList<Field*> fields = fieldList(keyFields);
    Field* result = fieldByName(resultField);
    const auto row = findByIndex(fields, values);
    if (!row) return QVariant();
    const qint64 saved = m_readRow;
    m_readRow = *row;
    QVariant v;
    try {
        v = readValue(*result);
    } catch (...) {
        m_readRow = saved;
        throw;
    }
    m_readRow = saved;
    return v;
}

bool Dataset::seekPrefix(const QString& fieldName, const QString& text) {
    requireActive();
    Field* f = fieldByName(fieldName);
    if (m_view.empty()) return false;
    if (text.isEmpty()) {
        first();
        return true;
    }
    const QString folded = DatasetCollation::fold(text);
    const int col = f->storeColumn();
    const bool textColumn = f->isData() && col >= 0 && m_store.kind(col) == StoreKind::Text;
    auto rowText = [&](int i) {
        return textColumn ? QString::fromUtf8(m_store.text(physical(i), col)) : displayText(i, f);
    };
    int found = -1;
    if (textColumn && m_viewSorted && m_sortKeys.first().field == f && !m_sortKeys.first().descending) {
        // The rows are in the collator's order: the first row not before the text is
        // the only candidate.
        QCollator& collator = DatasetCollation::collator();
        int lo = 0, hi = recordCount();
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            const bool before =
                m_store.isNull(physical(mid), col) || collator.compare(rowText(mid), text) < 0;
            if (before)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo < recordCount() && DatasetCollation::startsWithFolded(rowText(lo), folded)) found = lo;
    } else {
        for (int i = 0; i < recordCount() && found < 0; ++i)
            if (DatasetCollation::startsWithFolded(rowText(i), folded)) found = i;
    }
    if (found < 0) return false;
    moveTo(found);
    return true;
}

// ---- sums ----

std::optional<Currency> Dataset::sumCurrency(const QString& fieldName) const {
    if (!isActive()) return std::nullopt;
    const Field* f = fieldByName(fieldName);
    switch (f->dataType()) {
    case FieldType::Currency:
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::LargeInt:
    case FieldType::Float:
        break;
    default:
        throw DatabaseError(QStringLiteral("Field '%1' cannot be summed").arg(f->displayLabel()));
    }
    auto amount = [f](const QVariant& typed) {
        if (f->dataType() == FieldType::Currency) return typed.value<Currency>();
        if (f->dataType() == FieldType::Float) return Currency::fromDouble(typed.toDouble());
        return Currency::fromUnits(typed.toLongLong());
    };
    const int col = f->storeColumn();
    std::optional<Currency> sum;
    for (int i = 0; i < recordCount(); ++i) {
        const quint32 r = physical(i);
        if (!f->isData() || col < 0 || (isEditing() && r == m_editRow)) {
            const QVariant v = value(i, f);
            if (v.isValid()) sum = sum.value_or(Currency()) + amount(f->convert(v));
            continue;
        }
        if (m_store.isNull(r, col)) continue;
        Currency c;
        if (f->dataType() == FieldType::Currency)
            c = Currency::fromRaw(m_store.intValue(r, col));
        else if (f->dataType() == FieldType::Float)
            c = Currency::fromDouble(m_store.doubleValue(r, col));
        else
            c = Currency::fromUnits(m_store.intValue(r, col));
        sum = sum.value_or(Currency()) + c;
    }
    return sum;
}

} // namespace dv
