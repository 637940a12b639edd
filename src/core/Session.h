#pragma once
#include <QString>

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
    QString m_applicationName;
    QString m_applicationTitle;
    QString m_language;
    bool m_developerMode = false;
    QString m_userLogin;
    QString m_screenName;
};

Session& session();

} // namespace dv
