#include "FilterDialog.h"
#include "core/ToolkitTexts.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace dv {

namespace {
constexpr int fieldNameRole = Qt::UserRole + 1;
constexpr int queryOrderRole = Qt::UserRole + 2;
} // namespace

FilterDialog::FilterDialog(Kind kind, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_table(new QTableWidget(this)),
      m_orderQuery(new QRadioButton(toolkitText(ToolkitText::FilterOrderDataset), this)),
      m_orderAlpha(new QRadioButton(toolkitText(ToolkitText::FilterOrderAlphabetic), this)),
      m_help(new QLabel(toolkitText(ToolkitText::FilterCriteriaHelp), this)),
      m_ok(new QPushButton(toolkitText(ToolkitText::ButtonOk), this)),
      m_cancel(new QPushButton(toolkitText(ToolkitText::ButtonCancel), this)),
      m_clear(new QPushButton(toolkitText(ToolkitText::FilterClear), this)),
      m_clearAll(new QPushButton(toolkitText(ToolkitText::FilterClearAll), this)) {
    setWindowTitle(toolkitText(kind == Kind::Filter ? ToolkitText::FilterTitle : ToolkitText::LocateTitle));
    setModal(true);
    setSizeGripEnabled(true);

    m_table->setColumnCount(2);
    m_table->setHorizontalHeaderLabels(
        {toolkitText(kind == Kind::Filter ? ToolkitText::FilterFields : ToolkitText::LocateField),
         toolkitText(kind == Kind::Filter ? ToolkitText::FilterValue : ToolkitText::LocateValue)});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setMinimumSize(440, 320);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    connect(m_table, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem* item) { markRow(item->row()); });

    m_help->setWordWrap(true);
    QPalette hp = m_help->palette();
    hp.setColor(QPalette::WindowText, hp.color(QPalette::Disabled, QPalette::WindowText).darker(130));
    m_help->setPalette(hp);

    auto* order = new QGroupBox(toolkitText(ToolkitText::FilterFieldOrder), this);
    auto* orderLayout = new QHBoxLayout(order);
    orderLayout->addWidget(m_orderQuery);
    orderLayout->addWidget(m_orderAlpha);
    orderLayout->addStretch();
    m_orderQuery->setChecked(true);
    connect(m_orderAlpha, &QRadioButton::toggled, this, [this] { reorder(); });

    auto* side = new QVBoxLayout;
    side->addWidget(m_clear);
    side->addWidget(m_clearAll);
    side->addStretch();
    connect(m_clear, &QPushButton::clicked, this, [this] {
        const int row = m_table->currentRow();
        if (row >= 0) m_table->item(row, 1)->setText(QString());
    });
    connect(m_clearAll, &QPushButton::clicked, this, [this] {
        for (int r = 0; r < m_table->rowCount(); ++r)
            m_table->item(r, 1)->setText(QString());
    });

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_table, 1);
    middle->addLayout(side);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &FilterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FilterDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(middle, 1);
    layout->addWidget(order);
    layout->addWidget(m_help);
    layout->addWidget(buttons);
}

QString FilterDialog::owner() const {
    return m_kind == Kind::Filter ? QStringLiteral("filter") : QStringLiteral("locate");
}

void FilterDialog::setDataSource(DataSource* source) {
    m_source = source;
}

QList<Field*> FilterDialog::offeredFields() const {
    QList<Field*> list;
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    if (!ds) return list;
    for (Field* f : ds->fields()) {
        if (f->dataType() == FieldType::Blob) continue; // pictures hold no text
        if (m_kind == Kind::Filter ? f->isVisible() : f->isData()) list << f;
    }
    return list;
}

Criteria FilterDialog::criteria() const {
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    return ds ? ds->criteria(owner()) : Criteria();
}

void FilterDialog::applyCriteria(const Criteria& criteria) {
    Dataset* ds = m_source ? m_source->dataset() : nullptr;
    if (!ds) return;
    if (criteria.isEmpty())
        ds->clearCriteria(owner());
    else
        ds->setCriteria(criteria, owner());
}

void FilterDialog::fill(const Criteria& criteria) {
    m_table->blockSignals(true);
    m_table->setRowCount(0);
    const QList<Field*> fields = offeredFields();
    m_table->setRowCount(int(fields.size()));
    for (int r = 0; r < fields.size(); ++r) {
        Field* f = fields[r];
        const QString label = m_kind == Kind::Locate && !f->isDeclared() ? f->fieldName() : f->displayLabel();
        auto* name = new QTableWidgetItem(label);
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        name->setData(fieldNameRole, f->fieldName());
        name->setData(queryOrderRole, r);
        name->setToolTip(f->fieldName());
        auto* value = new QTableWidgetItem(criteria.textOf(f->fieldName()));
        m_table->setItem(r, 0, name);
        m_table->setItem(r, 1, value);
        markRow(r);
    }
    m_table->resizeColumnToContents(0);
    m_table->setColumnWidth(0, qMax(m_table->columnWidth(0) + 16, 160));
    m_table->blockSignals(false);
    reorder();
}

void FilterDialog::markRow(int row) {
    QTableWidgetItem* name = m_table->item(row, 0);
    QTableWidgetItem* value = m_table->item(row, 1);
    if (!name || !value) return;
    QFont f = m_table->font();
    f.setBold(!value->text().trimmed().isEmpty());
    const bool blocked = m_table->blockSignals(true);
    name->setFont(f);
    m_table->blockSignals(blocked);
}

void FilterDialog::reorder() {
    if (m_orderAlpha->isChecked())
        m_table->sortItems(0, Qt::AscendingOrder);
    else {
        // Back to the query's order.
        QList<QPair<int, QPair<QTableWidgetItem*, QTableWidgetItem*>>> rows;
        const bool blocked = m_table->blockSignals(true);
        for (int r = 0; r < m_table->rowCount(); ++r)
            rows.append({m_table->item(r, 0)->data(queryOrderRole).toInt(),
                         {m_table->takeItem(r, 0), m_table->takeItem(r, 1)}});
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (int r = 0; r < rows.size(); ++r) {
            m_table->setItem(r, 0, rows[r].second.first);
            m_table->setItem(r, 1, rows[r].second.second);
        }
        m_table->blockSignals(blocked);
    }
}

QString FilterDialog::typedCriterion(const QString& fieldName) const {
    for (int r = 0; r < m_table->rowCount(); ++r)
        if (m_table->item(r, 0)->data(fieldNameRole).toString().compare(fieldName, Qt::CaseInsensitive) == 0)
            return m_table->item(r, 1)->text();
    return QString();
}

void FilterDialog::setTypedCriterion(const QString& fieldName, const QString& text) {
    if (m_table->rowCount() == 0) fill(criteria());
    for (int r = 0; r < m_table->rowCount(); ++r)
        if (m_table->item(r, 0)->data(fieldNameRole).toString().compare(fieldName, Qt::CaseInsensitive) == 0)
            m_table->item(r, 1)->setText(text);
}

Criteria FilterDialog::typedCriteria() const {
    Criteria c;
    QList<QPair<int, Criterion>> ordered;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const QString text = m_table->item(r, 1)->text();
        if (text.trimmed().isEmpty()) continue;
        ordered.append({m_table->item(r, 0)->data(queryOrderRole).toInt(),
                        {m_table->item(r, 0)->data(fieldNameRole).toString(), text.trimmed()}});
    }
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& o : ordered)
        c.append(o.second);
    return c;
}

bool FilterDialog::execute() {
    fill(criteria());
    if (m_table->rowCount() > 0) {
        m_table->setCurrentCell(0, 1);
        m_table->setFocus();
    }
    return exec() == QDialog::Accepted;
}

void FilterDialog::accept() {
    // An editor still open writes its text first (leaving it commits).
    if (QWidget* focus = focusWidget(); focus && m_table->isAncestorOf(focus) && focus != m_table)
        m_table->setFocus();
    applyCriteria(typedCriteria());
    QDialog::accept();
}

} // namespace dv
