#include "LookupTitles.h"
#include "ToolkitRegistration.h"

namespace dv {

LookupTitles::LookupTitles(QObject* owner, const QString& fieldName) : QObject(owner) {
    registerToolkitTexts();
    setObjectName(nameFor(fieldName));
}

QString LookupTitles::nameFor(const QString& fieldName) {
    return fieldName + QStringLiteral("_Lookup");
}

LookupTitles* LookupTitles::declare(QObject* owner, const QString& fieldName, const QStringList& titles,
                                    Apply apply) {
    auto* made = owner->findChild<LookupTitles*>(nameFor(fieldName), Qt::FindDirectChildrenOnly);
    if (!made) made = new LookupTitles(owner, fieldName);
    made->m_titles = titles;
    made->m_apply = std::move(apply);
    return made;
}

void LookupTitles::setTitles(const QStringList& titles) {
    // A file with fewer titles leaves the remaining columns as the code named them.
    for (int i = 0; i < titles.size() && i < m_titles.size(); ++i)
        m_titles[i] = titles[i];
    if (m_apply) m_apply(m_titles);
}

} // namespace dv
