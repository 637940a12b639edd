#include "BusyIndicator.h"
#include <QPainter>

namespace dv {

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
    m_timer.start(80);
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int side = qMin(width(), height());
    p.translate(width() / 2.0, height() / 2.0);
    p.scale(side / 32.0, side / 32.0);
    for (int i = 0; i < 12; ++i) {
        // The leading sector is brightest; the tail fades.
        const int age = (m_step - i + 12) % 12;
        QColor c(0xF2, 0xEC, 0xE6);
        c.setAlphaF(1.0 - age / 13.0);
        p.save();
        p.rotate(i * 30.0);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(-1.6, -15, 3.2, 8), 1.5, 1.5);
        p.restore();
    }
}

} // namespace dv
