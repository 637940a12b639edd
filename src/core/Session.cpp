#include "Session.h"
#include "CodeTexts.h"

#include <QDir>
#include <QFileInfo>

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

QString Session::configFile() const {
    return m_configFile.isEmpty() ? filePath(QStringLiteral("config.ini")) : m_configFile;
}

QString Session::dataFolder() const {
    if (m_dataFolder.isEmpty()) return m_executableFolder;
    QString folder = QDir::cleanPath(QDir(m_executableFolder).filePath(QString(m_dataFolder).replace(QLatin1Char('\\'), QLatin1Char('/'))));
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void Session::reset() {
    *this = Session();
}

Session& session() {
    static Session instance;
    // Texts written in code, the dataset layer's included, follow this session's language.
    static const bool textsFollow = (setCodeTextLookup(&sessionCodeText), true);
    Q_UNUSED(textsFollow);
    return instance;
}

QString configFileArgument(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--config"));
    if (at < 1 || at + 1 >= arguments.size()) return QString();
    return QFileInfo(arguments[at + 1]).absoluteFilePath();
}

} // namespace dv
