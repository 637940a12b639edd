#pragma once
#include <QString>

namespace dv {

// A common open or save dialog. The filter is written as the system writes it:
// "description|pattern|description|pattern" (patterns separated by ';'), e.g.
// "BMP Imagem (*.bmp)|*.bmp|PNG Imagem|*.png". A filter without '|' is taken
// as a Qt name filter list.
struct FileDialogRequest {
    QString caption;
    QString folder; // starting folder
    QString filter;
    QString fileName;             // proposed file name (save) or preselection (open)
    QString defaultSuffix;        // added when the user types a name without extension, e.g. "lpu"
    bool confirmOverwrite = true; // save only
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen path, or an empty string when cancelled.
    virtual QString openFile(const FileDialogRequest& request) = 0;
    virtual QString saveFile(const FileDialogRequest& request) = 0;
    // An existing folder (caption and starting folder of the request), or empty when cancelled.
    virtual QString chooseFolder(const FileDialogRequest& request) = 0;
};

} // namespace dv
