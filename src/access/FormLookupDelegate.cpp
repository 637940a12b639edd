#include "FormLookupDelegate.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"
#include "toolkit/DBLookupCombo.h"
#include "toolkit/GridModel.h"
#include "toolkit/LookupTitles.h"

namespace dv {

FormLookupDelegate::FormLookupDelegate(DataSource* gridSource, const QString& fieldName,
                                       DataSource* lookupSource, const QString& keyField,
                                       const QStringList& displayFields, const QStringList& titles,
                                       const QList<int>& widths, QObject* parent)
    : GridDelegate(parent), m_gridSource(gridSource), m_field(fieldName), m_lookup(lookupSource),
      m_key(keyField), m_display(displayFields), m_titles(titles), m_widths(widths) {
    // The drop-down's titles follow the screen's language file, as a lookup box's do.
    LookupTitles::declare(this, fieldName, titles,
                          [this](const QStringList& translated) { m_titles = translated; });
}

bool FormLookupDelegate::isLookupColumn(const QModelIndex& index) const {
    const auto* model = qobject_cast<const GridModel*>(index.model());
    const Field* f = model ? model->fieldAt(index.column()) : nullptr;
    return f && f->fieldName().compare(m_field, Qt::CaseInsensitive) == 0;
}

QWidget* FormLookupDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    if (!isLookupColumn(index)) return GridDelegate::createEditor(parent, option, index);
    // The grid stands on the edited row: the box writes the chosen key into it.
    auto* box = new DBLookupCombo(parent);
    box->setObjectName(m_field + QStringLiteral("_lookup"));
    box->bind(m_gridSource, m_field);
    box->setLookup(m_lookup, m_key, m_display, m_titles);
    box->setDisplayWidths(m_widths);
    return box;
}

void FormLookupDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<DBLookupCombo*>(editor)) {
        box->reload();
        box->lineEdit()->selectAll();
        return;
    }
    GridDelegate::setEditorData(editor, index);
}

void FormLookupDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                      const QModelIndex& index) const {
    if (auto* box = qobject_cast<DBLookupCombo*>(editor)) {
        box->updateRecord();
        return;
    }
    GridDelegate::setModelData(editor, model, index);
}

} // namespace dv
