#include "ScriptedFileDialogs.h"
#include <QDebug>
#include <QStringList>

namespace dv::test {

QString ScriptedFileDialogs::answer(bool save, const FileDialogRequest& request) {
    QList<QString>& queue = save ? m_save : m_open;
    const bool answered = !queue.isEmpty();
    m_requests.append({save, request, !answered});
    if (!answered) {
        qWarning().noquote() << "ScriptedFileDialogs: unexpected" << (save ? "save" : "open")
                             << "dialog with no queued path:" << request.caption;
        return QString();
    }
    return queue.takeFirst();
}

QString ScriptedFileDialogs::openFile(const FileDialogRequest& request) {
    return answer(false, request);
}

QString ScriptedFileDialogs::saveFile(const FileDialogRequest& request) {
    return answer(true, request);
}

QString ScriptedFileDialogs::chooseFolder(const FileDialogRequest& request) {
    const bool answered = !m_folder.isEmpty();
    m_requests.append({false, request, !answered, true});
    if (!answered) {
        qWarning().noquote() << "ScriptedFileDialogs: unexpected folder dialog with no queued path:"
                             << request.caption;
        return QString();
    }
    return m_folder.takeFirst();
}

bool ScriptedFileDialogs::verifyNoUnexpected(QString* why) const {
    QStringList problems;
    for (const Request& r : m_requests)
        if (r.unexpected)
            problems.append(
                QStringLiteral("unanswered %1 dialog \"%2\"")
                    .arg(r.save ? QStringLiteral("save") : QStringLiteral("open"), r.request.caption));
    if (!m_open.isEmpty() || !m_save.isEmpty() || !m_folder.isEmpty())
        problems.append(QStringLiteral("%1 queued path(s) never asked")
                            .arg(m_open.size() + m_save.size() + m_folder.size()));
    if (why) *why = problems.join(QStringLiteral("; "));
    return problems.isEmpty();
}

} // namespace dv::test
