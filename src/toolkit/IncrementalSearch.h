#pragma once
#include <QLineEdit>
#include <QPointer>

namespace dv {

class DataSource;

// The search box over a list (`edpesq`): as the user types, the dataset moves to the
// first row whose search field begins with the text (case and accents aside). An
// unknown or empty search field searches nothing. Escape is given to escapePressed()
// when something listens; Enter is QLineEdit's returnPressed().
class IncrementalSearch : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString searchField READ searchField WRITE setSearchField)
public:
    explicit IncrementalSearch(QWidget* parent = nullptr);

    DataSource* dataSource() const { return m_source; }
    void setDataSource(DataSource* source) { m_source = source; }
    const QString& searchField() const { return m_field; }
    void setSearchField(const QString& fieldName) { m_field = fieldName; }

    // Searches for the box's text now; false when no row begins with it.
    bool search();

signals:
    void escapePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<DataSource> m_source;
    QString m_field;
};

} // namespace dv
