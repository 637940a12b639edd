#include "CalculatorPopup.h"
#include "core/db/BrFormat.h"
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace dv {

CalculatorPopup::CalculatorPopup(QWidget* parent)
    : QFrame(parent, Qt::Popup), m_display(new QLineEdit(this)) {
    setFrameShape(QFrame::StyledPanel);
    m_display->setReadOnly(true);
    m_display->setAlignment(Qt::AlignRight);
    m_display->setFocusPolicy(Qt::NoFocus);
    QFont big = m_display->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    m_display->setFont(big);
    m_display->setText(QStringLiteral("0"));

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(3);
    grid->addWidget(m_display, 0, 0, 1, 4);
    const char* keys[5][4] = {{"C", "±", "÷", "×"},
                              {"7", "8", "9", "-"},
                              {"4", "5", "6", "+"},
                              {"1", "2", "3", "="},
                              {"0", "", ",", "OK"}};
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            const QString key = QString::fromUtf8(keys[r][c]);
            if (key.isEmpty()) continue;
            auto* b = new QPushButton(key, this);
            b->setAutoDefault(false);
            b->setFocusPolicy(Qt::NoFocus);
            b->setFixedSize(key == QLatin1String("0") ? 95 : 46, 30);
            if (!key[0].isDigit() && key != QLatin1String(",")) {
                QFont f = b->font();
                f.setBold(true);
                b->setFont(f);
            }
            const int span = key == QLatin1String("0") ? 2 : 1;
            grid->addWidget(b, r + 1, c, 1, span);
            connect(b, &QPushButton::clicked, this, [this, key] {
                if (key == QLatin1String("OK"))
                    accept();
                else if (key == QStringLiteral("÷"))
                    press(QStringLiteral("/"));
                else if (key == QStringLiteral("×"))
                    press(QStringLiteral("*"));
                else
                    press(key);
            });
        }
    }
}

void CalculatorPopup::popup(QWidget* below, double start) {
    m_accumulator = 0;
    m_pending.clear();
    m_error = false;
    m_startNew = true;
    m_display->setText(br::formatFloat(start));
    adjustSize();
    QPoint pos = below->mapToGlobal(QPoint(below->width() - width(), below->height()));
    if (QScreen* screen = below->screen()) {
        const QRect area = screen->availableGeometry();
        if (pos.y() + height() > area.bottom()) pos.setY(below->mapToGlobal(QPoint(0, 0)).y() - height());
        pos.setX(qMax(area.left(), pos.x()));
    }
    move(pos);
    show();
    setFocus();
}

std::optional<double> CalculatorPopup::value() const {
    if (m_error) return std::nullopt;
    return br::parseNumber(m_display->text());
}

void CalculatorPopup::calculate() {
    const double operand = value().value_or(0);
    if (m_pending == QLatin1String("+"))
        m_accumulator += operand;
    else if (m_pending == QLatin1String("-"))
        m_accumulator -= operand;
    else if (m_pending == QLatin1String("*"))
        m_accumulator *= operand;
    else if (m_pending == QLatin1String("/")) {
        if (operand == 0) {
            m_error = true;
            m_display->setText(QStringLiteral("Erro"));
            m_pending.clear();
            return;
        }
        m_accumulator /= operand;
    } else
        m_accumulator = operand;
    m_pending.clear();
    m_display->setText(br::formatFloat(m_accumulator));
}

void CalculatorPopup::press(const QString& key) {
    if (key == QLatin1String("C")) {
        m_accumulator = 0;
        m_pending.clear();
        m_error = false;
        m_startNew = true;
        m_display->setText(QStringLiteral("0"));
        return;
    }
    if (m_error) return;
    if (key.size() == 1 && key[0].isDigit()) {
        if (m_startNew || m_display->text() == QLatin1String("0"))
            m_display->setText(key);
        else
            m_display->setText(m_display->text() + key);
        m_startNew = false;
    } else if (key == QLatin1String(",")) {
        if (m_startNew) {
            m_display->setText(QStringLiteral("0,"));
            m_startNew = false;
        } else if (!m_display->text().contains(QLatin1Char(','))) {
            m_display->setText(m_display->text() + QLatin1Char(','));
        }
    } else if (key == QStringLiteral("±")) {
        QString t = m_display->text();
        m_display->setText(
            t.startsWith(QLatin1Char('-')) ? t.mid(1) : (t == QLatin1String("0") ? t : QLatin1Char('-') + t));
    } else if (key == QLatin1String("=")) {
        calculate();
        m_startNew = true;
    } else if (key == QLatin1String("+") || key == QLatin1String("-") || key == QLatin1String("*") ||
               key == QLatin1String("/")) {
        if (!m_startNew || m_pending.isEmpty()) calculate();
        if (m_error) return;
        m_pending = key;
        m_startNew = true;
    }
}

void CalculatorPopup::accept() {
    if (!m_pending.isEmpty()) calculate();
    const std::optional<double> v = value();
    hide();
    if (v) emit accepted(*v);
}

void CalculatorPopup::keyPressEvent(QKeyEvent* event) {
    const QString t = event->text();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Escape:
        hide();
        return;
    case Qt::Key_Backspace: {
        if (m_startNew || m_error) return;
        QString d = m_display->text();
        d.chop(1);
        m_display->setText(d.isEmpty() || d == QLatin1String("-") ? QStringLiteral("0") : d);
        return;
    }
    case Qt::Key_Delete:
        press(QStringLiteral("C"));
        return;
    default:
        break;
    }
    if (t == QLatin1String(".")) {
        press(QStringLiteral(","));
        return;
    }
    if (t.size() == 1 && QStringLiteral("0123456789,+-*/=cC").contains(t)) {
        press(t == QLatin1String("c") ? QStringLiteral("C") : t);
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace dv
