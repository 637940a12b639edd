#include "U_frmAbertura.h"
#include "BusyIndicator.h"
#include "CodeTexts.h"
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

TfrmAbertura::TfrmAbertura(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmAbertura"));
    setWindowTitle(QStringLiteral("Iniciando o Sistema"));
    setFixedSize(409, 200);
    setWindowOpacity(0.97);

    lbIniciando = new QLabel(this);
    lbIniciando->setObjectName(QStringLiteral("lbIniciando"));
    lbIniciando->setGeometry(24, 166, 320, 20);
    lbIniciando->setStyleSheet(QStringLiteral("color: #D8D8D8; background: transparent;"));
    lbIniciando->setAttribute(Qt::WA_TranslucentBackground);

    m_busy = new dv::BusyIndicator(this);
    m_busy->setGeometry(361, 158, 32, 32);

    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
}

void TfrmAbertura::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, height());
    bg.setColorAt(0, QColor(0x5E, 0x4C, 0x40));
    bg.setColorAt(1, QColor(0x2C, 0x24, 0x1F));
    p.fillRect(rect(), bg);

    // A stylised molar in quartz tones.
    QPainterPath tooth;
    tooth.moveTo(40, 40);
    tooth.cubicTo(40, 22, 62, 22, 70, 30);
    tooth.cubicTo(78, 22, 100, 22, 100, 40);
    tooth.cubicTo(100, 62, 94, 70, 92, 92);
    tooth.cubicTo(90, 108, 80, 108, 78, 92);
    tooth.cubicTo(76, 80, 64, 80, 62, 92);
    tooth.cubicTo(60, 108, 50, 108, 48, 92);
    tooth.cubicTo(46, 70, 40, 62, 40, 40);
    QLinearGradient enamel(40, 24, 100, 108);
    enamel.setColorAt(0, QColor(0xFF, 0xFC, 0xF7));
    enamel.setColorAt(1, QColor(0xD9, 0xCB, 0xBE));
    p.setPen(QPen(QColor(0xB9, 0xA5, 0x93), 2));
    p.setBrush(enamel);
    p.drawPath(tooth);

    QFont title(QStringLiteral("DejaVu Sans"), 26, QFont::Bold);
    p.setFont(title);
    p.setPen(QColor(0xF4, 0xEE, 0xE8));
    p.drawText(QRect(120, 34, 280, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dentrivale"));
    QFont sub(QStringLiteral("DejaVu Sans"), 10);
    p.setFont(sub);
    p.setPen(QColor(0xCF, 0xC2, 0xB6));
    p.drawText(QRect(122, 78, 280, 22), Qt::AlignLeft | Qt::AlignVCenter,
               dv::text("Gerenciamento Odontológico"));
    p.setPen(QPen(QColor(0x8A, 0x73, 0x62), 1));
    p.drawLine(24, 150, width() - 24, 150);
}
