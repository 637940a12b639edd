#include "ExportFile.h"
#include "core/CodeTexts.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QDir>
#include <QFileInfo>

namespace dv {

namespace {
constexpr qsizetype blockSize = 1 << 20;
}

ExportFile::ExportFile(const QString& path) : m_path(path), m_file(path) {
    // Replacing a file held by another program must fail, not write beside it.
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly)) throw PlainError(failureMessage(path, m_file.errorString()));
    m_buffer.reserve(blockSize + 4096);
}

ExportFile::~ExportFile() {
    if (m_file.isOpen()) m_file.cancelWriting();
}

QString ExportFile::failureMessage(const QString& path, const QString& reason) {
    return dv::text("Não foi possível gravar o arquivo %1: %2")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason);
}

void ExportFile::write(const QByteArray& bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= blockSize) flush();
}

void ExportFile::flush() {
    if (m_buffer.isEmpty()) return;
    if (m_file.write(m_buffer) != m_buffer.size()) {
        const QString reason = m_file.errorString();
        m_file.cancelWriting();
        throw PlainError(failureMessage(m_path, reason));
    }
    m_buffer.clear();
}

void ExportFile::commit() {
    flush();
    if (!m_file.commit()) throw PlainError(failureMessage(m_path, m_file.errorString()));
}

QList<ExportColumn> exportColumns(const Dataset& dataset, const QList<GridColumn>& columns) {
    QList<ExportColumn> list;
    for (const GridColumn& c : columns) {
        Field* f = dataset.findField(c.fieldName);
        if (!f) continue;
        list.append({f, c.title.isEmpty() ? f->displayLabel() : c.title});
    }
    return list;
}

QString recordNumberTitle() {
    return QStringLiteral("Nº");
}

} // namespace dv
