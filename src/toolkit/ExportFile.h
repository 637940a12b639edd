#pragma once
#include "GridModel.h"
#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QString>

namespace dv {

class Dataset;
class Field;

// A file being exported: written in blocks to a temporary file that replaces the
// target only when everything was written, so a failed export leaves no half file.
// Failures are dv::PlainError with a Portuguese message naming the file and giving
// the system's reason.
class ExportFile {
public:
    explicit ExportFile(const QString& path);
    ~ExportFile();

    void write(const QByteArray& bytes);
    void write(const QString& text) { write(text.toUtf8()); }
    // Everything written: the file takes its place.
    void commit();

    // The message of a file that cannot be written, with the system's reason
    // ("Permission denied", "No such file or directory", ...).
    static QString failureMessage(const QString& path, const QString& reason);

private:
    void flush();

    QString m_path;
    QSaveFile m_file;
    QByteArray m_buffer;
};

// A column to export: its field and the title over it.
struct ExportColumn {
    Field* field;
    QString title;
};

// The columns' fields in the dataset (titles empty: the field's label); columns whose
// field the dataset lacks are left out.
QList<ExportColumn> exportColumns(const Dataset& dataset, const QList<GridColumn>& columns);

// The header of the record number column.
QString recordNumberTitle();

} // namespace dv
