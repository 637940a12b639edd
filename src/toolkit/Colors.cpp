#include "Colors.h"
#include <QGuiApplication>
#include <QPalette>

namespace dv {

namespace {
QColor systemColor(int index) {
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 5: // window
        return p.color(QPalette::Base);
    case 8: // window text
        return p.color(QPalette::Text);
    case 13: // highlight
        return p.color(QPalette::Highlight);
    case 14:
        return p.color(QPalette::HighlightedText);
    case 16: // button shadow
        return p.color(QPalette::Mid);
    case 17: // grey text
        return p.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return p.color(QPalette::ButtonText);
    case 20: // button highlight
        return p.color(QPalette::Light);
    case 24: // hint background
        return p.color(QPalette::ToolTipBase);
    case 15: // button face
    default:
        return p.color(QPalette::Button);
    }
}
} // namespace

QColor colorFromNumber(qint64 number) {
    const quint32 n = quint32(number);
    if (number < 0 || (n & 0xFF000000u) != 0) return systemColor(int(n & 0xFF));
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

qint64 colorNumber(const QColor& color) {
    return qint64(color.red()) | (qint64(color.green()) << 8) | (qint64(color.blue()) << 16);
}

} // namespace dv
