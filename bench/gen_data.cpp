#include "gen_data.h"
#include "core/db/DbErrors.h"
#include "gen_clinic.h"
#include "gen_people.h"

#include <sqlcipher/sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <vector>

namespace dv::bench {

namespace {

const char* const kPassword = "5316428850";

class Db {
public:
    explicit Db(const QString& file) : m_file(file) {
        const QByteArray name = QFile::encodeName(file);
        if (sqlite3_open_v2(name.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fail("open");
        if (sqlite3_key(m_db, kPassword, int(std::strlen(kPassword))) != SQLITE_OK) fail("key");
        // A fresh copy that is thrown away on failure: no journal, no syncs.
        exec("PRAGMA foreign_keys = ON; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
             "PRAGMA cache_size = -65536; PRAGMA temp_store = MEMORY");
    }
    ~Db() {
        if (m_db) sqlite3_close_v2(m_db);
    }
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    sqlite3* handle() const { return m_db; }

    [[noreturn]] void fail(const QString& what) const {
        throw PlainError(
            QStringLiteral("%1: %2: %3")
                .arg(m_file, what, m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("?")));
    }
    void exec(const QString& sql) {
        char* err = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
            const QString msg = QString::fromUtf8(err ? err : "");
            sqlite3_free(err);
            throw PlainError(QStringLiteral("%1: %2: %3").arg(m_file, sql.left(80), msg));
        }
    }
    // Small reads: every row as texts.
    QList<QStringList> rows(const QString& sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) fail(sql);
        QList<QStringList> out;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QStringList r;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            out << r;
        }
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE) fail(sql);
        return out;
    }
    qint64 scalar(const QString& sql) { return rows(sql).value(0).value(0).toLongLong(); }
    void close() {
        if (sqlite3_close(m_db) != SQLITE_OK) fail("close");
        m_db = nullptr;
    }

private:
    QString m_file;
    sqlite3* m_db = nullptr;
};

// A prepared insert run many times; parameters are numbered from 1.
class Stmt {
public:
    Stmt(Db& db, const char* sql) : m_db(db) {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_st, nullptr) != SQLITE_OK)
            db.fail(QString::fromUtf8(sql));
    }
    ~Stmt() { sqlite3_finalize(m_st); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;

    Stmt& integer(int i, qint64 v) {
        sqlite3_bind_int64(m_st, i, v);
        return *this;
    }
    Stmt& text(int i, const QString& s) {
        const QByteArray b = s.toUtf8();
        sqlite3_bind_text(m_st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // Empty text stays NULL, as a field the user never filled.
    Stmt& optional(int i, const QString& s) { return s.isEmpty() ? null(i) : text(i, s); }
    Stmt& date(int i, const QDate& d) {
        if (!d.isValid()) return null(i);
        char buf[32];
        const int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d 00:00:00", d.year(), d.month(), d.day());
        sqlite3_bind_text(m_st, i, buf, n, SQLITE_TRANSIENT);
        return *this;
    }
    // The bytes must live until run().
    Stmt& blob(int i, const QByteArray& b) {
        sqlite3_bind_blob(m_st, i, b.constData(), int(b.size()), SQLITE_STATIC);
        return *this;
    }
    Stmt& null(int i) {
        sqlite3_bind_null(m_st, i);
        return *this;
    }
    void run() {
        if (sqlite3_step(m_st) != SQLITE_DONE) m_db.fail(QString::fromUtf8(sqlite3_sql(m_st)));
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
    }

private:
    Db& m_db;
    sqlite3_stmt* m_st = nullptr;
};

// Splits total over the weights in proportion, exactly (cumulative rounding).
std::vector<int> distribute(qint64 total, const std::vector<int>& weights) {
    std::vector<int> out(weights.size(), 0);
    const qint64 sum = std::accumulate(weights.begin(), weights.end(), qint64(0));
    if (sum == 0) return out;
    qint64 acc = 0, given = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        acc += weights[i];
        const qint64 upto = (total * acc + sum / 2) / sum;
        out[i] = int(upto - given);
        given = upto;
    }
    return out;
}

qint64 reais(double v) {
    return qint64(std::llround(v * 100)) * 100;
} // ten-thousandths, whole cents

QString hhmm(int minutes) {
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

struct Place {
    QString local;
    int icone = 0;
};
struct Service {
    int id = 0;
    int weight = 1;
    std::vector<Place> places;
};

class Generator {
public:
    Generator(Db& db, const Volumes& v, quint32 seed, Generated& out)
        : m_db(db), m_v(v), m_r(seed), m_people(m_r), m_out(out),
          m_today(v.today.isValid() ? v.today : QDate::currentDate()) {}

    void run() {
        if (m_db.scalar(QStringLiteral("select count(*) from paciente")) != 0)
            throw PlainError(QStringLiteral("the source database already holds patients"));
        m_db.exec(QStringLiteral("BEGIN"));
        // Rows go in faster without indexes and triggers; both come back at the end.
        const auto schema = m_db.rows(QStringLiteral("select type, name, sql from sqlite_master where type "
                                                     "in ('index', 'trigger') and sql is not null"));
        for (const QStringList& o : schema)
            m_db.exec(QStringLiteral("DROP %1 \"%2\"")
                          .arg(o[0] == QLatin1String("index") ? "INDEX" : "TRIGGER", o[1]));
        plans();
        services();
        prices();
        dentists();
        suppliersProductsBills();
        patients();
        consultations();
        appointments();
        for (const QStringList& o : schema)
            if (o[0] == QLatin1String("index")) m_db.exec(o[2]);
        for (const QStringList& o : schema)
            if (o[0] == QLatin1String("trigger")) m_db.exec(o[2]);
        m_db.exec(QStringLiteral("COMMIT"));
        m_db.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    }

private:
    std::vector<int> ids(const QString& sql) {
        std::vector<int> out;
        for (const QStringList& r : m_db.rows(sql))
            out.push_back(r.value(0).toInt());
        return out;
    }

    void plans() {
        Stmt ins(m_db, "insert into convenio (convenio_nome) values (?1)");
        const int existing = int(m_db.scalar(QStringLiteral("select count(*) from convenio")));
        for (int i = existing; i < m_v.plans && i - existing < int(planNames().size()); ++i)
            ins.text(1, QString::fromUtf8(planNames()[i - existing])).run();
        m_plans = ids(QStringLiteral("select convenio_id from convenio order by convenio_id"));
        m_particular = int(m_db.scalar(
            QStringLiteral("select min(convenio_id) from convenio where convenio_nome = 'Particular'")));
        if (!m_particular) m_particular = m_plans.front();
    }

    int icon(const QString& name, Kind kind) {
        const QString key = name + QChar(u'0' + int(kind));
        if (auto it = m_icons.find(key); it != m_icons.end()) return *it;
        static const QRgb colors[] = {0xd03030, 0x3050d0, 0x30a040, 0xc08020, 0x8040b0, 0x20a0a0, 0x606060};
        const QRgb color = colors[size_t(m_icons.size()) % std::size(colors)];
        const bool face = kind == Kind::Face;
        const QString suffix = face                  ? QStringLiteral(" - face")
                               : kind == Kind::Tooth ? QStringLiteral(" - dente")
                                                     : QStringLiteral(" - prótese");
        m_iconBytes = makeIcon(face ? 29 : 37, face ? 29 : 75, color, face ? 0 : kind == Kind::Tooth ? 1 : 2);
        Stmt ins(m_db, "insert into icone (icone_nome, icone_arquivo, icone_img) values (?1, ?2, ?3)");
        ins.text(1, name + suffix)
            .text(2, plainAscii(name + suffix).replace(QLatin1Char(' '), QLatin1Char('_')) + ".bmp")
            .blob(3, m_iconBytes)
            .run();
        const int id = int(sqlite3_last_insert_rowid(m_db.handle()));
        m_icons.insert(key, id);
        return id;
    }

    // Uses the services the installation brings; makes a clinic's usual list when there are none.
    void services() {
        if (m_db.scalar(QStringLiteral("select count(*) from servico")) == 0) {
            Stmt ins(m_db, "insert into servico (servico_nome, ramo_id, servico_ativo, servico_valor, "
                           "servico_data_tabela) "
                           "values (?1, ?2, 'S', ?3, ?4)");
            Stmt place(m_db, "insert into servico_icone (servico_id, local_dente_id, face_dente, icone_id) "
                             "values (?1, ?2, ?3, ?4)");
            static const char* const faces[] = {"Oclusal", "Mesial", "Distal", "Vestibular", "Lingual"};
            for (const ServiceDef& s : clinicServices()) {
                ins.text(1, QString::fromUtf8(s.name))
                    .text(2, QString::fromUtf8(s.ramo))
                    .integer(3, reais(s.price))
                    .date(4, m_today.addYears(-1))
                    .run();
                const int id = int(sqlite3_last_insert_rowid(m_db.handle()));
                if (s.kind == Kind::None) continue;
                const int ic = icon(QString::fromUtf8(s.icon), s.kind);
                if (s.kind == Kind::Face) {
                    for (const char* q : {"Q1", "Q2", "Q3", "Q4"})
                        for (const char* f : faces)
                            place.integer(1, id).text(2, q).text(3, f).integer(4, ic).run();
                } else if (s.kind == Kind::Tooth) {
                    for (const char* l : {"DS", "DI"})
                        place.integer(1, id)
                            .text(2, l)
                            .text(3, QStringLiteral("Dente inteiro"))
                            .integer(4, ic)
                            .run();
                } else {
                    place.integer(1, id)
                        .text(2, "TO")
                        .text(3, QStringLiteral("Prótese / Outros"))
                        .integer(4, ic)
                        .run();
                }
            }
        }
        QHash<int, size_t> at;
        for (const QStringList& r :
             m_db.rows(QStringLiteral("select servico_id, ifnull(servico_valor, 1000000) from servico where "
                                      "servico_id <> 0 order by servico_id"))) {
            Service s;
            s.id = r[0].toInt();
            // Cheap services are done far more often than implants.
            s.weight = std::max<qint64>(1, 2000 * 10000 / std::max<qint64>(r[1].toLongLong(), 10000));
            at.insert(s.id, m_services.size());
            m_services.push_back(s);
        }
        for (const QStringList& r : m_db.rows(QStringLiteral(
                 "select servico_id, local_dente_id, ifnull(icone_id, 0) from servico_icone"))) {
            if (auto it = at.find(r[0].toInt()); it != at.end())
                m_services[*it].places.push_back({r[1].trimmed().toUpper(), r[2].toInt()});
        }
        for (const Service& s : m_services)
            m_serviceWeights.push_back(m_serviceWeights.empty() ? s.weight
                                                                : m_serviceWeights.back() + s.weight);
        if (m_services.empty()) throw PlainError(QStringLiteral("no services to price"));
    }

    const Service& anyService() {
        const int x = m_r.below(m_serviceWeights.back());
        return m_services[size_t(std::upper_bound(m_serviceWeights.begin(), m_serviceWeights.end(), x) -
                                 m_serviceWeights.begin())];
    }

    void prices() {
        Stmt ins(
            m_db,
            "insert into tabela_convenio (convenio_id, servico_id, tabela_valor, tabela_data) "
            "select ?1, servico_id, ifnull(servico_valor, 1000000) * ?2 / 100 / 100 * 100, ?3 from servico "
            "where servico_id <> 0 and not exists (select 1 from tabela_convenio t where t.convenio_id = ?1 "
            "and t.servico_id = servico.servico_id)");
        for (size_t i = 0; i < m_plans.size(); ++i) {
            const int percent = m_plans[i] == m_particular ? 100 : 55 + 5 * int(i % 6);
            ins.integer(1, m_plans[i]).integer(2, percent).date(3, m_today.addMonths(-int(i) - 1)).run();
        }
        for (const QStringList& r : m_db.rows(QStringLiteral(
                 "select convenio_id, servico_id, tabela_valor from tabela_convenio order by rowid"))) {
            const quint64 key = (quint64(r[0].toUInt()) << 32) | r[1].toUInt();
            if (!m_price.contains(key)) m_price.insert(key, r[2].toLongLong());
        }
    }

    void dentists() {
        Stmt ins(m_db,
                 "insert into dentista (dentista_nome, dentista_cro, empresa_id, dentista_especialidade, "
                 "dentista_fone, dentista_celular, dentista_endereco, dentista_bairro, dentista_cidade, "
                 "dentista_numero, dentista_cep, dentista_uf, dentista_ativo) "
                 "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)");
        Stmt hour(m_db, "insert into horario (hora_id, dentista_id, dia_id) values (?1, ?2, ?3)");
        const QStringList specialties = {"Clínica Geral",    "Ortodontia",  "Endodontia",
                                         "Implantodontia",   "Periodontia", "Odontopediatria",
                                         "Prótese Dentária", "Dentística"};
        const qint64 company = m_db.scalar(QStringLiteral("select min(empresa_id) from empresa"));
        for (int d = 0; d < m_v.dentists; ++d) {
            const bool female = m_r.chance(0.55);
            const QString name = m_people.fullName(female).section(QLatin1Char(' '), 0, 2).left(50);
            const Address a = m_people.address();
            ins.text(1, name).text(2, QStringLiteral("CRO-SP %1").arg(10000 + m_r.below(90000)));
            if (company) ins.integer(3, company);
            ins.text(4, specialties[d % specialties.size()])
                .text(5, m_people.phone(false, "12"))
                .text(6, m_people.phone(true, "12"))
                .text(7, a.street.left(50))
                .text(8, a.district.left(30))
                .text(9, a.city.left(40))
                .text(10, a.number)
                .text(11, a.cep)
                .text(12, a.uf)
                .text(13, d == m_v.dentists - 1 && m_v.dentists > 1 ? "N" : "S")
                .run();
            const int id = int(sqlite3_last_insert_rowid(m_db.handle()));
            DentistHours h;
            h.id = id;
            for (int dia = 1; dia <= 7; ++dia) {
                const bool works = dia <= 5 ? (d % 3 != 2 || dia % 2 == 1) : (dia == 6 && d % 2 == 0);
                if (!works) continue;
                for (int m = 8 * 60; m < 18 * 60; m += 30) {
                    if (m >= 12 * 60 && m < 13 * 60 + 30) continue; // lunch
                    if (dia == 6 && m >= 12 * 60) break;
                    hour.text(1, hhmm(m)).integer(2, id).integer(3, dia).run();
                    h.hours[dia].push_back(hhmm(m));
                }
            }
            if (d != m_v.dentists - 1 || m_v.dentists == 1) m_dentists.push_back(h);
        }
    }

    void suppliersProductsBills() {
        Stmt contact(
            m_db, "insert into contato (contato_nome, tipo_contato_id, contato_endereco, contato_numero, "
                  "contato_complemento, contato_bairro, contato_cidade, contato_cep, uf_id, contato_fone, "
                  "contato_celular, contato_ativo, contato_email, contato_site, contato_pessoa, contato_cpf) "
                  "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, 'S', ?12, ?13, ?14, ?15)");
        const std::vector<int> types =
            ids(QStringLiteral("select tipo_contato_id from tipo_contato order by 1"));
        std::vector<int> suppliers;
        for (int i = 0; i < m_v.contacts; ++i) {
            const int type =
                m_r.chance(0.5) || types.empty() ? 1 : types[size_t(m_r.below(int(types.size())))];
            const bool company = m_r.chance(0.8);
            const QString name = company ? m_people.companyName() : m_people.fullName(m_r.chance(0.5));
            const Address a = m_people.address();
            const QString mail =
                plainAscii(name).section(QLatin1Char(' '), 0, 1).replace(QLatin1Char(' '), QString());
            contact.text(1, name.left(50))
                .integer(2, type)
                .text(3, a.street.left(50))
                .text(4, a.number.left(6))
                .optional(5, m_r.chance(0.2) ? QStringLiteral("Sl %1").arg(m_r.between(1, 30)) : QString())
                .text(6, a.district.left(30))
                .text(7, a.city.left(30))
                .text(8, a.cep.left(5) + QLatin1Char('-') + a.cep.mid(5))
                .text(9, a.uf)
                .text(10, m_people.shortPhone("12"))
                .optional(11, m_r.chance(0.6) ? m_people.phone(true, "12") : QString())
                .text(12, mail + QStringLiteral("@contato.com.br"))
                .optional(13, company ? QStringLiteral("www.%1.com.br").arg(mail) : QString())
                .text(14, company ? "J" : "F")
                .text(15, company ? m_people.cnpj() : m_people.cpf())
                .run();
            if (type == 1) suppliers.push_back(int(sqlite3_last_insert_rowid(m_db.handle())));
        }

        Stmt product(m_db,
                     "insert into Produto (prod_nome, prod_estoque, prod_minimo, unidade_id, contato_id, "
                     "prod_ultimo_preco) values (?1, ?2, ?3, ?4, ?5, ?6)");
        QStringList units;
        for (const QStringList& r : m_db.rows(QStringLiteral("select unidade_id from unidade")))
            units << r[0];
        for (int i = 0; i < m_v.products; ++i) {
            const int n = int(productNames().size());
            QString name = QString::fromUtf8(productNames()[i % n]);
            if (i >= n)
                name += QStringLiteral(" %1").arg(
                    QString::fromUtf8(productBrands()[(i / n - 1) % int(productBrands().size())]));
            product.text(1, name.left(50)).integer(2, m_r.below(200)).integer(3, m_r.between(5, 30));
            product.optional(4, units.isEmpty() ? QString() : m_r.pick(units));
            if (!suppliers.empty()) product.integer(5, suppliers[size_t(m_r.below(int(suppliers.size())))]);
            product.integer(6, reais(m_r.between(300, 50000) / 100.0)).run();
        }

        Stmt bill(m_db,
                  "insert into conta (conta_nome, conta_vencimento, tipo_conta, conta_valor, conta_paga, "
                  "conta_data_pagamento) values (?1, ?2, ?3, ?4, ?5, ?6)");
        QStringList kinds;
        for (const QStringList& r : m_db.rows(QStringLiteral("select tipo_conta from tipo_conta order by 1")))
            kinds << r[0];
        if (kinds.isEmpty()) kinds << QStringLiteral("Outras despesas");
        for (int i = 0, month = 0; i < m_v.bills; ++month) {
            const QDate first = QDate(m_today.year(), m_today.month(), 1).addMonths(1 - month);
            for (int k = 0; k < 8 && i < m_v.bills; ++k, ++i) {
                const QString kind = k < kinds.size() ? kinds[k] : m_r.pick(kinds);
                const QDate due = first.addDays(qint64(std::min(4 + 3 * k, 27)));
                const bool paid = due < m_today && m_r.chance(0.97);
                bill.text(
                        1,
                        QStringLiteral("%1 %2").arg(kind, first.toString(QStringLiteral("MM/yyyy"))).left(50))
                    .date(2, due)
                    .text(3, kind)
                    .integer(4, reais(m_r.between(8000, 900000) / 100.0))
                    .text(5, paid ? "S" : "N")
                    .date(6, paid ? due.addDays(-m_r.below(4)) : QDate())
                    .run();
            }
        }
    }

    void patients() {
        Random photoRandom(m_r.next());
        const QByteArray photo = m_v.photoShare > 0 ? makePhoto(m_v.photoBytes, photoRandom) : QByteArray();
        Stmt ins(
            m_db,
            "insert into paciente (paciente_id, paciente_nome, paciente_profissao, paciente_rg, "
            "paciente_cpf, "
            "paciente_endereco, paciente_numero, paciente_complemento, paciente_bairro, paciente_cidade, "
            "paciente_cep, uf_id, paciente_ativo, paciente_fone, paciente_fone_comercial, paciente_celular, "
            "paciente_foto, paciente_data_nascimento, paciente_email, paciente_anotacao, paciente_sexo, "
            "paciente_data_cadastro, paciente_orgao, paciente_matricula, paciente_num_dependentes, "
            "paciente_titular, paciente_registro, convenio_id) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
            "?10, "
            "?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28)");
        Stmt answer(
            m_db,
            "insert into anamnese_paciente (paciente_id, anamnese_id, anamnese_resposta, anamnese_anotacao) "
            "values (?1, ?2, ?3, ?4)");
        const std::vector<int> questions =
            ids(QStringLiteral("select anamnese_id from anamnese order by anamnese_ordem"));
        const QStringList bodies = {"Prefeitura Municipal", "Governo do Estado", "Empresa conveniada",
                                    "Sindicato", "Associação dos Servidores"};
        m_patientPlan.reserve(size_t(m_v.patients));
        m_patientSince.reserve(size_t(m_v.patients));
        m_patientBirth.reserve(size_t(m_v.patients));
        for (int id = 1; id <= m_v.patients; ++id) {
            const Person p = m_people.person(m_today);
            const int plan =
                m_r.chance(0.55) ? m_particular : m_plans[size_t(m_r.below(int(m_plans.size())))];
            const QDate since = m_r.dayBetween(
                std::max(m_today.addYears(-15), p.birth.isValid() ? p.birth : QDate(1900, 1, 1)), m_today);
            ins.integer(1, id)
                .text(2, p.name)
                .text(3, p.profession)
                .text(4, p.rg)
                .text(5, p.cpf)
                .text(6, p.address.street)
                .text(7, p.address.number)
                .optional(8, p.address.complement)
                .text(9, p.address.district)
                .text(10, p.address.city)
                .text(11, p.address.cep)
                .text(12, p.address.uf)
                .text(13, m_r.chance(0.96) ? "S" : "N")
                .optional(14, p.phone)
                .optional(15, p.workPhone)
                .optional(16, p.mobile);
            if (m_r.chance(m_v.photoShare)) {
                ins.blob(17, photo);
                ++m_out.photos;
            }
            ins.date(18, p.birth)
                .optional(19, p.email)
                .optional(20, m_r.chance(0.05)
                                  ? QString::fromUtf8(patientNotes()[m_r.below(int(patientNotes().size()))])
                                  : QString())
                .text(21, p.female ? "F" : "M")
                .date(22, since);
            if (plan != m_particular) {
                ins.text(23, m_r.pick(bodies))
                    .text(24, QString::number(100000 + m_r.below(900000)))
                    .integer(25, m_r.below(5))
                    .text(26, m_r.chance(0.7) ? p.name.left(50) : m_people.fullName(!p.female).left(50));
            }
            ins.text(27, QStringLiteral("%1").arg(id, 6, 10, QLatin1Char('0'))).integer(28, plan).run();
            m_patientPlan.push_back(plan);
            m_patientSince.push_back(since);
            m_patientBirth.push_back(p.birth);
            ++m_out.patients;
            if (m_r.chance(m_v.anamnesisShare)) {
                for (int q : questions) {
                    const bool yes = m_r.chance(0.15);
                    answer.integer(1, id)
                        .integer(2, q)
                        .text(3, yes ? "S" : "N")
                        .optional(4, yes && m_r.chance(0.5) ? QStringLiteral("Informado na primeira consulta")
                                                            : QString())
                        .run();
                    ++m_out.answers;
                }
            }
        }
    }

    int tooth(const QString& local, bool child) {
        if (local == QLatin1String("TO")) return m_r.between(101, 113);
        int quadrant;
        if (local == QLatin1String("DS"))
            quadrant = m_r.between(1, 2);
        else if (local == QLatin1String("DI"))
            quadrant = m_r.between(3, 4);
        else if (local.size() == 2 && local[0] == QLatin1Char('Q'))
            quadrant = std::clamp(local[1].digitValue(), 1, 4);
        else
            return 0;
        return child && m_r.chance(0.7) ? (quadrant + 4) * 10 + m_r.between(1, 5)
                                        : quadrant * 10 + m_r.between(1, 8);
    }

    void consultations();
    void appointments();

    struct DentistHours {
        int id = 0;
        QStringList hours[8]; // by dia_id 1..7
    };

    Db& m_db;
    const Volumes& m_v;
    Random m_r;
    People m_people;
    Generated& m_out;
    QDate m_today;
    std::vector<int> m_plans;
    int m_particular = 0;
    std::vector<Service> m_services;
    std::vector<int> m_serviceWeights; // cumulative
    QHash<QString, int> m_icons;
    QByteArray m_iconBytes;
    QHash<quint64, qint64> m_price;       // (plan << 32 | service) -> ten-thousandths
    std::vector<DentistHours> m_dentists; // active ones
    std::vector<int> m_patientPlan;
    std::vector<QDate> m_patientSince;
    std::vector<QDate> m_patientBirth;
};

void Generator::consultations() {
    const int n = m_v.consultations;
    if (n <= 0 || m_v.patients <= 0 || m_dentists.empty()) return;
    // How many items and installments each consultation gets: random shapes,
    // scaled so the totals are exactly the volumes asked for.
    const size_t count = size_t(n);
    std::vector<int> itemWeights(count), approved(count), parcelWeights(count);
    for (int j = 0; j < n; ++j) {
        const int roll = m_r.below(10000);
        itemWeights[size_t(j)] = roll < 5      ? m_r.between(200, 320) // a whole-mouth rehabilitation
                                 : roll < 400  ? m_r.between(11, 30)
                                 : roll < 2000 ? m_r.between(6, 10)
                                               : m_r.between(1, 5);
        approved[size_t(j)] = m_r.chance(0.7);
    }
    const std::vector<int> itemCount = distribute(m_v.items, itemWeights);
    for (int j = 0; j < n; ++j) {
        const int roll = m_r.below(100);
        parcelWeights[size_t(j)] = approved[size_t(j)] && itemCount[size_t(j)] > 0
                                       ? (roll < 30   ? 1
                                          : roll < 60 ? m_r.between(2, 3)
                                          : roll < 85 ? m_r.between(4, 6)
                                                      : m_r.between(10, 12))
                                       : 0;
    }
    const std::vector<int> parcelCount = distribute(m_v.installments, parcelWeights);
    const std::vector<int> payForms =
        ids(QStringLiteral("select forma_pagamento_id from forma_pagamento order by 1"));
    const qint64 planPayForm = m_db.scalar(QStringLiteral(
        "select min(forma_pagamento_id) from forma_pagamento where forma_pagamento_nome = 'Convênio'"));
    const qint64 chequeForm = m_db.scalar(QStringLiteral(
        "select min(forma_pagamento_id) from forma_pagamento where forma_pagamento_nome = 'Cheque'"));

    Stmt cons(
        m_db,
        "insert into consulta (consulta_id, paciente_id, dentista_id, consulta_codigo, consulta_data, "
        "consulta_validade, consulta_valor, consulta_aprovado, forma_pagamento_id, consulta_observacao) "
        "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    Stmt item(m_db, "insert into item_consulta (consulta_id, servico_id, dente_id, local_dente_id, icone_id, "
                    "item_consulta_descricao, item_consulta_valor, item_consulta_concluido) "
                    "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    Stmt parcel(
        m_db,
        "insert into parcela (consulta_id, paciente_id, parcela_numero, parcela_data, parcela_vencimento, "
        "parcela_valor, parcela_juros, parcela_desconto, parcela_valor_liquido, parcela_valor_pago, "
        "parcela_valor_restante, paracela_data_pagamento, parcela_cheque_numero, parcela_cheque_data, "
        "parcela_quitada) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)");
    const QString to = QStringLiteral("TO");
    struct Item {
        int service, tooth, icon;
        QString local;
        qint64 value;
    };
    std::vector<Item> items;
    for (int j = 0; j < n; ++j) {
        const int id = j + 1;
        const int patient = m_r.between(1, m_v.patients);
        const int plan = m_patientPlan[size_t(patient - 1)];
        const QDate day = m_r.dayBetween(m_patientSince[size_t(patient - 1)], m_today);
        const QDate birth = m_patientBirth[size_t(patient - 1)];
        const bool child = birth.isValid() && birth.daysTo(day) < 12 * 365;
        const bool ok = approved[size_t(j)];
        items.clear();
        qint64 total = 0;
        for (int k = 0; k < itemCount[size_t(j)]; ++k) {
            const Service& s = anyService();
            Item it{s.id, 0, 0, to, 0};
            if (!s.places.empty() && m_r.chance(0.9)) {
                const Place& p = s.places[size_t(m_r.below(int(s.places.size())))];
                it.local = p.local;
                it.icon = p.icone;
                it.tooth = tooth(p.local, child);
            }
            it.value = m_price.value((quint64(plan) << 32) | quint64(s.id),
                                     m_price.value((quint64(m_particular) << 32) | quint64(s.id)));
            total += it.value;
            items.push_back(it);
        }
        const int payForm = plan != m_particular && planPayForm && m_r.chance(0.7)
                                ? int(planPayForm)
                                : (payForms.empty() ? 1 : payForms[size_t(m_r.below(int(payForms.size())))]);
        cons.integer(1, id)
            .integer(2, patient)
            .integer(3, m_dentists[size_t(m_r.below(int(m_dentists.size())))].id)
            .optional(4, plan != m_particular && m_r.chance(0.6)
                             ? QString::number(1000000000LL + m_r.next() % 900000000u)
                             : QString())
            .date(5, day)
            .date(6, day.addDays(7))
            .integer(7, total)
            .text(8, ok ? "S" : "N")
            .integer(9, payForm)
            .optional(10, m_r.chance(0.1) ? QString::fromUtf8(
                                                appointmentNotes()[m_r.below(int(appointmentNotes().size()))])
                                          : QString())
            .run();
        ++m_out.consultations;
        const bool old = day.daysTo(m_today) > 60;
        for (const Item& it : items) {
            item.integer(1, id)
                .integer(2, it.service)
                .integer(3, it.tooth)
                .text(4, it.local)
                .integer(5, it.icon)
                .optional(6, m_r.chance(0.05) ? QStringLiteral("Conforme radiografia") : QString())
                .integer(7, it.value)
                .text(8, ok && old && m_r.chance(0.9) ? "S" : "N")
                .run();
            ++m_out.items;
        }
        const int parts = parcelCount[size_t(j)];
        if (parts <= 0) continue;
        const qint64 each = total / parts / 100 * 100; // whole cents; the last takes the rest
        for (int k = 1; k <= parts; ++k) {
            const qint64 value = k == parts ? total - each * (parts - 1) : each;
            const qint64 discount = payForm == 1 && m_r.chance(0.1) ? value / 20 / 100 * 100 : 0;
            const qint64 net = value - discount;
            const QDate due = day.addMonths(k);
            qint64 paid = 0;
            QDate paidOn;
            if (due <= m_today && m_r.chance(0.95)) {
                paid = m_r.chance(0.97) ? net : net / 2 / 100 * 100;
                paidOn = std::min(due.addDays(m_r.between(-5, 10)), m_today);
            }
            parcel.integer(1, id)
                .integer(2, patient)
                .integer(3, k)
                .date(4, day)
                .date(5, due)
                .integer(6, value)
                .integer(7, 0)
                .integer(8, discount)
                .integer(9, net)
                .integer(10, paid)
                .integer(11, net - paid)
                .date(12, paidOn);
            if (payForm == chequeForm)
                parcel.text(13, QString::number(100000 + m_r.below(900000))).date(14, due);
            parcel.text(15, paid >= net ? "S" : "N").run();
            ++m_out.installments;
        }
    }
}

void Generator::appointments() {
    if (m_v.appointments <= 0 || m_v.patients <= 0 || m_dentists.empty()) return;
    const QDate last = m_today.addDays(90);
    // Enough days back that the wanted appointments fill at most two thirds of the slots.
    auto capacity = [&](const QDate& first) {
        qint64 c = 0;
        for (QDate d = first; d <= last; d = d.addDays(1))
            for (const DentistHours& h : m_dentists)
                c += h.hours[d.dayOfWeek()].size();
        return c;
    };
    int years = 1;
    while (years < 30 && capacity(m_today.addYears(-years)) * 2 < qint64(m_v.appointments) * 3)
        ++years;
    const QDate first = m_today.addYears(-years);
    // Every free slot as (day offset, dentist, hour); a partial shuffle picks distinct ones.
    std::vector<quint64> cells;
    for (QDate d = first; d <= last; d = d.addDays(1))
        for (size_t k = 0; k < m_dentists.size(); ++k)
            for (qsizetype h = 0; h < m_dentists[k].hours[d.dayOfWeek()].size(); ++h)
                cells.push_back((quint64(first.daysTo(d)) << 24) | (quint64(k) << 8) | quint64(h));
    const size_t wanted = std::min(cells.size(), size_t(m_v.appointments));
    for (size_t i = 0; i < wanted; ++i)
        std::swap(cells[i], cells[i + size_t(m_r.below(int(cells.size() - i)))]);
    cells.resize(wanted);
    std::sort(cells.begin(), cells.end()); // booked in day order

    Stmt ins(m_db, "insert into agenda (paciente_id, agenda_data_cadastro, agenda_data_consulta, hora_id, "
                   "agenda_observacao, dentista_id, agenda_falta_atraso, agenda_motivo_falta_atraso) "
                   "values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    for (quint64 code : cells) {
        const QDate day = first.addDays(qint64(code >> 24));
        const DentistHours& h = m_dentists[size_t((code >> 8) & 0xffff)];
        const QString& hour = h.hours[day.dayOfWeek()][qsizetype(code & 0xff)];
        const bool past = day < m_today;
        const bool missed = past && m_r.chance(0.06);
        ins.integer(1, m_r.between(1, m_v.patients))
            .date(2, std::min(day.addDays(-m_r.below(30)), m_today))
            .date(3, day)
            .text(4, hour)
            .optional(5, m_r.chance(0.15) ? QString::fromUtf8(
                                                appointmentNotes()[m_r.below(int(appointmentNotes().size()))])
                                          : QString())
            .integer(6, h.id)
            .optional(7, past ? QString::fromLatin1(missed ? "S" : "N") : QString())
            .optional(8, missed ? QString::fromUtf8(absenceReasons()[m_r.below(int(absenceReasons().size()))])
                                : QString())
            .run();
        ++m_out.appointments;
    }
}

int scaledCount(int value, double factor) {
    if (value <= 0) return value;
    return std::max(1, int(std::llround(value * factor)));
}

} // namespace

Volumes Volumes::scaled(double factor) const {
    Volumes v = *this;
    for (int* n : {&v.patients, &v.consultations, &v.items, &v.installments, &v.appointments, &v.contacts,
                   &v.products, &v.bills})
        *n = scaledCount(*n, factor);
    return v;
}

QString defaultInstallDb() {
#ifdef DV_INSTALL_DB
    return QStringLiteral(DV_INSTALL_DB);
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../app/banco/DBDentrivale.mdb");
#endif
}

Generated generateDatabase(const QString& file, const Volumes& v, quint32 seed, const QString& installDb) {
    QElapsedTimer timer;
    timer.start();
    if (!QFile::exists(installDb))
        throw PlainError(QStringLiteral("%1: the installation database is missing").arg(installDb));
    const QFileInfo target(file);
    if (!QDir().mkpath(target.absolutePath()))
        throw PlainError(QStringLiteral("%1: cannot create the folder").arg(target.absolutePath()));

    QString tmp;
    {
        QTemporaryFile reserve(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            throw PlainError(QStringLiteral("%1: %2").arg(target.absolutePath(), reserve.errorString()));
        tmp = reserve.fileName();
    }
    Generated out;
    try {
        QFile::remove(tmp);
        if (!QFile::copy(installDb, tmp))
            throw PlainError(QStringLiteral("%1: cannot copy %2").arg(tmp, installDb));
        QFile(tmp).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        {
            Db db(tmp);
            Generator(db, v, seed, out).run();
            db.close();
        }
        const QByteArray from = QFile::encodeName(tmp), to = QFile::encodeName(target.absoluteFilePath());
        if (std::rename(from.constData(), to.constData()) != 0)
            throw PlainError(QStringLiteral("%1: %2").arg(target.absoluteFilePath(),
                                                          QString::fromLocal8Bit(std::strerror(errno))));
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    out.bytes = QFileInfo(target.absoluteFilePath()).size();
    out.seconds = double(timer.nsecsElapsed()) / 1e9;
    return out;
}

} // namespace dv::bench
