#pragma once
#include <QTimer>
#include <QWidget>

namespace dv {

// A rotating-sector activity wheel.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

} // namespace dv
