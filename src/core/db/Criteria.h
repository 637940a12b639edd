#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

namespace dv {

// What the filter and locate dialogs ask of one field: the text typed for it.
struct Criterion {
    QString fieldName;
    QString text;
};

// The criteria of the filter and locate dialogs: one text per field, every field must
// match. Within one text:
//   - a word or phrase matches any part of the value, without regard to case (accents
//     count as typed): "silva";
//   - "or" and "and" between phrases ("maria or joão", "maria and silva"; "and" binds
//     first);
//   - "null" matches an empty value;
//   - "%" stands for any run of characters ("ma%ia");
//   - on a date field a date typed dd/MM/yyyy matches that day, on a numeric field a
//     number (decimal comma) matches that value.
// They are evaluated over the rows in memory, never turned into SQL.
class Criteria {
public:
    Criteria() = default;
    Criteria(std::initializer_list<Criterion> items) : m_items(items) {}

    // Replaces the text of a field already present (names without regard to case);
    // an empty text removes the field.
    void set(const QString& fieldName, const QString& text);
    void append(const Criterion& c) { m_items.append(c); }
    void clear() { m_items.clear(); }
    bool isEmpty() const { return m_items.isEmpty(); }
    int size() const { return int(m_items.size()); }
    const QList<Criterion>& items() const { return m_items; }
    QString textOf(const QString& fieldName) const;

    // One field's text as alternatives ("or") of phrases that must all match ("and").
    static QList<QStringList> parse(const QString& text);

private:
    QList<Criterion> m_items;
};

} // namespace dv
