#include "Criteria.h"

namespace dv {

void Criteria::set(const QString& fieldName, const QString& text) {
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (m_items[i].fieldName.compare(fieldName, Qt::CaseInsensitive) != 0) continue;
        if (text.trimmed().isEmpty())
            m_items.removeAt(i);
        else
            m_items[i].text = text;
        return;
    }
    if (!text.trimmed().isEmpty()) m_items.append({fieldName, text});
}

QString Criteria::textOf(const QString& fieldName) const {
    for (const Criterion& c : m_items)
        if (c.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0) return c.text;
    return QString();
}

QList<QStringList> Criteria::parse(const QString& text) {
    QList<QStringList> alternatives;
    QStringList phrases;
    QStringList words;
    auto endPhrase = [&] {
        if (!words.isEmpty()) phrases << words.join(QLatin1Char(' '));
        words.clear();
    };
    auto endAlternative = [&] {
        endPhrase();
        if (!phrases.isEmpty()) alternatives << phrases;
        phrases.clear();
    };
    const QStringList tokens = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& t : tokens) {
        // A keyword between phrases; at the start or end it is an ordinary word.
        const bool between = !words.isEmpty();
        if (between && t.compare(QLatin1String("or"), Qt::CaseInsensitive) == 0)
            endAlternative();
        else if (between && t.compare(QLatin1String("and"), Qt::CaseInsensitive) == 0)
            endPhrase();
        else
            words << t;
    }
    endAlternative();
    return alternatives;
}

} // namespace dv
