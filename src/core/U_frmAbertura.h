#pragma once
#include <QLabel>
#include <QWidget>

namespace dv {
class BusyIndicator;
}

// The splash shown while the data module is created; start-up and the data
// module's progress routine write into lbIniciando.
class TfrmAbertura : public QWidget {
    Q_OBJECT
public:
    explicit TfrmAbertura(QWidget* parent = nullptr);
    QLabel* lbIniciando;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    dv::BusyIndicator* m_busy;
};
