#include "DBNavigator.h"
#include "FieldLink.h"
#include "FilterDialog.h"
#include "ToolkitLocale.h"
#include "core/Services.h"
#include "core/ToolkitTexts.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QApplication>
#include <QHBoxLayout>
#include <QToolButton>

namespace dv {

namespace {
struct ButtonInfo {
    const char* icon;
    ToolkitText hint;
};
constexpr ButtonInfo infos[DBNavigator::ButtonCount] = {
    {"go-first", ToolkitText::NavFirst},       {"go-previous", ToolkitText::NavPrior},
    {"go-next", ToolkitText::NavNext},         {"go-last", ToolkitText::NavLast},
    {"list-add", ToolkitText::NavInsert},      {"list-remove", ToolkitText::NavDelete},
    {"document-edit", ToolkitText::NavEdit},   {"dialog-ok-apply", ToolkitText::NavPost},
    {"dialog-cancel", ToolkitText::NavCancel}, {"view-refresh", ToolkitText::NavRefresh},
    {"view-filter", ToolkitText::FilterTitle},
};
} // namespace

DBNavigator::DBNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* b = new QToolButton(this);
        b->setIcon(toolkitIcon(QString::fromLatin1(infos[i].icon)));
        b->setIconSize(QSize(16, 16));
        b->setToolTip(toolkitText(infos[i].hint));
        b->setAutoRaise(false);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(26, 24);
        layout->addWidget(b);
        m_buttons[i] = b;
        connect(b, &QToolButton::clicked, this, [this, i] { press(Button(i)); });
    }
    layout->addStretch();
    // Few screens filter from their navigator: they ask for the button.
    m_buttons[Filter]->setVisible(false);
    updateButtons();
}

void DBNavigator::setFilterButtonShown(bool shown) {
    m_buttons[Filter]->setVisible(shown);
}

FilterDialog* DBNavigator::filterDialog() {
    if (!m_filter) m_filter = new FilterDialog(FilterDialog::Kind::Filter, this);
    if (m_filter->dataSource() != m_source) m_filter->setDataSource(m_source);
    return m_filter;
}

void DBNavigator::setDataSource(DataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &DataSource::dataChanged, this, [this](Field* f) {
            if (!f) updateButtons();
        });
        connect(m_source, &DataSource::stateChanged, this, &DBNavigator::updateButtons);
        connect(m_source, &DataSource::datasetReset, this, &DBNavigator::updateButtons);
        connect(m_source, &DataSource::rowRemoved, this, &DBNavigator::updateButtons);
        connect(m_source, &DataSource::rowInserted, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<Button>& buttons) {
    for (int i = 0; i < ButtonCount; ++i)
        m_buttons[i]->setVisible(buttons.contains(Button(i)));
}

QList<DBNavigator::Button> DBNavigator::visibleButtons() const {
    QList<Button> list;
    for (int i = 0; i < ButtonCount; ++i)
        if (!m_buttons[i]->isHidden()) list << Button(i);
    return list;
}

void DBNavigator::updateButtons() {
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    const bool active = ds && ds->isActive();
    const bool editing = active && ds->isEditing();
    const bool canModify = active && !ds->isReadOnly();
    const int row = active ? ds->currentRow() : -1;
    const int count = active ? ds->recordCount() : 0;
    m_buttons[First]->setEnabled(active && row > 0);
    m_buttons[Prior]->setEnabled(active && row > 0);
    m_buttons[Next]->setEnabled(active && row >= 0 && row < count - 1);
    m_buttons[Last]->setEnabled(active && row >= 0 && row < count - 1);
    m_buttons[Insert]->setEnabled(canModify && !editing);
    m_buttons[Delete]->setEnabled(canModify && count > 0);
    m_buttons[Edit]->setEnabled(canModify && !editing && count > 0);
    m_buttons[Post]->setEnabled(editing);
    m_buttons[Cancel]->setEnabled(editing);
    m_buttons[Refresh]->setEnabled(active && !editing);
    m_buttons[Filter]->setEnabled(active && !editing);
}

void DBNavigator::writePendingText() {
    // The window's focus box, even while another window is active.
    for (QWidget* w = window()->focusWidget(); w; w = w->parentWidget()) {
        auto* control = dynamic_cast<DataControl*>(w);
        if (control && control->dataSource() == m_source) {
            control->updateRecord();
            return;
        }
    }
}

void DBNavigator::press(Button b) {
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    if (!ds || !ds->isActive()) return;
    switch (b) {
    case First:
        ds->first();
        break;
    case Prior:
        ds->prior();
        break;
    case Next:
        ds->next();
        break;
    case Last:
        ds->last();
        break;
    case Insert:
        ds->append();
        break;
    case Delete:
        if (ds->isEmpty()) return;
        if (m_confirmDelete &&
            !services().dialogs().confirmation(toolkitText(ToolkitText::DeleteRecordQuestion)))
            return;
        if (ds->state() == DatasetState::Insert)
            ds->cancel();
        else
            ds->deleteRecord();
        break;
    case Edit:
        ds->edit();
        break;
    case Post:
        writePendingText();
        ds->post();
        break;
    case Cancel:
        ds->cancel();
        break;
    case Refresh:
        ds->refresh();
        break;
    case Filter:
        if (ds->isEditing()) return;
        if (!filterDialog()->execute()) return;
        break;
    case ButtonCount:
        return;
    }
    updateButtons();
    emit buttonClicked(b);
}

void DBNavigator::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) updateButtons();
}

} // namespace dv
