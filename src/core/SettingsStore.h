#pragma once
#include <QList>
#include <QString>
#include <utility>

namespace dv {

// Where a list screen's grid layout is kept: the INI file named by the store
// name itself, or the per-user store under that name (what other systems keep
// in the user's registry hive).
enum class SettingsHive { File, User };

using SettingsEntries = QList<std::pair<QString, QString>>;

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The entries of a section in their stored order; empty when absent.
    virtual SettingsEntries readSection(SettingsHive hive, const QString& storeName,
                                        const QString& section) = 0;
    // Erases the section and writes it anew. Throws dv::PlainError when the store
    // cannot be written.
    virtual void writeSection(SettingsHive hive, const QString& storeName, const QString& section,
                              const SettingsEntries& entries) = 0;
};

} // namespace dv
