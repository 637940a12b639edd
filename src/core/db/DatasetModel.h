#pragma once
#include <QAbstractTableModel>
#include <QCache>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <functional>

namespace dv {

class DataSource;
class Dataset;
class Field;

// The table model every grid shows: one column per visible field of the data source's
// dataset, in field order, headed by the display label. DisplayRole is the field's
// display text, EditRole its value; flag fields ("S"/"N") can be shown as check boxes
// and picture blobs as pictures, per column. It follows the data source: a reset on
// open, close, sort and filter, row inserts and removals on append, cancel and delete,
// changed rows on edits and posts.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(DataSource* source, QObject* parent = nullptr);

    DataSource* dataSource() const { return m_source; }
    Dataset* dataset() const;
    Field* fieldAt(int column) const { return m_columns.value(column); }
    int columnOf(const Field* field) const;

    // A flag field's column shows (and sets) "S"/"N" as a check box.
    void setCheckColumn(const Field* field, bool on = true);
    // A blob field's column shows its bytes as a picture (DecorationRole): the decoder,
    // given by the widget layer, turns bytes into a QImage or QPixmap of at most the size.
    // An empty decoder turns the picture off.
    using PictureDecoder = std::function<QVariant(const QByteArray& bytes, QSize size)>;
    void setPictureColumn(const Field* field, PictureDecoder decoder, QSize size = QSize(48, 48));

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Moves the dataset to the row, puts it into Edit and writes the field (not posted).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void rebuild();
    void onReset();
    void onRowInserted(int row);
    void onRowAboutToBeRemoved(int row);
    void onRowRemoved(int row);
    void onRowChanged(int row);
    void onFieldChanged(Field* field);

    QPointer<DataSource> m_source;
    QList<Field*> m_columns;
    int m_rows = 0; // what the views were told; the dataset may be ahead while controls are disabled
    bool m_removing = false;
    QSet<QString> m_checkFields;
    QHash<QString, PictureDecoder> m_pictureFields;
    // Per column: whether it is a check or a picture column; asked for every painted cell.
    enum : quint8 { CheckColumn = 1, PictureColumn = 2 };
    QList<quint8> m_columnKinds;
    void refreshColumnKinds();
    QSize m_pictureSize{48, 48};
    mutable QCache<QString, QVariant> m_pictures{64}; // by row identity and field
};

} // namespace dv
