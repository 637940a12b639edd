#pragma once
#include "Criteria.h"
#include <QList>
#include <QString>
#include <QVariant>

namespace dv {

class Dataset;
class Field;

// Decides which rows of a dataset are shown: the Filter text ("column = 'x' and
// other = 12"; the operators = <> < > <= >=; text compared without regard to case)
// and the dialogs' criteria (see Criteria). Compiled once, then asked row by row.
class DatasetFilter {
public:
    // DatabaseError for filter text it cannot read or a field the dataset does not have.
    DatasetFilter(const Dataset& dataset, const QString& filterText, const QList<Criteria>& criteria);

    bool isEmpty() const { return m_conditions.isEmpty() && m_fields.isEmpty(); }
    bool accepts(quint32 row) const;

    // Reads filter text without a dataset; DatabaseError when it cannot.
    static void check(const QString& filterText);

private:
    enum class Op { Eq, Ne, Lt, Gt, Le, Ge };
    struct RawCondition {
        QString field;
        Op op;
        QString literal;
        char quote; // '\'' text, '#' month-first date, 0 number
    };
    struct Condition {
        const Field* field;
        Op op;
        QVariant value; // typed as the field
    };
    struct Term {
        enum Kind { Null, Contains, Wildcard, EqualNumber, EqualMoney, EqualDay } kind = Contains;
        QStringList parts;       // Contains: one part; Wildcard: the pieces between '%'
        QList<QByteArray> ascii; // the parts in lower-case ASCII, when every part is ASCII
        double number = 0;
        qint64 raw = 0; // money in ten-thousandths, or the Julian day
    };
    struct FieldCriteria {
        const Field* field;
        QList<QList<Term>> alternatives; // any alternative whose terms all match
    };

    static QList<RawCondition> parse(const QString& text);
    Term compileTerm(const Field& f, const QString& phrase) const;
    bool matchCondition(const Condition& c, quint32 row) const;
    bool matchTerm(const Field& f, const Term& t, quint32 row) const;
    QString textAt(const Field& f, quint32 row) const;

    const Dataset& m_ds;
    QList<Condition> m_conditions;
    QList<FieldCriteria> m_fields;
};

} // namespace dv
