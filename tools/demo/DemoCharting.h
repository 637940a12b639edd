#pragma once
#include "DemoParts.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace dv::demo {

// Where and with which icon a service is drawn (a servico_icone row).
struct Place {
    QString local;
    int icon = 0;
};

// One charted service of a treatment plan.
struct Item {
    int service = 0;
    int tooth = 0;
    QString local;
    int icon = 0;
    qint64 value = 0;
};

// What a clinic charts: the catalogue's services on the places the catalogue
// draws them, priced by the patient's plan.
class Charting {
public:
    Charting(Connection& c, bench::Random& r) : m_c(c), m_r(r) {
        auto s =
            c.query(QStringLiteral("select servico_id, servico_nome from servico where servico_ativo = 'S'"));
        while (s->next())
            m_service.insert(text(*s, 1), int(s->integer(0)));
        auto p = c.query(
            QStringLiteral("select servico_id, local_dente_id, ifnull(icone_id, 0) from servico_icone "
                           "order by servico_id, local_dente_id, face_dente"));
        while (p->next())
            m_places[int(p->integer(0))].push_back({text(*p, 1).trimmed().toUpper(), int(p->integer(2))});
        auto t = c.query(QStringLiteral(
            "select convenio_id, servico_id, tabela_valor from tabela_convenio order by tabela_data"));
        while (t->next()) // the newest table of each plan wins
            m_price.insert(key(int(t->integer(0)), int(t->integer(1))), t->currency(2).raw());
        m_particular = int(scalar(
            QStringLiteral("select min(convenio_id) from convenio where convenio_nome = 'Particular'")));
    }

    qint64 scalar(const QString& sql) {
        auto q = m_c.query(sql);
        return q->next() && !q->isNull(0) ? q->integer(0) : 0;
    }

    // Adds the named service on tooth (0: the prosthesis strip, or no place at all).
    void add(std::vector<Item>& items, int plan, const char* name, int tooth = 0) {
        const int id = m_service.value(QString::fromUtf8(name));
        if (!id) return; // a catalogue without it charts the rest
        Item it{id, 0, QStringLiteral("TO"), 0, price(plan, id)};
        const std::vector<Place>& places = m_places[id];
        std::vector<const Place*> fit;
        if (tooth) {
            int quadrant = tooth / 10;
            if (quadrant > 4) quadrant -= 4;
            const QString q = QStringLiteral("Q%1").arg(quadrant);
            const QString arch = quadrant <= 2 ? QStringLiteral("DS") : QStringLiteral("DI");
            for (const Place& p : places)
                if (p.local == q) fit.push_back(&p);
            if (fit.empty())
                for (const Place& p : places)
                    if (p.local == arch) fit.push_back(&p);
        }
        // A second face of the same tooth is another face.
        std::vector<const Place*> free;
        for (const Place* p : fit)
            if (std::none_of(items.begin(), items.end(),
                             [&](const Item& i) { return i.tooth == tooth && i.icon == p->icon; }))
                free.push_back(p);
        if (!free.empty()) fit.swap(free);
        if (!fit.empty()) {
            const Place* p = fit[size_t(m_r.below(int(fit.size())))];
            it.local = p->local;
            it.icon = p->icon;
            it.tooth = tooth;
        } else {
            for (const Place& p : places)
                if (p.local == QLatin1String("TO")) fit.push_back(&p);
            if (!fit.empty()) {
                // Strip places 101..113, one per item, in charting order.
                const int used = int(std::count_if(items.begin(), items.end(), [](const Item& i) {
                    return i.local == QLatin1String("TO") && i.tooth > 100;
                }));
                if (used < 13) {
                    it.tooth = 101 + used;
                    it.icon = fit.front()->icon;
                }
            }
        }
        items.push_back(it);
    }

private:
    static quint64 key(int plan, int service) { return (quint64(quint32(plan)) << 32) | quint32(service); }
    qint64 price(int plan, int service) const {
        return m_price.value(key(plan, service), m_price.value(key(m_particular, service)));
    }

    Connection& m_c;
    bench::Random& m_r;
    QHash<QString, int> m_service;
    QHash<int, std::vector<Place>> m_places;
    QHash<quint64, qint64> m_price;
    int m_particular = 0;
};

// One treatment plan of an adult or of a child: what brought them to the chair.
void adultCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan);
void childCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan, int age);

} // namespace dv::demo
