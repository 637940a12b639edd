// Draws the pictures the application folder ships (login banner and the like),
// so that no picture comes from elsewhere.
#include "odontopictures.h"
#include <QDir>
#include <algorithm>
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

// The banner of the login and of the main window, with its subtitle in one language.
QImage loginBanner(const QString& subtitle) {
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
    p.drawText(QRect(224, 150, 600, 44), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    return img;
}

// The program's icon for the desktop menus: the login picture's white molar on its
// brown, in a rounded square.
QImage appIcon(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(size * 0.04, size * 0.04, size * 0.92, size * 0.92);
    QLinearGradient bg(box.topLeft(), box.bottomRight());
    bg.setColorAt(0, QColor(0x8A, 0x70, 0x5E));
    bg.setColorAt(1, QColor(0x3A, 0x30, 0x29));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(box, size * 0.2, size * 0.2);
    const QRectF tooth(size * 0.25, size * 0.16, size * 0.5, size * 0.5 * 86 / 60);
    QLinearGradient enamel(tooth.topLeft(), tooth.bottomRight());
    enamel.setColorAt(0, QColor(0xFF, 0xFD, 0xF8));
    enamel.setColorAt(1, QColor(0xD8, 0xC8, 0xBA));
    p.setBrush(enamel);
    p.setPen(QPen(QColor(0xBE, 0xA9, 0x97), std::max(1.0, size / 48.0)));
    p.drawPath(molar(tooth));
    return img;
}

bool save(const QImage& image, const QString& file, const char* format = "PNG", int quality = -1) {
    if (image.save(file, format, quality)) return true;
    std::fprintf(stderr, "dv_picturegen: cannot write %s\n", qPrintable(file));
    return false;
}

// The odontogram's backgrounds and frames, beside the login picture.
bool writeChartPictures(const QString& skins) {
    return save(odonto::chartBackground(false), skins + QStringLiteral("/odontograma_permanentes.png")) &&
           save(odonto::chartBackground(true), skins + QStringLiteral("/odontograma_deciduos.png")) &&
           save(odonto::stripFrame(false), skins + QStringLiteral("/moldura_protese.png")) &&
           save(odonto::stripFrame(true), skins + QStringLiteral("/moldura_protese_destaque.png"));
}

// The tooth pictures and icons the installation database stores (read by dv_makedb).
bool writeCataloguePictures(const QString& folder) {
    QDir().mkpath(folder + QStringLiteral("/dentes"));
    QDir().mkpath(folder + QStringLiteral("/icones"));
    for (int number : odonto::toothNumbers())
        if (!save(odonto::toothPicture(number),
                  folder + QStringLiteral("/dentes/") + odonto::toothFile(number)))
            return false;
    for (const odonto::NamedPicture& icon : odonto::icons())
        if (!save(icon.image, folder + QStringLiteral("/icones/") + icon.file)) return false;
    return true;
}

// hicolor/NxN/apps/dentrivale.png under folder, as the icon theme lays it out.
bool writeAppIcons(const QString& folder) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(folder).arg(size);
        QDir().mkpath(dir);
        if (!save(appIcon(size), dir + QStringLiteral("/dentrivale.png"))) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--icons") == 0)
        return writeAppIcons(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
    if (argc < 2) {
        std::fprintf(stderr, "usage: dv_picturegen APP_FOLDER [CATALOGUE_FOLDER] | --icons FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out + QStringLiteral("/skins"));
    // config.jpg speaks Portuguese; config_<language>.jpg the other interface languages.
    const std::pair<const char*, QString> banners[] = {{"", QStringLiteral("Gerenciamento Odontológico")},
                                                       {"_en", QStringLiteral("Dental Practice Management")},
                                                       {"_es", QStringLiteral("Gestión Odontológica")}};
    for (const auto& [suffix, subtitle] : banners)
        if (!save(loginBanner(subtitle),
                  out + QStringLiteral("/skins/config%1.jpg").arg(QLatin1String(suffix)), "JPG", 90))
            return 1;
    if (!writeChartPictures(out + QStringLiteral("/skins"))) return 1;
    if (argc > 2 && !writeCataloguePictures(QString::fromLocal8Bit(argv[2]))) return 1;
    return 0;
}
