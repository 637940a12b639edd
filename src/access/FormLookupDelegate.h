#pragma once
#include "toolkit/GridDelegate.h"
#include <QList>
#include <QStringList>

namespace dv {

class DataSource;

// A grid's cells as the toolkit edits them, except one text column that is chosen
// from a lookup list of several columns (and cleared from the keyboard): the menu
// grid's form_nome, picked among the registered screens.
class FormLookupDelegate : public GridDelegate {
    Q_OBJECT
public:
    FormLookupDelegate(DataSource* gridSource, const QString& fieldName, DataSource* lookupSource,
                       const QString& keyField, const QStringList& displayFields, const QStringList& titles,
                       const QList<int>& widths, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

private:
    bool isLookupColumn(const QModelIndex& index) const;

    DataSource* m_gridSource;
    QString m_field;
    DataSource* m_lookup;
    QString m_key;
    QStringList m_display;
    QStringList m_titles;
    QList<int> m_widths;
};

} // namespace dv
