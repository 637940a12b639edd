#include "DemoParts.h"
#include "core/db/Engine.h"
#include "gen_clinic.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace dv::demo {

namespace {

struct Place {
    QString local;
    int icon = 0;
};

struct Item {
    int service = 0;
    int tooth = 0;
    QString local;
    int icon = 0;
    qint64 value = 0;
};

struct Patient {
    int id = 0;
    int plan = 0;
    QDate birth, since;
};

struct Consultation {
    QDate day;
    const Patient* patient = nullptr;
    std::vector<Item> items;
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

int permanentTooth(bench::Random& r, int firstPosition, int lastPosition) {
    return r.between(1, 4) * 10 + r.between(firstPosition, lastPosition);
}

// One treatment plan of an adult: what brought them to the chair.
void adultCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan) {
    const int roll = r.below(100);
    if (roll < 22) { // check-up
        ch.add(items, plan, "Consulta / avaliação inicial");
        ch.add(items, plan, "Radiografia panorâmica");
        ch.add(items, plan, "Profilaxia (limpeza)");
        if (r.chance(0.3)) ch.add(items, plan, "Raspagem e alisamento radicular (sextante)");
    } else if (roll < 55) { // fillings
        static const char* const fillings[] = {
            "Restauração em resina composta (por face)", "Restauração em resina composta (por face)",
            "Restauração em amálgama (por face)", "Restauração em ionômero de vidro (por face)"};
        for (int teeth = r.between(1, 4); teeth > 0; --teeth) {
            const int tooth = permanentTooth(r, 1, 7);
            const char* filling = fillings[r.below(4)];
            for (int faces = r.between(1, 2); faces > 0; --faces)
                ch.add(items, plan, filling, tooth);
        }
        if (r.chance(0.4)) ch.add(items, plan, "Radiografia periapical");
    } else if (roll < 70) { // root canal and crown
        const int tooth = permanentTooth(r, 1, 7);
        const int position = tooth % 10;
        ch.add(items, plan, "Radiografia periapical");
        ch.add(items, plan,
               position <= 3   ? "Tratamento de canal - unirradicular"
               : position <= 5 ? "Tratamento de canal - birradicular"
                               : "Tratamento de canal - multirradicular",
               tooth);
        if (r.chance(0.7)) {
            ch.add(items, plan, r.chance(0.5) ? "Pino de fibra de vidro" : "Núcleo metálico fundido", tooth);
            ch.add(items, plan, r.chance(0.6) ? "Coroa metalocerâmica" : "Coroa em cerâmica pura", tooth);
        }
    } else if (roll < 80) { // extraction
        if (r.chance(0.5))
            ch.add(items, plan, "Extração de siso (terceiro molar)", r.between(1, 4) * 10 + 8);
        else
            ch.add(items, plan, "Extração simples", permanentTooth(r, 4, 7));
        ch.add(items, plan, "Radiografia panorâmica");
    } else if (roll < 87) { // implant
        const int tooth = permanentTooth(r, 4, 7);
        ch.add(items, plan, "Dente ausente (registro)", tooth);
        ch.add(items, plan, "Implante dentário unitário", tooth);
        if (r.chance(0.6)) ch.add(items, plan, "Coroa sobre implante", tooth);
    } else if (roll < 92) { // removable prosthesis
        const int quadrant = r.between(1, 4);
        for (int position : {5, 6})
            ch.add(items, plan, "Dente ausente (registro)", quadrant * 10 + position);
        ch.add(items, plan, "Prótese parcial removível");
    } else if (roll < 96) { // orthodontics
        ch.add(items, plan, "Aparelho ortodôntico fixo (instalação)");
        for (int months = r.between(1, 3); months > 0; --months)
            ch.add(items, plan, "Manutenção ortodôntica mensal");
    } else { // emergency
        ch.add(items, plan, "Consulta de urgência");
        ch.add(items, plan, "Restauração em ionômero de vidro (por face)", permanentTooth(r, 1, 7));
        if (r.chance(0.5)) ch.add(items, plan, "Placa miorrelaxante (bruxismo)");
    }
}

void childCase(Charting& ch, bench::Random& r, std::vector<Item>& items, int plan, int age) {
    ch.add(items, plan, "Profilaxia (limpeza)");
    ch.add(items, plan, "Aplicação tópica de flúor");
    if (age >= 6)
        for (int quadrant = 1; quadrant <= 4; ++quadrant)
            if (r.chance(0.6)) ch.add(items, plan, "Selante (por dente)", quadrant * 10 + 6);
    const int deciduous = r.between(5, 8) * 10 + r.between(1, 5);
    if (r.chance(0.35))
        ch.add(items, plan, "Pulpotomia (dente decíduo)", deciduous);
    else if (r.chance(0.35))
        ch.add(items, plan, "Extração de dente decíduo", deciduous);
    if (r.chance(0.4))
        ch.add(items, plan, "Restauração em ionômero de vidro (por face)",
               r.between(5, 8) * 10 + r.between(4, 5));
}

std::vector<Patient> activePatients(Connection& c) {
    std::vector<Patient> out;
    auto q = c.query(QStringLiteral("select paciente_id, ifnull(convenio_id, 0), paciente_data_nascimento, "
                                    "paciente_data_cadastro from paciente where paciente_ativo = 'S' "
                                    "order by paciente_id"));
    while (q->next())
        out.push_back({int(q->integer(0)), int(q->integer(1)), q->isNull(2) ? QDate() : q->dateTime(2).date(),
                       q->isNull(3) ? QDate() : q->dateTime(3).date()});
    return out;
}

std::vector<int> ids(Connection& c, const QString& sql) {
    std::vector<int> out;
    auto q = c.query(sql);
    while (q->next())
        out.push_back(int(q->integer(0)));
    return out;
}

class Ledger {
public:
    Ledger(Connection& c, bench::Random& r, const QDate& today) : m_c(c), m_r(r), m_today(today), m_ch(c, r) {
        m_dentists = ids(c, QStringLiteral("select dentista_id from dentista order by dentista_id"));
        for (const char* name :
             {"Dinheiro", "Cartão de crédito", "Cartão de débito", "PIX", "Boleto", "Cheque"})
            if (const qint64 id = formId(name)) m_forms.push_back(int(id));
        m_planForm = int(formId("Convênio"));
        m_cheque = int(formId("Cheque"));
        m_particular = int(m_ch.scalar(
            QStringLiteral("select min(convenio_id) from convenio where convenio_nome = 'Particular'")));
    }

    void run() {
        std::vector<Patient> patients = activePatients(m_c);
        std::vector<Consultation> plans;
        for (const Patient& p : patients) {
            const int roll = m_r.below(100);
            const int visits = roll < 25 ? 0 : roll < 70 ? 1 : roll < 90 ? 2 : 3;
            for (int v = 0; v < visits; ++v) {
                // Recent months hold most of the work, as in a clinic in use.
                const double u = m_r.below(10000) / 10000.0;
                QDate day = m_today.addDays(-qint64(540 * u * u));
                if (p.since.isValid() && day < p.since) day = p.since;
                Consultation k{day, &p, {}};
                const int age = p.birth.isValid() ? p.birth.daysTo(day) / 365 : 30;
                if (age < 12) {
                    childCase(m_ch, m_r, k.items, p.plan, age);
                } else {
                    // A first plan often treats more than one complaint.
                    for (int cases = m_r.chance(0.35) ? 2 : 1; cases > 0; --cases)
                        adultCase(m_ch, m_r, k.items, p.plan);
                }
                if (!k.items.empty()) plans.push_back(std::move(k));
            }
        }
        std::stable_sort(plans.begin(), plans.end(),
                         [](const Consultation& a, const Consultation& b) { return a.day < b.day; });
        for (const Consultation& k : plans)
            write(k);
    }

private:
    qint64 formId(const char* name) {
        auto q = m_c.query(QStringLiteral("select min(forma_pagamento_id) from forma_pagamento where "
                                          "forma_pagamento_nome = :n"),
                           {string("n", QString::fromUtf8(name))});
        return q->next() && !q->isNull(0) ? q->integer(0) : 0;
    }

    void write(const Consultation& k) {
        const qint64 age = k.day.daysTo(m_today);
        const bool approved = m_r.chance(age > 45 ? 0.9 : 0.6);
        const bool byPlan = k.patient->plan != m_particular && m_planForm && m_r.chance(0.6);
        const int form = byPlan            ? m_planForm
                         : m_forms.empty() ? 0
                                           : m_forms[size_t(m_r.below(int(m_forms.size())))];
        qint64 total = 0;
        for (const Item& it : k.items)
            total += it.value;
        const qint64 id = m_c.insert(
            QStringLiteral(
                "insert into consulta (paciente_id, dentista_id, consulta_codigo, consulta_data, "
                "consulta_validade, consulta_valor, consulta_aprovado, forma_pagamento_id, "
                "consulta_observacao) values (:p, :d, :cod, :dia, :val, :valor, :ok, :forma, :obs)"),
            {integer("p", k.patient->id), integer("d", m_dentists[size_t(m_r.below(int(m_dentists.size())))]),
             string("cod", byPlan ? QString::number(4000000000LL + m_r.next() % 900000000u) : QString()),
             date("dia", k.day), date("val", k.day.addDays(30)), integer("valor", total),
             flag("ok", approved), optionalId("forma", form),
             string("obs", m_r.chance(0.1) ? QString::fromUtf8(bench::appointmentNotes()[size_t(
                                                 m_r.below(int(bench::appointmentNotes().size())))])
                                           : QString())},
            QStringLiteral("consulta_id"));
        for (const Item& it : k.items) {
            const bool done = approved && m_r.chance(age > 30 ? 0.95 : 0.4);
            m_c.execute(QStringLiteral(
                            "insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, "
                            "icone_id, item_consulta_valor, item_consulta_concluido) "
                            "values (:c, :s, :t, :l, :i, :v, :ok)"),
                        {integer("c", id), integer("s", it.service), integer("t", it.tooth),
                         string("l", it.local), optionalId("i", it.icon), integer("v", it.value),
                         flag("ok", done)});
        }
        if (approved && total > 0 && !byPlan) installments(id, k, form, total);
    }

    void installments(qint64 consultation, const Consultation& k, int form, qint64 total) {
        const int roll = m_r.below(100);
        const int parts = total < 3000000 || roll < 30 ? 1
                          : roll < 60                  ? m_r.between(2, 3)
                          : roll < 90                  ? m_r.between(4, 6)
                                                       : 10;
        const qint64 each = total / parts / 100 * 100; // whole cents; the last takes the rest
        for (int n = 1; n <= parts; ++n) {
            const qint64 value = n == parts ? total - each * (parts - 1) : each;
            const qint64 discount = parts == 1 && m_r.chance(0.1) ? value / 20 / 100 * 100 : 0;
            const qint64 net = value - discount;
            const QDate due = k.day.addMonths(n - 1);
            qint64 paid = 0;
            QDate paidOn;
            if (due <= m_today) {
                const int pay = m_r.below(100);
                paid = pay < 87 ? net : pay < 90 ? net / 2 / 100 * 100 : 0; // the rest is overdue
                if (paid) paidOn = std::clamp(due.addDays(m_r.between(-3, 6)), k.day, m_today);
            }
            const bool cheque = form == m_cheque;
            m_c.execute(
                QStringLiteral(
                    "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_data, "
                    "parcela_vencimento, parcela_valor, parcela_juros, parcela_desconto, "
                    "parcela_valor_liquido, parcela_valor_pago, parcela_valor_restante, "
                    "paracela_data_pagamento, parcela_cheque_numero, parcela_cheque_data, parcela_quitada) "
                    "values (:c, :p, :n, :dia, :venc, :valor, 0, :desc, :liq, :pago, :resta, :pg, :cheque, "
                    ":chdia, :ok)"),
                {integer("c", consultation), integer("p", k.patient->id), integer("n", n), date("dia", k.day),
                 date("venc", due), integer("valor", value), integer("desc", discount), integer("liq", net),
                 integer("pago", paid), integer("resta", net - paid), date("pg", paidOn),
                 string("cheque", cheque ? QString::number(100000 + m_r.below(900000)) : QString()),
                 date("chdia", cheque ? due : QDate()), flag("ok", paid >= net)});
        }
    }

    Connection& m_c;
    bench::Random& m_r;
    QDate m_today;
    Charting m_ch;
    std::vector<int> m_dentists, m_forms;
    int m_planForm = 0, m_cheque = 0, m_particular = 0;
};

} // namespace

void chartTreatments(Connection& c, bench::Random& r, const QDate& today) {
    Ledger(c, r, today).run();
}

} // namespace dv::demo
