#include "IniSettingsStore.h"
#include "CodeTexts.h"
#include "IniFile.h"
#include "db/DbErrors.h"
#include <QStandardPaths>

namespace dv {

IniSettingsStore::IniSettingsStore(QString userHiveFile) : m_userHive(std::move(userHiveFile)) {}

QString IniSettingsStore::defaultUserHiveFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Dentrivale/user.ini");
}

QString IniSettingsStore::fileOf(SettingsHive hive, const QString& storeName) const {
    if (hive == SettingsHive::User) return m_userHive;
    QString path = storeName;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return path;
}

QString IniSettingsStore::sectionOf(SettingsHive hive, const QString& storeName, const QString& section) {
    return hive == SettingsHive::User ? storeName + QLatin1Char('\\') + section : section;
}

SettingsEntries IniSettingsStore::readSection(SettingsHive hive, const QString& storeName,
                                              const QString& section) {
    return IniFile::load(fileOf(hive, storeName)).entries(sectionOf(hive, storeName, section));
}

void IniSettingsStore::writeSection(SettingsHive hive, const QString& storeName, const QString& section,
                                    const SettingsEntries& entries) {
    const QString file = fileOf(hive, storeName);
    IniFile ini = IniFile::load(file);
    ini.setSection(sectionOf(hive, storeName, section), entries);
    QString why;
    if (!ini.save(file, &why))
        throw PlainError(dv::text("Não foi possível gravar o arquivo '%1': %2").arg(file, why));
}

} // namespace dv
