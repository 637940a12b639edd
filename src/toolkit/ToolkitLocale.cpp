#include "ToolkitLocale.h"
#include "core/Session.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace dv {

QLocale toolkitLocale() {
    const QString& language = session().language();
    if (language == QLatin1String("en")) return QLocale(QLocale::English, QLocale::UnitedStates);
    if (language == QLatin1String("es")) return QLocale(QLocale::Spanish, QLocale::Spain);
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

namespace {

// Simple glyphs drawn in the palette's text colour, for themes without an icon.
QIcon drawnIcon(const QString& name) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(0x4A, 0x42, 0x3B);
    p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    auto triangle = [&](bool left, qreal x) {
        QPainterPath path;
        if (left) {
            path.moveTo(x + 9, 7);
            path.lineTo(x, 16);
            path.lineTo(x + 9, 25);
        } else {
            path.moveTo(x, 7);
            path.lineTo(x + 9, 16);
            path.lineTo(x, 25);
        }
        path.closeSubpath();
        p.drawPath(path);
    };
    if (name == QLatin1String("go-first")) {
        p.drawLine(QPointF(8, 7), QPointF(8, 25));
        triangle(true, 12);
    } else if (name == QLatin1String("go-previous")) {
        triangle(true, 11);
    } else if (name == QLatin1String("go-next")) {
        triangle(false, 12);
    } else if (name == QLatin1String("go-last")) {
        triangle(false, 11);
        p.drawLine(QPointF(24, 7), QPointF(24, 25));
    } else if (name == QLatin1String("list-add")) {
        p.drawLine(QPointF(16, 7), QPointF(16, 25));
        p.drawLine(QPointF(7, 16), QPointF(25, 16));
    } else if (name == QLatin1String("list-remove")) {
        p.drawLine(QPointF(7, 16), QPointF(25, 16));
    } else if (name == QLatin1String("x-dv-drop-down")) {
        // The drop-down mark of a lookup box: a small chevron.
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(10, 13), QPointF(16, 19), QPointF(22, 13)}));
    } else if (name == QLatin1String("arrow-up") || name == QLatin1String("arrow-down") ||
               name == QLatin1String("go-down")) {
        const bool up = name == QLatin1String("arrow-up");
        QPainterPath path;
        path.moveTo(8, up ? 21 : 11);
        path.lineTo(16, up ? 11 : 21);
        path.lineTo(24, up ? 21 : 11);
        path.closeSubpath();
        p.drawPath(path);
    } else if (name == QLatin1String("dialog-ok-apply")) {
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(7, 17), QPointF(13, 23), QPointF(25, 9)}));
    } else if (name == QLatin1String("dialog-cancel") || name == QLatin1String("edit-clear")) {
        p.drawLine(QPointF(9, 9), QPointF(23, 23));
        p.drawLine(QPointF(23, 9), QPointF(9, 23));
    } else if (name == QLatin1String("document-edit")) {
        p.drawLine(QPointF(8, 24), QPointF(23, 9));
        p.drawLine(QPointF(7, 25), QPointF(12, 25));
    } else if (name == QLatin1String("view-refresh")) {
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 7, 18, 18), 30 * 16, 300 * 16);
        p.setBrush(ink);
        p.drawPolygon(QPolygonF({QPointF(22, 4), QPointF(26, 11), QPointF(19, 11)}));
    } else if (name == QLatin1String("view-filter")) {
        // A funnel.
        p.drawPolygon(QPolygonF({QPointF(6, 7), QPointF(26, 7), QPointF(18, 17), QPointF(18, 25),
                                 QPointF(14, 27), QPointF(14, 17)}));
    } else if (name == QLatin1String("x-office-calendar")) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2));
        p.drawRoundedRect(QRectF(5, 7, 22, 20), 2, 2);
        p.setBrush(ink);
        p.drawRect(QRectF(5, 7, 22, 5));
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(9 + c * 6, 15 + r * 6, 3, 3));
    } else if (name == QLatin1String("accessories-calculator")) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 2));
        p.drawRoundedRect(QRectF(7, 4, 18, 24), 2, 2);
        p.drawRect(QRectF(10, 7, 12, 5));
        p.setBrush(ink);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(10 + c * 4.5, 15 + r * 4, 2.5, 2.5));
    }
    p.end();
    return QIcon(pm);
}

} // namespace

QIcon toolkitIcon(const QString& name) {
    const QIcon themed = QIcon::fromTheme(name);
    if (!themed.isNull()) return themed;
    return drawnIcon(name);
}

} // namespace dv
