#pragma once
#include <QString>
#include <QStringList>

namespace dv {

// The process-wide session values: set by the data module at start-up, by the
// login, the screen opener and the list screens later on.
class Session {
public:
    // The folder of the running executable, with a trailing '/'. Every side file
    // (config.ini, language/, relatorio/, skins/, help/) is found relative to it.
    const QString& executableFolder() const { return m_executableFolder; }
    void setExecutableFolder(const QString& folder);
    // A name the system builds relative to the executable folder; a '\' in it is a
    // path separator.
    QString filePath(const QString& relativeName) const;

    // The configuration file: config.ini in the executable folder unless the
    // command line named another (--config FILE, the demo clinic's).
    QString configFile() const;
    void setConfigFile(const QString& file) { m_configFile = file; }

    // Where the program writes what it makes (backups, list layouts), with a
    // trailing '/': config.ini's DataFolder, relative to the executable folder or
    // absolute; the executable folder when not set. An installed program's own
    // folder is read-only.
    QString dataFolder() const;
    void setDataFolder(const QString& folder) { m_dataFolder = folder; }

    const QString& applicationName() const { return m_applicationName; }
    void setApplicationName(const QString& name) { m_applicationName = name; }
    const QString& applicationTitle() const { return m_applicationTitle; }
    void setApplicationTitle(const QString& title) { m_applicationTitle = title; }

    // "pt_BR", "en" or "es" as config.ini says; any other text is kept as read.
    const QString& language() const { return m_language; }
    void setLanguage(const QString& code) { m_language = code; }

    bool developerMode() const { return m_developerMode; }
    void setDeveloperMode(bool on) { m_developerMode = on; }

    const QString& userLogin() const { return m_userLogin; }
    void setUserLogin(const QString& login) { m_userLogin = login; }

    // Form name of the screen last opened or last asking to print.
    const QString& screenName() const { return m_screenName; }
    void setScreenName(const QString& formName) { m_screenName = formName; }

    // Back to the values of a process that has not started yet (tests).
    void reset();

private:
    QString m_executableFolder;
    QString m_configFile;
    QString m_dataFolder;
    QString m_applicationName;
    QString m_applicationTitle;
    QString m_language;
    bool m_developerMode = false;
    QString m_userLogin;
    QString m_screenName;
};

Session& session();

// The file a "--config FILE" argument names, absolute; empty when there is none.
QString configFileArgument(const QStringList& arguments);

} // namespace dv
