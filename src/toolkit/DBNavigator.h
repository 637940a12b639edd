#pragma once
#include <QPointer>
#include <QWidget>

class QToolButton;

namespace dv {

class DataSource;
class FilterDialog;

// A record navigator bar: first, prior, next, last, insert, delete, edit, post,
// cancel and refresh, each with its hint in the current language, and a Filter
// button, hidden unless asked for, that opens the filter dialog over the navigator's
// data source (the rows shown are those that pass). Buttons follow
// the dataset: moving ones by position, editing ones by state. Post first writes
// what is typed in the focused box of the same data source; delete asks "Excluir o
// registro?" unless told not to. setEnabled(false) turns the whole bar off (as the
// screen bases do for permissions).
class DBNavigator : public QWidget {
    Q_OBJECT
public:
    enum Button {
        First,
        Prior,
        Next,
        Last,
        Insert,
        Delete,
        Edit,
        Post,
        Cancel,
        Refresh,
        Filter,
        ButtonCount
    };
    Q_ENUM(Button)

    explicit DBNavigator(QWidget* parent = nullptr);

    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source);

    // Which buttons are shown (all but Filter by default).
    //
    //   nav->setVisibleButtons({dv::DBNavigator::First, dv::DBNavigator::Prior, dv::DBNavigator::Next,
    //                           dv::DBNavigator::Last, dv::DBNavigator::Filter});
    void setVisibleButtons(const QList<Button>& buttons);
    // Shows or hides the Filter button alone.
    void setFilterButtonShown(bool shown);
    // The dialog the Filter button opens (made on first use).
    FilterDialog* filterDialog();
    QList<Button> visibleButtons() const;
    QToolButton* button(Button b) const { return m_buttons[b]; }

    bool confirmDelete() const { return m_confirmDelete; }
    void setConfirmDelete(bool on) { m_confirmDelete = on; }

    // Does what the button does (enabled or not: callers check).
    void press(Button b);

signals:
    // After a button's action.
    void buttonClicked(dv::DBNavigator::Button button);

protected:
    void changeEvent(QEvent* event) override;

private:
    void updateButtons();
    void writePendingText();

    QPointer<DataSource> m_source;
    QToolButton* m_buttons[ButtonCount];
    QPointer<FilterDialog> m_filter;
    bool m_confirmDelete = true;
};

} // namespace dv
