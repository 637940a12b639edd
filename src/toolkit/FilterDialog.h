#pragma once
#include "core/db/Criteria.h"
#include <QDialog>
#include <QPointer>

class QTableWidget;
class QRadioButton;
class QPushButton;
class QLabel;

namespace dv {

class DataSource;
class Field;

// The filter dialog (`wwFilterDialog1`) and, as Kind::Locate, the locate dialog
// (`wwFilterDialog2`): a criterion per field, written as the dataset reads them
// (any part of the value by default; "or", "and", "null"; "%" for any run of
// characters). OK hands them to the dataset, which shows only the rows that pass;
// the two dialogs keep separate sets ("filter" and "locate") and a row must pass
// both. The filter offers the query's visible fields; locate every column the query
// reads. Texts come from the toolkit's texts of the current language.
//
//   wwFilterDialog1 = new dv::FilterDialog(dv::FilterDialog::Kind::Filter, this);
//   wwFilterDialog1->setDataSource(dsConsulta);
//   wwFilterDialog1->setWindowTitle(btnFiltrar->toolTip());
//   if (wwFilterDialog2->hasCriteria()) wwFilterDialog2->clearCriteria();
//   wwFilterDialog1->execute();
class FilterDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Filter, Locate };

    explicit FilterDialog(Kind kind = Kind::Filter, QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    // The name of this dialog's set of criteria in the dataset.
    QString owner() const;
    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source);

    // Shows the dialog modally with the criteria in force; OK applies what was typed.
    // True when OK was pressed.
    bool execute();

    // The criteria in force in the dataset for this dialog.
    Criteria criteria() const;
    bool hasCriteria() const { return !criteria().isEmpty(); }
    // Puts criteria in force without the dialog (an empty set removes them).
    void applyCriteria(const Criteria& criteria);
    // Removes this dialog's criteria from the dataset: every row passes again.
    void clearCriteria() { applyCriteria(Criteria()); }

    // ---- the dialog's own table, for whoever drives it ----
    QList<Field*> offeredFields() const;
    // The criterion typed for a field (not yet applied).
    QString typedCriterion(const QString& fieldName) const;
    void setTypedCriterion(const QString& fieldName, const QString& text);
    Criteria typedCriteria() const;
    QTableWidget* table() const { return m_table; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* clearButton() const { return m_clear; }
    QPushButton* clearAllButton() const { return m_clearAll; }

    // OK: the typed criteria go into force.
    void accept() override;

private:
    void fill(const Criteria& criteria);
    void markRow(int row);
    void reorder();

    Kind m_kind;
    QPointer<DataSource> m_source;
    QTableWidget* m_table;
    QRadioButton* m_orderQuery;
    QRadioButton* m_orderAlpha;
    QLabel* m_help;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_clear;
    QPushButton* m_clearAll;
};

} // namespace dv
