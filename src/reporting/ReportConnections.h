#pragma once
#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

namespace dv {

class Dataset;
class DataSource;

// The named data connections that reports read ("RV_Paciente", "RvEmpresa", ...).
// The screen that owns a dataset registers it under its connection name when it is
// created, with itself as owner; the registration ends when the owner is destroyed
// (or on remove). A report reads a connection's rows as the dataset holds them when
// printing starts: its filter, order and current row, without moving it.
//
//   dv::reportConnections().add(QStringLiteral("RV_Paciente"), SQL_Consulta, this);
//   dv::reportConnections().add(QStringLiteral("Rv_Aniversario"), SQL_Aniversario, this);
//
// Names compare without regard to case; registering a name again replaces it.
class ReportConnections {
public:
    void add(const QString& name, Dataset* dataset, QObject* owner = nullptr);
    // Follows the data source to whatever dataset it shows when the report runs.
    void add(const QString& name, DataSource* source, QObject* owner = nullptr);
    void remove(const QString& name);
    // Removes what this owner registered (screens call it from their destructor too,
    // when they want the names gone before their children are).
    void removeOwnedBy(const QObject* owner);
    void clear();

    // The dataset behind a name; null when nothing is registered under it, or its
    // owner or dataset is gone.
    Dataset* dataset(const QString& name) const;
    bool contains(const QString& name) const { return dataset(name) != nullptr; }
    // Names of the live registrations, as registered.
    QStringList names() const;

    // A picture a screen draws when the report runs (a chart of the record on show),
    // for the picture item "<page>.<item>" ("Relat_Odontograma.Page1.Bitmap1"). It
    // takes the place of the item's file link; the source returns the picture's
    // encoded bytes. Ends with its owner, like a connection.
    using PictureSource = std::function<QByteArray()>;
    void addPicture(const QString& name, PictureSource source, QObject* owner);
    // The registered picture's bytes; empty when none is registered or its owner is gone.
    QByteArray picture(const QString& name) const;

private:
    struct Entry {
        QString name;
        QPointer<Dataset> dataset;
        QPointer<DataSource> source;
        QPointer<QObject> owner;
        bool owned = false;
    };
    bool isLive(const Entry& e) const;
    QHash<QString, Entry> m_entries; // by lower-case name
    struct PictureEntry {
        PictureSource source;
        QPointer<QObject> owner;
    };
    QHash<QString, PictureEntry> m_pictures; // by lower-case name
};

ReportConnections& reportConnections();

// The data module's connections: RvDentista over SQL_Dentista and RvEmpresa over
// SQL_Empresa, owned by the data module. Running a report calls it, so that they are
// there whenever the data module is; a name a screen registered is left alone.
void registerDataModuleConnections();

} // namespace dv
