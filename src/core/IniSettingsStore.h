#pragma once
#include "SettingsStore.h"

namespace dv {

// Grid layouts in INI files, keeping the entries in the order they were written.
// The File hive is the INI file the store name names; the User hive is one INI
// file per user (by default in the user's configuration folder) in which each
// store name has its sections, as "<store name>\<section>".
class IniSettingsStore : public SettingsStore {
public:
    explicit IniSettingsStore(QString userHiveFile = defaultUserHiveFile());
    static QString defaultUserHiveFile();

    SettingsEntries readSection(SettingsHive hive, const QString& storeName, const QString& section) override;
    void writeSection(SettingsHive hive, const QString& storeName, const QString& section,
                      const SettingsEntries& entries) override;

    const QString& userHiveFile() const { return m_userHive; }

private:
    QString fileOf(SettingsHive hive, const QString& storeName) const;
    static QString sectionOf(SettingsHive hive, const QString& storeName, const QString& section);

    QString m_userHive;
};

} // namespace dv
