#include "CadastroIcons.h"
#include "toolkit/ThemeIcons.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dv {

namespace {

QColor colorOf(CadastroIcon which) {
    switch (which) {
    case CadastroIcon::Save:
        return QColor(0x2E, 0x7D, 0x32);
    case CadastroIcon::Close:
        return QColor(0xC6, 0x28, 0x28);
    case CadastroIcon::Print:
        return QColor(0x45, 0x5A, 0x64);
    case CadastroIcon::Help:
        return QColor(0x15, 0x65, 0xC0);
    }
    return Qt::gray;
}

// A rounded square in the button's colour with a white sign: a tick, a cross, a
// sheet or a question mark.
QPixmap drawn(CadastroIcon which, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = colorOf(which);
    const double s = size / 16.0;
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, c.lighter(130));
    g.setColorAt(1, c);
    p.setBrush(g);
    p.setPen(QPen(c.darker(130), qMax(1.0, s * 0.8)));
    p.drawRoundedRect(QRectF(0.5 * s, 0.5 * s, 15 * s, 15 * s), 3 * s, 3 * s);
    QPen white(Qt::white, 2 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(white);
    p.setBrush(Qt::NoBrush);
    switch (which) {
    case CadastroIcon::Save: {
        QPainterPath tick;
        tick.moveTo(4 * s, 8.5 * s);
        tick.lineTo(7 * s, 11.5 * s);
        tick.lineTo(12 * s, 4.5 * s);
        p.drawPath(tick);
        break;
    }
    case CadastroIcon::Close:
        p.drawLine(QPointF(5 * s, 5 * s), QPointF(11 * s, 11 * s));
        p.drawLine(QPointF(11 * s, 5 * s), QPointF(5 * s, 11 * s));
        break;
    case CadastroIcon::Print:
        p.setPen(QPen(Qt::white, 1.2 * s));
        p.drawRect(QRectF(5 * s, 3 * s, 6 * s, 4 * s));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(3 * s, 7 * s, 10 * s, 4.5 * s), s, s);
        p.setBrush(c);
        p.drawRect(QRectF(5 * s, 10 * s, 6 * s, 3.5 * s));
        break;
    case CadastroIcon::Help: {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(int(size * 0.7));
        p.setFont(f);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return pm;
}

const char* themeName(CadastroIcon which) {
    switch (which) {
    case CadastroIcon::Save:
        return "document-save";
    case CadastroIcon::Close:
        return "window-close";
    case CadastroIcon::Print:
        return "document-print";
    case CadastroIcon::Help:
        return "help-contents";
    }
    return "";
}

} // namespace

QIcon cadastroIcon(CadastroIcon which) {
    ensureIconTheme();
    QIcon icon = QIcon::fromTheme(QLatin1String(themeName(which)));
    if (!icon.isNull()) return icon;
    for (int size : {16, 22, 32})
        icon.addPixmap(drawn(which, size));
    return icon;
}

} // namespace dv
