#include "ShellIcons.h"
#include "toolkit/ThemeIcons.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dv {

namespace {

using Picture = ThemePicture;

Picture pictureOf(ShellIcon which) {
    switch (which) {
    case ShellIcon::Menu:
        return {"kmenuedit", QColor(0x4A, 0x7F, 0xB5), "M"};
    case ShellIcon::Patients:
        return {"system-users", QColor(0x2E, 0x8B, 0xD8), "P"};
    case ShellIcon::Agenda:
        return {"office-calendar", QColor(0x5E, 0x9E, 0x4A), "A"};
    case ShellIcon::AgendaSearch:
        return {"x-office-calendar", QColor(0x3D, 0x8C, 0x74), "?"};
    case ShellIcon::Consultations:
        return {"knotes", QColor(0xE0, 0xA8, 0x2E), "C"};
    case ShellIcon::Services:
        return {"applications-utilities", QColor(0xC8, 0x3E, 0x4D), "S"};
    case ShellIcon::Dentists:
        return {"kuser", QColor(0x2E, 0x8B, 0xD8), "D"};
    case ShellIcon::Contacts:
        return {"kaddressbook", QColor(0xB8, 0x86, 0x4E), "C"};
    case ShellIcon::Exit:
        return {"application-exit", QColor(0xD9, 0x45, 0x45), "X"};
    case ShellIcon::Receivables:
        return {"homebank", QColor(0xE6, 0xB8, 0x2E), "$"};
    case ShellIcon::Payables:
        return {"kwalletmanager", QColor(0x7A, 0x5C, 0x9E), "$"};
    case ShellIcon::Groups:
        return {"security-high", QColor(0x4C, 0xA8, 0x3A), "G"};
    case ShellIcon::ChangeUser:
        return {"system-switch-user", QColor(0x55, 0x6B, 0x80), "L"};
    case ShellIcon::WindowItem:
        return {"window-duplicate", QColor(0x55, 0x6B, 0x80), "J"};
    case ShellIcon::CloseAll:
        return {"window-close", QColor(0xD9, 0x45, 0x45), "F"};
    case ShellIcon::Help:
        return {"help-about", QColor(0x2E, 0x8B, 0xD8), "?"};
    case ShellIcon::WebSite:
        return {"internet-web-browser", QColor(0x2E, 0x8B, 0xD8), "W"};
    case ShellIcon::StatusPicture:
        return {nullptr, QColor(0xFF, 0xFD, 0xF8), ""};
    }
    return {nullptr, Qt::gray, ""};
}

// The system's own little tooth (the status bar's picture).
QPixmap tooth(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 16.0;
    QPainterPath path;
    path.moveTo(2 * s, 4.5 * s);
    path.cubicTo(2 * s, 1.2 * s, 6 * s, 1 * s, 8 * s, 2.6 * s);
    path.cubicTo(10 * s, 1 * s, 14 * s, 1.2 * s, 14 * s, 4.5 * s);
    path.cubicTo(14 * s, 8.5 * s, 12.6 * s, 10 * s, 12.2 * s, 13 * s);
    path.cubicTo(11.8 * s, 15.6 * s, 10 * s, 15.6 * s, 9.7 * s, 13 * s);
    path.cubicTo(9.4 * s, 11 * s, 6.6 * s, 11 * s, 6.3 * s, 13 * s);
    path.cubicTo(6 * s, 15.6 * s, 4.2 * s, 15.6 * s, 3.8 * s, 13 * s);
    path.cubicTo(3.4 * s, 10 * s, 2 * s, 8.5 * s, 2 * s, 4.5 * s);
    QLinearGradient enamel(0, 0, size, size);
    enamel.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
    enamel.setColorAt(1, QColor(0xDC, 0xCF, 0xC2));
    p.setBrush(enamel);
    p.setPen(QPen(QColor(0x8C, 0x77, 0x66), qMax(1.0, s)));
    p.drawPath(path);
    return pm;
}

QIcon drawn(ShellIcon which, const Picture& pic) {
    QIcon icon;
    for (int size : {16, 22, 32, 48})
        icon.addPixmap(which == ShellIcon::StatusPicture ? tooth(size)
                                                         : badgePixmap(pic.color, pic.letter, size));
    return icon;
}

// The agenda search: the calendar with a magnifying glass over its corner.
QIcon withMagnifier(const QIcon& base) {
    QIcon icon;
    for (int size : {16, 22, 32, 48}) {
        QPixmap pm = base.pixmap(size, size);
        if (pm.isNull()) return QIcon();
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const double r = size * 0.2;
        const QPointF c(size * 0.62, size * 0.62);
        p.setPen(QPen(QColor(0x33, 0x33, 0x33), qMax(1.5, size / 12.0), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(c, r, r);
        p.drawLine(c + QPointF(r * 0.72, r * 0.72), QPointF(size - 1.5, size - 1.5));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace

QIcon shellIcon(ShellIcon which) {
    ensureIconTheme();
    const Picture pic = pictureOf(which);
    QIcon icon;
    if (pic.themeName) icon = QIcon::fromTheme(QString::fromLatin1(pic.themeName));
    if (which == ShellIcon::AgendaSearch && !icon.isNull()) icon = withMagnifier(icon);
    return icon.isNull() ? drawn(which, pic) : icon;
}

} // namespace dv
