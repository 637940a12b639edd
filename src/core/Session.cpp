#include "Session.h"

namespace dv {

void Session::setExecutableFolder(const QString& folder) {
    m_executableFolder = folder;
    if (!m_executableFolder.isEmpty() && !m_executableFolder.endsWith(QLatin1Char('/')))
        m_executableFolder += QLatin1Char('/');
}

QString Session::filePath(const QString& relativeName) const {
    QString name = relativeName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return m_executableFolder + name;
}

void Session::reset() {
    *this = Session();
}

Session& session() {
    static Session instance;
    return instance;
}

} // namespace dv
