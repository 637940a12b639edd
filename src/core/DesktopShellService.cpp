#include "DesktopShellService.h"
#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>

namespace dv {

QUrl DesktopShellService::urlFor(const QString& fileOrUrl) {
    static const QRegularExpression scheme(QStringLiteral("^(https?|ftp|mailto|file):"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (scheme.match(fileOrUrl).hasMatch()) return QUrl(fileOrUrl);
    QString path = fileOrUrl;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QUrl::fromLocalFile(path);
}

bool DesktopShellService::open(const QString& fileOrUrl) {
    if (fileOrUrl.trimmed().isEmpty()) return false;
    const QUrl url = urlFor(fileOrUrl.trimmed());
    // The desktop's opener starts even for a missing file and fails unseen.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
}

} // namespace dv
