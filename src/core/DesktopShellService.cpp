#include "DesktopShellService.h"
#include <QDesktopServices>
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
    return QDesktopServices::openUrl(urlFor(fileOrUrl.trimmed()));
}

} // namespace dv
