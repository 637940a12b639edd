#pragma once
#include "core/FileDialogService.h"
#include <QList>
#include <QString>

namespace dv::test {

// Answers open and save dialogs with queued paths and records every request.
// A dialog with nothing queued is unexpected: recorded, warned about and
// answered as cancelled (empty path).
class ScriptedFileDialogs : public FileDialogService {
public:
    struct Request {
        bool save = false;
        FileDialogRequest request;
        bool unexpected = false;
        bool folder = false;
    };

    // An empty path answers as Cancel.
    void queueOpen(const QString& path) { m_open.append(path); }
    void queueSave(const QString& path) { m_save.append(path); }
    void queueFolder(const QString& path) { m_folder.append(path); }

    const QList<Request>& requests() const { return m_requests; }
    bool verifyNoUnexpected(QString* why = nullptr) const;

    QString openFile(const FileDialogRequest& request) override;
    QString saveFile(const FileDialogRequest& request) override;
    QString chooseFolder(const FileDialogRequest& request) override;

private:
    QString answer(bool save, const FileDialogRequest& request);

    QList<QString> m_open;
    QList<QString> m_save;
    QList<QString> m_folder;
    QList<Request> m_requests;
};

} // namespace dv::test
