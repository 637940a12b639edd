#pragma once
#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace dv {

// A titled panel of a side bar whose content folds away under its title, as the
// consultation record's "Paciente" and "Financeiro" panels do. The content is laid
// out in contentLayout().
class CollapsiblePanel : public QWidget {
    Q_OBJECT
public:
    explicit CollapsiblePanel(const QString& title, QWidget* parent = nullptr);

    QVBoxLayout* contentLayout() const { return m_layout; }
    QToolButton* titleButton() const { return m_title; }
    bool isExpanded() const;
    void setExpanded(bool expanded);

private:
    QToolButton* m_title;
    QWidget* m_content;
    QVBoxLayout* m_layout;
};

} // namespace dv
