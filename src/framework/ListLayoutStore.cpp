#include "ListLayoutStore.h"
#include "core/Services.h"
#include "core/Session.h"
#include <QSet>

namespace dv {

namespace {
const QString kSeparator = QStringLiteral(";;");
} // namespace

ListLayoutStore::ListLayoutStore(SettingsHive hive, QString section)
    : m_hive(hive), m_section(std::move(section)) {}

QString ListLayoutStore::storeName() {
    return session().dataFolder() + QStringLiteral("Dentrivale.ini");
}

void ListLayoutStore::save(const QList<GridColumn>& columns) const {
    services().settings().writeSection(m_hive, storeName(), m_section, entriesOf(columns));
}

std::optional<QList<GridColumn>> ListLayoutStore::load(const QList<GridColumn>& designed) const {
    return merged(services().settings().readSection(m_hive, storeName(), m_section), designed);
}

SettingsEntries ListLayoutStore::entriesOf(const QList<GridColumn>& columns) {
    SettingsEntries entries;
    for (const GridColumn& c : columns)
        entries.append(
            {c.fieldName, QString::number(c.width) + kSeparator + c.title + kSeparator + QLatin1Char('F')});
    return entries;
}

std::optional<QList<GridColumn>> ListLayoutStore::merged(const SettingsEntries& entries,
                                                         const QList<GridColumn>& designed) {
    if (entries.isEmpty()) return std::nullopt;
    QList<GridColumn> columns;
    QSet<QString> stored;
    for (const auto& [field, value] : entries) {
        if (!value.contains(kSeparator)) return std::nullopt;
        const QStringList parts = value.split(kSeparator);
        GridColumn c;
        c.fieldName = field.trimmed();
        c.width = qMax(0, parts.value(0).trimmed().toInt());
        c.title = parts.value(1);
        if (c.fieldName.isEmpty() || stored.contains(c.fieldName.toCaseFolded())) continue;
        stored.insert(c.fieldName.toCaseFolded());
        columns.append(c);
    }
    for (const GridColumn& c : designed)
        if (!stored.contains(c.fieldName.toCaseFolded())) columns.append(c);
    return columns;
}

QList<GridColumn> ListLayoutStore::titlesToStore(QList<GridColumn> columns, const Dataset* dataset) {
    for (GridColumn& c : columns)
        if (const Field* f = dataset ? dataset->findField(c.fieldName) : nullptr;
            f && c.title == f->displayLabel())
            c.title = f->designedLabel();
    return columns;
}

QList<GridColumn> ListLayoutStore::titlesFromStore(QList<GridColumn> columns, const Dataset* dataset) {
    for (GridColumn& c : columns)
        if (const Field* f = dataset ? dataset->findField(c.fieldName) : nullptr;
            f && (c.title == f->designedLabel() || c.title == f->displayLabel()))
            c.title.clear();
    return columns;
}

} // namespace dv
