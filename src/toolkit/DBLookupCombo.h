#pragma once
#include "DBEdit.h"
#include "FieldLink.h"
#include "GridModel.h"
#include <QPointer>
#include <QWidget>

class QAction;
class QLineEdit;

namespace dv {

class LookupPopup;

// A lookup box: shows, for the key stored in its field, the first display field of
// the lookup dataset's row with that key, and offers the lookup rows in a drop-down
// grid of several columns. Typing drops the grid down and moves it to the first row
// beginning with the text; Enter or a click chooses the row (its key is written to
// the field), Escape closes the grid and restores the text. Delete or Backspace with
// the whole text selected (as it is when the box is entered) or with an empty box
// clears the value: the field becomes empty. Tab (or Shift+Tab) in the drop-down takes
// the row the typing found, like leaving the box, and goes on to the next box.
//
// Unbound (no data source), it chooses the lookup dataset's current row, as the
// agenda's dentist box does; setText() chooses the row whose display text it is.
// Choosing always moves the lookup dataset to the chosen row.
//
//   auto* uf = new dv::DBLookupCombo(page);
//   uf->setObjectName("DBLookupComboBox1");
//   uf->bind(dsUpdate, "paciente_uf");
//   uf->setLookup(dm.dsUF, "uf_id", {"uf_id", "uf_nome"}, {"UF", "Nome"});
class DBLookupCombo : public QWidget, public DataControl {
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit DBLookupCombo(QWidget* parent = nullptr);

    void setDataField(const QString& name) { link().setFieldName(name); }

    // The lookup rows: their key field, the fields shown (the first one in the box)
    // and, optionally, the drop-down's column titles (else the fields' labels).
    void setLookup(DataSource* lookupSource, const QString& keyField, const QStringList& displayFields,
                   const QStringList& titles = {});
    DataSource* lookupSource() const { return m_lookup; }
    const QString& lookupKeyField() const { return m_keyField; }
    const QStringList& displayFields() const { return m_displayFields; }
    // The drop-down's column titles as shown (a field's label where none was given);
    // the language files replace them as the box's ".Items".
    QStringList columnTitles() const;
    void setColumnTitles(const QStringList& titles) { m_titles = titles; }
    // Widths of the drop-down's columns, in characters.
    void setDisplayWidths(const QList<int>& chars);

    QString text() const;
    // Chooses the row whose first display field is the text (without regard to case);
    // a text no row has is only shown.
    void setText(const QString& text);
    // The key chosen: the field's value when bound, else the lookup's current row's.
    QVariant keyValue() const;
    // Chooses the lookup row with this key (an invalid key clears).
    void setKeyValue(const QVariant& key);
    void clearValue();

    CharCase charCase() const { return m_charCase; }
    void setCharCase(CharCase c) { m_charCase = c; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

    QLineEdit* lineEdit() const { return m_edit; }
    LookupPopup* popupWindow() const { return m_popup; }
    bool isPopupVisible() const;
    void showPopup();
    void hidePopup();

    QString typedText() const override;
    void updateRecord() override;

signals:
    // The user chose a row or cleared the value.
    void changed();
    // Escape with nothing being typed, for a screen that closes on it.
    void escapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void load();
    void updateState();
    void typed(const QString& text);
    void choose(); // the lookup's current row
    void cancelPopup();
    void tabbedOut();
    QString displayOf(const QVariant& key) const;
    bool blocked() const;
    bool bound() const { return dataSource() && !dataField().isEmpty(); }
    QList<GridColumn> popupColumns() const;

    QLineEdit* m_edit;
    QAction* m_button;
    LookupPopup* m_popup = nullptr;
    QPointer<DataSource> m_lookup;
    QString m_keyField;
    QStringList m_displayFields;
    QStringList m_titles;
    QList<int> m_widths;
    QVariant m_unboundKey;
    CharCase m_charCase = CharCase::Normal;
    bool m_readOnly = false;
    bool m_typed = false;
};

} // namespace dv
