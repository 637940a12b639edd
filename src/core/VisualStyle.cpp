#include "VisualStyle.h"
#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace dv {

namespace {

QPalette smokeyQuartzPalette() {
    // Warm smoky greys with a quartz-brown accent; text keeps strong contrast.
    const QColor window(0xE8, 0xE4, 0xE0), base(0xFF, 0xFF, 0xFF), alternate(0xF6, 0xF3, 0xF0),
        button(0xDD, 0xD6, 0xCF), text(0x2A, 0x25, 0x21), highlight(0x7C, 0x62, 0x50), link(0x5A, 0x43, 0x33),
        disabled(0x9A, 0x92, 0x8B);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, alternate);
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xF8, 0xE7));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, link);
    p.setColor(QPalette::Light, window.lighter(115));
    p.setColor(QPalette::Midlight, window.lighter(105));
    p.setColor(QPalette::Mid, button.darker(120));
    p.setColor(QPalette::Dark, button.darker(150));
    p.setColor(QPalette::Shadow, QColor(0x4A, 0x42, 0x3B));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

const char* kStyleSheet = R"(
QToolTip { border: 1px solid #7C6250; padding: 3px; }
QToolBar { spacing: 2px; border: none; }
QToolButton { padding: 3px 6px; border-radius: 3px; }
QToolButton:hover { background: #D3C8BE; }
QToolButton:pressed, QToolButton:checked { background: #C2B3A6; }
QGroupBox { font-weight: bold; border: 1px solid #C9C0B7; border-radius: 4px; margin-top: 8px; padding-top: 6px; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }
QTabBar::tab { padding: 5px 12px; }
QHeaderView::section { padding: 3px; }
QStatusBar::item { border: 1px solid #C9C0B7; }
)";

// Fusion marks the keyboard focus with a faint line in the highlight colour, which
// the warm greys swallow: the focus gets a ring of its own colour, drawn once the
// window has been used from the keyboard (as Fusion does), never on a mouse click.
class FocusRingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) {
            // A grid cell gets the full ring inside it; a label (tab, check box) a thin
            // line around it, clear of its letters.
            const bool cell = option->state & State_Item;
            if (option->state & State_KeyboardFocusChange) ring(painter, option->rect, cell ? 2 : 1, 1);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_PushButton && keyboardFocus(option))
            ring(painter, option->rect.adjusted(1, 1, -1, -1), 2, 3);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ToolButton && keyboardFocus(option)) ring(painter, option->rect, 2, 3);
    }

private:
    static bool keyboardFocus(const QStyleOption* option) {
        const auto wanted = State_HasFocus | State_KeyboardFocusChange;
        return (option->state & wanted) == wanted;
    }
    // A line `width` pixels wide just inside the rectangle.
    static void ring(QPainter* painter, const QRect& rect, int width, qreal radius) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(focusFrameColor(), width));
        painter->setBrush(Qt::NoBrush);
        const qreal in = width / 2.0;
        painter->drawRoundedRect(QRectF(rect).adjusted(in, in, -in, -in), radius, radius);
        painter->restore();
    }
};

} // namespace

QColor focusFrameColor() {
    return QColor(0x3D, 0x74, 0xC4);
}

bool applyVisualStyle(QApplication& app, const QString& name) {
    if (name != QLatin1String("Smokey Quartz Kamri")) return false;
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!fusion) return false;
    auto* style = new FocusRingStyle(fusion);
    style->setObjectName(name);
    app.setStyle(style);
    app.setPalette(smokeyQuartzPalette());
    app.setStyleSheet(QString::fromLatin1(kStyleSheet));
    app.setProperty("visualStyle", name);
    return true;
}

} // namespace dv
