#include "ReportProject.h"
#include "ReportConnections.h"
#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportOutput.h"
#include "ReportParser.h"
#include "core/CodeTexts.h"
#include "core/Session.h"

namespace dv {

QString ReportProject::defaultFileName() {
    return session().filePath(QStringLiteral("relatorio\\Dentrivale.rav"));
}

void ReportProject::open(const QString& fileName) {
    close();
    m_project = report::ReportParser::parseFile(fileName.isEmpty() ? defaultFileName() : fileName);
    m_open = true;
}

void ReportProject::load(const QByteArray& data, const QString& sourceName) {
    close();
    m_project = report::ReportParser::parse(data, sourceName);
    m_open = true;
}

void ReportProject::close() {
    m_project = report::Project();
    m_open = false;
    m_selected.clear();
}

QStringList ReportProject::reportNames() const {
    QStringList names;
    for (const report::Report& r : m_project.reports)
        names.append(r.name);
    return names;
}

bool ReportProject::selectReport(const QString& name) {
    const report::Report* r = m_project.report(name.trimmed());
    m_selected = r ? r->name : QString();
    return r != nullptr;
}

QString ReportProject::description(const QString& name) const {
    const report::Report* r = m_project.report(name.isEmpty() ? m_selected : name.trimmed());
    return r ? r->description : QString();
}

report::Item* ReportProject::findPicture(const QString& pageName, const QString& pictureName) {
    auto inBand = [&](std::optional<report::Band>& band) -> report::Item* {
        if (!band) return nullptr;
        for (report::Item& item : band->items)
            if (item.kind == report::Item::Picture &&
                item.name.compare(pictureName, Qt::CaseInsensitive) == 0)
                return &item;
        return nullptr;
    };
    for (report::Report& r : m_project.reports)
        for (report::Page& p : r.pages) {
            if (p.name.compare(pageName, Qt::CaseInsensitive) != 0) continue;
            for (auto* band :
                 {&p.pageHeader, &p.title, &p.columnHeader, &p.detail, &p.noData, &p.summary, &p.pageFooter})
                if (report::Item* item = inBand(*band)) return item;
            for (report::Group& g : p.groups) {
                if (report::Item* item = inBand(g.header)) return item;
                if (report::Item* item = inBand(g.footer)) return item;
            }
        }
    return nullptr;
}

void ReportProject::setPictureFile(const QString& pageName, const QString& pictureName,
                                   const QString& fileName) {
    report::Item* item = findPicture(pageName, pictureName);
    if (!item)
        throw ReportError(dv::text("A figura \"%1\" não existe na página \"%2\" do projeto de relatórios.")
                              .arg(pictureName, pageName));
    item->fileLink = fileName;
}

const report::Report& ReportProject::reportFor(const QString& name) const {
    if (!m_open) throw ReportError(dv::text("O projeto de relatórios não está aberto."));
    const QString wanted = name.isEmpty() ? m_selected : name.trimmed();
    if (wanted.isEmpty()) throw ReportError(dv::text("Nenhum relatório foi selecionado."));
    const report::Report* r = m_project.report(wanted);
    if (!r)
        throw ReportError(dv::text("O relatório \"%1\" não existe no projeto de relatórios \"%2\".")
                              .arg(wanted, m_project.fileName));
    return *r;
}

ReportDocument ReportProject::build(const QString& name) const {
    const report::Report& r = reportFor(name);
    registerDataModuleConnections();
    return ReportLayout(r, reportConnections()).run();
}

void ReportProject::execute(const QString& name) const {
    reportOutput().deliver(build(name));
}

} // namespace dv
