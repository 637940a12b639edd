#include "QtFileDialogService.h"
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace dv {

QString QtFileDialogService::qtNameFilters(const QString& filter) {
    if (!filter.contains(QLatin1Char('|'))) return filter;
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        const QString joined = patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of a filter.
        if (description.endsWith(QLatin1Char(')')) &&
            description.mid(description.lastIndexOf(QLatin1Char('(')) + 1).chopped(1).trimmed() == joined)
            filters.append(description);
        else
            filters.append(description + QLatin1String(" (") + joined + QLatin1Char(')'));
    }
    return filters.join(QLatin1String(";;"));
}

namespace {
QString run(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), request.caption);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString folder = request.folder;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.isEmpty()) dialog.setDirectory(folder);
    if (!request.filter.isEmpty()) dialog.setNameFilter(QtFileDialogService::qtNameFilters(request.filter));
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString QtFileDialogService::openFile(const FileDialogRequest& request) {
    return run(request, QFileDialog::AcceptOpen);
}

QString QtFileDialogService::saveFile(const FileDialogRequest& request) {
    return run(request, QFileDialog::AcceptSave);
}

QString QtFileDialogService::chooseFolder(const FileDialogRequest& request) {
    QString folder = request.folder;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), request.caption, folder);
}

} // namespace dv
