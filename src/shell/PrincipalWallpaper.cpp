#include "PrincipalWallpaper.h"
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

namespace dv {

PrincipalWallpaper::PrincipalWallpaper(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool PrincipalWallpaper::load(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) return false;
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) return false;
    m_picture = QPixmap::fromImage(image);
    m_fileName = fileName;
    update();
    return true;
}

void PrincipalWallpaper::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(0xF4, 0xF1, 0xEE));
    bg.setColorAt(1, QColor(0xDD, 0xD6, 0xCF));
    p.fillRect(rect(), bg);
    if (m_picture.isNull()) return;

    // Centred at its own size, shrunk only when the area is smaller than the picture.
    QSize size = m_picture.size();
    const QSize room = rect().size() - QSize(48, 48);
    if (room.isValid() && (size.width() > room.width() || size.height() > room.height()))
        size.scale(room, Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(rect().center());

    // A soft shadow under a rounded frame, as a printed card lying on the desk.
    for (int i = 6; i >= 1; --i) {
        QPainterPath shadow;
        shadow.addRoundedRect(QRectF(target).adjusted(-i, -i + 4, i, i + 4), 10 + i, 10 + i);
        p.fillPath(shadow, QColor(0x3A, 0x2E, 0x26, 10));
    }
    QPainterPath frame;
    frame.addRoundedRect(QRectF(target), 10, 10);
    p.setClipPath(frame);
    p.drawPixmap(target, m_picture);
    p.setClipping(false);
    p.setPen(QPen(QColor(0xB8, 0xAA, 0x9D), 1));
    p.drawPath(frame);
}

} // namespace dv
