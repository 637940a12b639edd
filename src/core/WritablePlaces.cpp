#include "WritablePlaces.h"
#include "Session.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace dv {

bool canWriteIn(const QString& folder) {
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".dv_export_XXXXXX")));
    return probe.open();
}

QString writableDocuments() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QDir().mkpath(documents) || !canWriteIn(documents)) return QString();
    return QDir(documents).absolutePath() + QLatin1Char('/');
}

QString fixedFilePath(const QString& fileName) {
    const QString path = session().filePath(fileName);
    if (!canWriteIn(QFileInfo(path).absolutePath()))
        if (const QString documents = writableDocuments(); !documents.isEmpty())
            return documents + QFileInfo(path).fileName();
    return path;
}

QString writableFolderOr(const QString& folder) {
    if (!folder.isEmpty() && (canWriteIn(folder) || (!QFileInfo::exists(folder) && QDir().mkpath(folder))))
        return folder;
    const QString documents = writableDocuments();
    return documents.isEmpty() ? folder : documents;
}

} // namespace dv
