#pragma once
#include <QObject>
#include <QStringList>
#include <functional>

namespace dv {

// The column titles of a drop-down that lives inside a grid cell (a grid's
// column lookup, a lookup delegate): a named child the language files address as
// "<field>_Lookup.Items", as they address a lookup box's titles.
class LookupTitles : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void(const QStringList&)>;

    // Made once per owner and field; a second call gives the first object with its
    // new titles and receiver.
    static LookupTitles* declare(QObject* owner, const QString& fieldName, const QStringList& titles,
                                 Apply apply);
    static QString nameFor(const QString& fieldName);

    const QStringList& titles() const { return m_titles; }
    // From the language file: kept and passed on to the drop-down's owner.
    void setTitles(const QStringList& titles);

private:
    LookupTitles(QObject* owner, const QString& fieldName);

    QStringList m_titles;
    Apply m_apply;
};

} // namespace dv
