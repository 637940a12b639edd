#include "CollapsiblePanel.h"
#include <QToolButton>
#include <QVBoxLayout>

namespace dv {

CollapsiblePanel::CollapsiblePanel(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    m_title = new QToolButton(this);
    m_title->setText(title);
    m_title->setCheckable(true);
    m_title->setChecked(true);
    m_title->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_title->setArrowType(Qt::DownArrow);
    m_title->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_content = new QWidget(this);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(6, 6, 6, 6);
    box->addWidget(m_title);
    box->addWidget(m_content);
    connect(m_title, &QToolButton::toggled, this, &CollapsiblePanel::setExpanded);
}

bool CollapsiblePanel::isExpanded() const {
    return m_title->isChecked();
}

void CollapsiblePanel::setExpanded(bool expanded) {
    m_title->setChecked(expanded);
    m_title->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_content->setVisible(expanded);
}

} // namespace dv
