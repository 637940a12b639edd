#include "ReportConnections.h"
#include "core/U_dm.h"
#include "core/db/DataSource.h"
#include "core/db/Dataset.h"

namespace dv {

void ReportConnections::add(const QString& name, Dataset* dataset, QObject* owner) {
    m_entries.insert(name.toLower(), Entry{name, dataset, nullptr, owner, owner != nullptr});
}

void ReportConnections::add(const QString& name, DataSource* source, QObject* owner) {
    m_entries.insert(name.toLower(), Entry{name, nullptr, source, owner, owner != nullptr});
}

void ReportConnections::remove(const QString& name) {
    m_entries.remove(name.toLower());
}

void ReportConnections::removeOwnedBy(const QObject* owner) {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->owned && it->owner == owner)
            it = m_entries.erase(it);
        else
            ++it;
    }
    for (auto it = m_pictures.begin(); it != m_pictures.end();) {
        if (it->owner == owner)
            it = m_pictures.erase(it);
        else
            ++it;
    }
}

void ReportConnections::clear() {
    m_entries.clear();
    m_pictures.clear();
}

void ReportConnections::addPicture(const QString& name, PictureSource source, QObject* owner) {
    m_pictures.insert(name.toLower(), PictureEntry{std::move(source), owner});
}

QByteArray ReportConnections::picture(const QString& name) const {
    const auto it = m_pictures.constFind(name.toLower());
    if (it == m_pictures.constEnd() || !it->owner || !it->source) return {};
    return it->source();
}

bool ReportConnections::isLive(const Entry& e) const {
    if (e.owned && !e.owner) return false;
    return e.source ? e.source->dataset() != nullptr : !e.dataset.isNull();
}

Dataset* ReportConnections::dataset(const QString& name) const {
    const auto it = m_entries.constFind(name.toLower());
    if (it == m_entries.constEnd() || !isLive(*it)) return nullptr;
    return it->source ? it->source->dataset() : it->dataset.data();
}

QStringList ReportConnections::names() const {
    QStringList out;
    for (const Entry& e : m_entries)
        if (isLive(e)) out.append(e.name);
    out.sort(Qt::CaseInsensitive);
    return out;
}

ReportConnections& reportConnections() {
    static ReportConnections instance;
    return instance;
}

void registerDataModuleConnections() {
    if (!dmExists()) return;
    Tdm& module = dm();
    ReportConnections& c = reportConnections();
    if (!c.contains(QStringLiteral("RvDentista")))
        c.add(QStringLiteral("RvDentista"), module.SQL_Dentista, &module);
    if (!c.contains(QStringLiteral("RvEmpresa")))
        c.add(QStringLiteral("RvEmpresa"), module.SQL_Empresa, &module);
}

} // namespace dv
