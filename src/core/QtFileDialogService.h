#pragma once
#include "FileDialogService.h"
#include <QString>

namespace dv {

// The real open and save dialogs (QFileDialog).
class QtFileDialogService : public FileDialogService {
public:
    QString openFile(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString chooseFolder(const FileDialogRequest& request) override;

    // "desc|*.a|desc2|*.b;*.c" -> "desc (*.a);;desc2 (*.b *.c)"; a description that
    // already shows its patterns in parentheses is kept as it is.
    static QString qtNameFilters(const QString& filter);
};

} // namespace dv
