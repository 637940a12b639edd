#include "DemoCharting.h"
#include "gen_clinic.h"

#include <algorithm>
#include <vector>

namespace dv::demo {

namespace {

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
