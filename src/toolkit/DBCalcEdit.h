#pragma once
#include "DBEdit.h"

class QAction;

namespace dv {

class CalculatorPopup;

// A number box with a calculator dropping down from its button (or F4 / Alt+Down);
// the calculator's result is written to the field as if typed and the box is left
// ready for more. Otherwise an ordinary DBEdit, aligned right.
class DBCalcEdit : public DBEdit {
    Q_OBJECT
public:
    explicit DBCalcEdit(QWidget* parent = nullptr);

    void showCalculator();
    CalculatorPopup* calculator() const { return m_popup; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void accepted(double value);

    QAction* m_button;
    CalculatorPopup* m_popup = nullptr;
};

} // namespace dv
