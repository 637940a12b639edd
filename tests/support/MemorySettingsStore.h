#pragma once
#include "core/SettingsStore.h"
#include <QMap>

namespace dv::test {

// Grid layouts kept in memory, per hive, store name and section (the store and
// section names compare without regard to case, as in the INI files).
class MemorySettingsStore : public SettingsStore {
public:
    SettingsEntries readSection(SettingsHive hive, const QString& storeName,
                                const QString& section) override {
        return m_sections.value(keyOf(hive, storeName, section));
    }
    void writeSection(SettingsHive hive, const QString& storeName, const QString& section,
                      const SettingsEntries& entries) override {
        m_sections.insert(keyOf(hive, storeName, section), entries);
        ++m_writes;
    }
    int writes() const { return m_writes; }

private:
    static QString keyOf(SettingsHive hive, const QString& storeName, const QString& section) {
        return QString::number(int(hive)) + QLatin1Char('|') + storeName.toCaseFolded() + QLatin1Char('|') +
               section.toCaseFolded();
    }
    QMap<QString, SettingsEntries> m_sections;
    int m_writes = 0;
};

} // namespace dv::test
