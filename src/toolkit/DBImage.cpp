#include "DBImage.h"
#include "ToolkitRegistration.h"
#include "core/db/Field.h"
#include <QPainter>

namespace dv {

DBImage::DBImage(QWidget* parent) : QFrame(parent), DataControl(this) {
    registerToolkitTexts(); // the language files' texts for this kind of box
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    link().onLoad = [this] { load(); };
}

bool DBImage::setPictureData(const QByteArray& bytes) {
    QImage image;
    if (!image.loadFromData(bytes)) return false;
    m_shownBytes.clear();
    setPicture(image);
    return true;
}

void DBImage::setPicture(const QImage& image) {
    m_image = image;
    update();
}

void DBImage::clearPicture() {
    m_image = QImage();
    m_shownBytes.clear();
    update();
}

void DBImage::setCenter(bool on) {
    m_center = on;
    update();
}

void DBImage::setStretch(bool on) {
    m_stretch = on;
    update();
}

void DBImage::setProportional(bool on) {
    m_proportional = on;
    update();
}

void DBImage::load() {
    if (!dataSource() || dataField().isEmpty()) return;
    Field* f = field();
    const QByteArray bytes = f && link().isActive() && !f->isNull() ? f->asBytes() : QByteArray();
    if (!bytes.isEmpty() && bytes == m_shownBytes && !m_image.isNull()) return;
    m_image = QImage();
    if (!bytes.isEmpty() && m_image.loadFromData(bytes))
        m_shownBytes = bytes;
    else {
        m_image = QImage(); // not a picture: nothing
        m_shownBytes.clear();
    }
    update();
}

QRect DBImage::pictureRect() const {
    const QRect box = contentsRect();
    if (m_image.isNull() || box.isEmpty()) return QRect();
    QSize size = m_image.size();
    const bool larger = size.width() > box.width() || size.height() > box.height();
    if (m_stretch && !m_proportional)
        size = box.size();
    else if (m_stretch || (m_proportional && larger))
        size.scale(box.size(), Qt::KeepAspectRatio);
    QPoint at = box.topLeft();
    if (m_center)
        at = QPoint(box.left() + (box.width() - size.width()) / 2,
                    box.top() + (box.height() - size.height()) / 2);
    return QRect(at, size);
}

QSize DBImage::sizeHint() const {
    return QSize(160, 200);
}

void DBImage::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_image.isNull()) return;
    QPainter p(this);
    p.setClipRect(contentsRect());
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(pictureRect(), m_image);
}

} // namespace dv
