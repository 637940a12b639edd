#include "ExportFile.h"
#include "core/db/Dataset.h"
#include "core/db/DbErrors.h"
#include <QDir>

namespace dv {

namespace {
constexpr qsizetype blockSize = 1 << 20;
}

ExportFile::ExportFile(const QString& path) : m_path(path), m_file(path) {
    // Replacing a file held by another program must fail, not write beside it.
    m_file.setDirectWriteFallback(false);
    if (!m_file.open(QIODevice::WriteOnly)) throw PlainError(failureMessage(path));
    m_buffer.reserve(blockSize + 4096);
}

ExportFile::~ExportFile() {
    if (m_file.isOpen()) m_file.cancelWriting();
}

QString ExportFile::failureMessage(const QString& path) {
    return QStringLiteral(
               "Não foi possível gravar o arquivo %1. Verifique se a pasta existe, se há permissão "
               "de escrita e se o arquivo não está aberto em outro programa.")
        .arg(QDir::toNativeSeparators(path));
}

void ExportFile::write(const QByteArray& bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= blockSize) flush();
}

void ExportFile::flush() {
    if (m_buffer.isEmpty()) return;
    if (m_file.write(m_buffer) != m_buffer.size()) {
        m_file.cancelWriting();
        throw PlainError(failureMessage(m_path));
    }
    m_buffer.clear();
}

void ExportFile::commit() {
    flush();
    if (!m_file.commit()) throw PlainError(failureMessage(m_path));
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
