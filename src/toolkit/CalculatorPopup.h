#pragma once
#include <QFrame>
#include <optional>

class QLineEdit;

namespace dv {

// A pocket calculator that drops down under a number box: digits, the decimal comma,
// + - × ÷, =, ± and C; Enter or "OK" hands the result back. Keys work as on the
// buttons. Division by zero shows "Erro" and gives nothing back.
class CalculatorPopup : public QFrame {
    Q_OBJECT
public:
    explicit CalculatorPopup(QWidget* parent = nullptr);

    void popup(QWidget* below, double start);
    // Presses a key as its button does: "0".."9", ",", "+", "-", "*", "/", "=", "C", "±".
    void press(const QString& key);
    // The number on the display; nullopt after an error.
    std::optional<double> value() const;

signals:
    void accepted(double value);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void calculate();
    void accept();

    QLineEdit* m_display;
    double m_accumulator = 0;
    QString m_pending; // the operator waiting for its second number
    bool m_startNew = true;
    bool m_error = false;
};

} // namespace dv
