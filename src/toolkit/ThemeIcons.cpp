#include "ThemeIcons.h"
#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace dv {

void ensureIconTheme() {
    static bool done = false;
    if (done) return;
    done = true;
    QStringList paths = QIcon::themeSearchPaths();
    QStringList dataDirs = qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (dataDirs.isEmpty()) dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    for (const QString& dir : dataDirs) {
        const QString icons = QDir(dir).filePath(QStringLiteral("icons"));
        if (!paths.contains(icons) && QFileInfo(icons).isDir()) paths << icons;
    }
    QIcon::setThemeSearchPaths(paths);
    if (QIcon::themeName().isEmpty() || !QIcon::hasThemeIcon(QStringLiteral("application-exit")))
        QIcon::setThemeName(QStringLiteral("breeze"));
    if (QIcon::fallbackThemeName().isEmpty()) QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
}

QPixmap badgePixmap(const QColor& color, const char* letter, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(size * 0.35, size * 0.3), size * 0.8);
    g.setColorAt(0, color.lighter(135));
    g.setColorAt(1, color);
    p.setBrush(g);
    p.setPen(QPen(color.darker(130), qMax(1.0, size / 24.0)));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(int(size * 0.5));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromUtf8(letter));
    return pm;
}

QIcon themeIconOrBadge(const char* themeName, const QColor& color, const char* letter) {
    ensureIconTheme();
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(themeName));
    if (!icon.isNull()) return icon;
    for (int size : {16, 22, 32, 48})
        icon.addPixmap(badgePixmap(color, letter, size));
    return icon;
}

} // namespace dv
