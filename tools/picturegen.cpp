// Draws the pictures the application folder ships (login banner and the like),
// so that no picture comes from elsewhere.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

QPainterPath molar(QRectF r) {
    // A molar drawn in a 60 x 86 box, scaled into r.
    QPainterPath p;
    p.moveTo(0, 18);
    p.cubicTo(0, 0, 22, 0, 30, 8);
    p.cubicTo(38, 0, 60, 0, 60, 18);
    p.cubicTo(60, 40, 54, 48, 52, 70);
    p.cubicTo(50, 86, 40, 86, 38, 70);
    p.cubicTo(36, 58, 24, 58, 22, 70);
    p.cubicTo(20, 86, 10, 86, 8, 70);
    p.cubicTo(6, 48, 0, 40, 0, 18);
    QTransform t;
    t.translate(r.x(), r.y());
    t.scale(r.width() / 60.0, r.height() / 86.0);
    return t.map(p);
}

QImage loginBanner() {
    QImage img(840, 280, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, img.width(), img.height());
    bg.setColorAt(0, QColor(0x6B, 0x57, 0x49));
    bg.setColorAt(1, QColor(0x2E, 0x26, 0x21));
    p.fillRect(img.rect(), bg);
    QRadialGradient glow(QPointF(650, 60), 380);
    glow.setColorAt(0, QColor(255, 240, 225, 70));
    glow.setColorAt(1, QColor(255, 240, 225, 0));
    p.fillRect(img.rect(), glow);
    // A row of faint teeth along the bottom, like a smile line.
    for (int i = 0; i < 9; ++i) {
        const QRectF r(470 + i * 40, 190 + (i % 2) * 6, 34, 50);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 250, 244, 28 + i * 4));
        p.drawPath(molar(r));
    }
    const QRectF big(60, 54, 120, 172);
    QLinearGradient enamel(big.topLeft(), big.bottomRight());
    enamel.setColorAt(0, QColor(0xFF, 0xFD, 0xF8));
    enamel.setColorAt(1, QColor(0xD8, 0xC8, 0xBA));
    p.setBrush(enamel);
    p.setPen(QPen(QColor(0xBE, 0xA9, 0x97), 4));
    p.drawPath(molar(big));
    p.setPen(QColor(0xF6, 0xF0, 0xEA));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 46, QFont::Bold));
    p.drawText(QRect(220, 60, 600, 90), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dentrivale"));
    p.setPen(QColor(0xD6, 0xC8, 0xBB));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    p.drawText(QRect(224, 150, 600, 44), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Gerenciamento Odontológico"));
    return img;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dv_picturegen APP_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + QStringLiteral("/skins"));
    const QString banner = out + QStringLiteral("/skins/config.jpg");
    if (!loginBanner().save(banner, "JPG", 90)) {
        std::fprintf(stderr, "dv_picturegen: cannot write %s\n", qPrintable(banner));
        return 1;
    }
    return 0;
}
