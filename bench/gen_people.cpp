#include "gen_people.h"
#include <iterator>

namespace dv::bench {

namespace {

QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    out.reserve(qsizetype(list.size()));
    for (const char* w : list)
        out << QString::fromUtf8(w);
    return out;
}

const QStringList& femaleNames() {
    static const QStringList l =
        words({"Maria",    "Ana",        "Francisca", "Antônia",   "Adriana",   "Juliana", "Márcia",
               "Fernanda", "Patrícia",   "Aline",     "Sandra",    "Camila",    "Amanda",  "Bruna",
               "Jéssica",  "Letícia",    "Júlia",     "Luciana",   "Vanessa",   "Mariana", "Gabriela",
               "Vera",     "Vitória",    "Larissa",   "Cláudia",   "Beatriz",   "Luana",   "Rita",
               "Sônia",    "Renata",     "Eliane",    "Josefa",    "Simone",    "Natália", "Cristiane",
               "Carla",    "Débora",     "Rosângela", "Jaqueline", "Rosa",      "Daniela", "Aparecida",
               "Marlene",  "Terezinha",  "Raimunda",  "Andréia",   "Fabiana",   "Lúcia",   "Raquel",
               "Ângela",   "Rafaela",    "Joana",     "Luzia",     "Elaine",    "Daniele", "Regina",
               "Daiane",   "Alessandra", "Sabrina",   "Tatiane",   "Mônica",    "Valéria", "Tânia",
               "Inês",     "Conceição",  "Helena",    "Alícia",    "Lívia",     "Cecília", "Heloísa",
               "Isadora",  "Lorena",     "Emanuelly", "Sofia",     "Valentina", "Laís",    "Thaís",
               "Flávia",   "Glória",     "Irene",     "Célia"});
    return l;
}

const QStringList& maleNames() {
    static const QStringList l =
        words({"José",     "João",     "Antônio",   "Francisco", "Carlos",  "Paulo",   "Pedro",    "Lucas",
               "Luiz",     "Marcos",   "Luís",      "Gabriel",   "Rafael",  "Daniel",  "Marcelo",  "Bruno",
               "Eduardo",  "Felipe",   "Raimundo",  "Rodrigo",   "Manoel",  "Mateus",  "André",    "Fernando",
               "Fábio",    "Leonardo", "Gustavo",   "Guilherme", "Leandro", "Tiago",   "Anderson", "Ricardo",
               "Márcio",   "Jorge",    "Sebastião", "Alexandre", "Roberto", "Edson",   "Diego",    "Vitor",
               "Sérgio",   "Cláudio",  "Matheus",   "Thiago",    "Geraldo", "Adriano", "Luciano",  "Júlio",
               "Renato",   "Alex",     "Vinícius",  "Rogério",   "Samuel",  "Ronaldo", "Mário",    "Flávio",
               "Douglas",  "Igor",     "Davi",      "Otávio",    "Caio",    "Heitor",  "Benedito", "Joaquim",
               "Henrique", "Arthur",   "Enzo",      "Lourenço",  "Nícolas", "Estêvão", "Inácio",   "Valdir"});
    return l;
}

const QStringList& surnames() {
    static const QStringList l =
        words({"Silva",    "Santos",     "Oliveira",   "Souza",     "Rodrigues",  "Ferreira", "Alves",
               "Pereira",  "Lima",       "Gomes",      "Costa",     "Ribeiro",    "Martins",  "Carvalho",
               "Almeida",  "Lopes",      "Soares",     "Fernandes", "Vieira",     "Barbosa",  "Rocha",
               "Dias",     "Nascimento", "Andrade",    "Moreira",   "Nunes",      "Marques",  "Machado",
               "Mendes",   "Freitas",    "Cardoso",    "Ramos",     "Gonçalves",  "Santana",  "Teixeira",
               "Araújo",   "Conceição",  "Magalhães",  "Assunção",  "Brandão",    "Galvão",   "Simões",
               "Sampaio",  "Guimarães",  "Falcão",     "Monteiro",  "Cavalcanti", "Pinheiro", "Azevedo",
               "Castro",   "Campos",     "Moura",      "Correia",   "Batista",    "Peixoto",  "Rezende",
               "Brito",    "Leão",       "Figueiredo", "Aragão",    "Estêvão",    "Tavares",  "Macêdo",
               "Siqueira", "Bezerra",    "Cunha",      "Prado",     "Amorim",     "Queiroz",  "Pimentel",
               "Fontes",   "Bastos"});
    return l;
}

const QStringList& particles() {
    static const QStringList l = words({"da", "dos", "de", "do", "das"});
    return l;
}

struct City {
    const char* name;
    const char* uf;
    int cepFirst; // first five digits of the city's postal codes
    int cepSpan;
    const char* area;
};

// Most patients live around the clinic (Vale do Paraíba); some come from afar.
const City kLocal[] = {
    {"São José dos Campos", "SP", 12200, 100, "12"},
    {"Jacareí", "SP", 12300, 30, "12"},
    {"Taubaté", "SP", 12000, 120, "12"},
    {"Caçapava", "SP", 12280, 10, "12"},
    {"Pindamonhangaba", "SP", 12400, 40, "12"},
    {"Guaratinguetá", "SP", 12500, 20, "12"},
    {"Santa Branca", "SP", 12380, 5, "12"},
    {"Monteiro Lobato", "SP", 12250, 5, "12"},
};
const City kFar[] = {
    {"São Paulo", "SP", 1000, 4999, "11"},       {"Campinas", "SP", 13000, 150, "19"},
    {"Rio de Janeiro", "RJ", 20000, 3999, "21"}, {"Niterói", "RJ", 24000, 400, "21"},
    {"Belo Horizonte", "MG", 30000, 1999, "31"}, {"Juiz de Fora", "MG", 36000, 100, "32"},
    {"Curitiba", "PR", 80000, 2000, "41"},       {"Florianópolis", "SC", 88000, 200, "48"},
    {"Porto Alegre", "RS", 90000, 2000, "51"},   {"Salvador", "BA", 40000, 2000, "71"},
    {"Recife", "PE", 50000, 1000, "81"},         {"Fortaleza", "CE", 60000, 1000, "85"},
    {"Goiânia", "GO", 74000, 1000, "62"},        {"Brasília", "DF", 70000, 2000, "61"},
    {"Belém", "PA", 66000, 500, "91"},           {"Manaus", "AM", 69000, 100, "92"},
    {"São Luís", "MA", 65000, 100, "98"},        {"Maceió", "AL", 57000, 100, "82"},
    {"João Pessoa", "PB", 58000, 100, "83"},     {"Vitória", "ES", 29000, 100, "27"},
    {"Cuiabá", "MT", 78000, 100, "65"},          {"Teresina", "PI", 64000, 100, "86"},
};

const QStringList& districts() {
    static const QStringList l = words({"Centro",
                                        "Jardim Apolo",
                                        "Vila Adyana",
                                        "Jardim Aquarius",
                                        "Bosque dos Eucaliptos",
                                        "Vila Ema",
                                        "Jardim Satélite",
                                        "Parque Industrial",
                                        "Jardim das Indústrias",
                                        "Vila Industrial",
                                        "Santana",
                                        "Jardim Paulista",
                                        "Urbanova",
                                        "Jardim Esplanada",
                                        "Vila Betânia",
                                        "Jardim São Dimas",
                                        "Monte Castelo",
                                        "Vista Verde",
                                        "Jardim Oriente",
                                        "Jardim América",
                                        "Vila São Bento",
                                        "Parque Residencial Aquarius",
                                        "Jardim Motorama",
                                        "Vila Maria",
                                        "Jardim Morumbi",
                                        "Conjunto Habitacional Dom Pedro",
                                        "Vila Tesouro",
                                        "Jardim Uirá",
                                        "Bairro do Limoeiro",
                                        "Jardim Castanheira",
                                        "Parque Nova Esperança",
                                        "Vila Paiva"});
    return l;
}

const QStringList& streetNames() {
    static const QStringList l = words({"Sebastião Hummel",
                                        "São João",
                                        "Paraibuna",
                                        "Vilaça",
                                        "Andrômeda",
                                        "Euclides Miragaia",
                                        "Siqueira Campos",
                                        "Rubião Júnior",
                                        "Cassiano Ricardo",
                                        "Teopompo de Vasconcelos",
                                        "Dolzani Ricardo",
                                        "Nove de Julho",
                                        "Francisco José Longo",
                                        "Heitor Villa-Lobos",
                                        "Madre Paula de São José",
                                        "Olívio Gomes",
                                        "Tiradentes",
                                        "Dom Pedro II",
                                        "Barão do Rio Branco",
                                        "Marechal Deodoro",
                                        "Sete de Setembro",
                                        "Quinze de Novembro",
                                        "Santos Dumont",
                                        "Princesa Isabel",
                                        "José Bonifácio",
                                        "Rui Barbosa",
                                        "Monteiro Lobato",
                                        "Carlos Gomes",
                                        "Castro Alves",
                                        "Graça Aranha",
                                        "Jorge Amado",
                                        "Cecília Meireles",
                                        "das Acácias",
                                        "dos Ipês",
                                        "das Orquídeas",
                                        "dos Jacarandás",
                                        "das Palmeiras",
                                        "São Benedito"});
    return l;
}

const QStringList& streetKinds() {
    static const QStringList l =
        words({"Rua", "Rua", "Rua", "Rua", "Avenida", "Avenida", "Travessa", "Alameda", "Praça"});
    return l;
}

const QStringList& complements() {
    static const QStringList l = words({"Apto 12", "Apto 34", "Apto 101", "Apto 203", "Casa 2", "Casa 3",
                                        "Fundos", "Bloco B", "Bloco C Apto 41", "Sala 5", "Loja 1"});
    return l;
}

struct Profession {
    const char* male;
    const char* female;
};
const Profession kProfessions[] = {
    {"Professor", "Professora"},
    {"Engenheiro", "Engenheira"},
    {"Comerciante", "Comerciante"},
    {"Estudante", "Estudante"},
    {"Aposentado", "Aposentada"},
    {"Advogado", "Advogada"},
    {"Enfermeiro", "Enfermeira"},
    {"Motorista", "Motorista"},
    {"Vendedor", "Vendedora"},
    {"Metalúrgico", "Do lar"},
    {"Analista de sistemas", "Analista de sistemas"},
    {"Técnico em eletrônica", "Técnica em enfermagem"},
    {"Médico", "Médica"},
    {"Contador", "Contadora"},
    {"Autônomo", "Autônoma"},
    {"Bancário", "Bancária"},
    {"Servidor público", "Servidora pública"},
    {"Cabeleireiro", "Cabeleireira"},
    {"Pedreiro", "Costureira"},
    {"Eletricista", "Secretária"},
    {"Mecânico", "Recepcionista"},
    {"Agricultor", "Agricultora"},
    {"Farmacêutico", "Farmacêutica"},
    {"Arquiteto", "Arquiteta"},
};

const QStringList& mailHosts() {
    static const QStringList l =
        words({"gmail.com", "gmail.com", "gmail.com", "hotmail.com", "outlook.com", "yahoo.com.br",
               "uol.com.br", "bol.com.br", "terra.com.br", "ig.com.br"});
    return l;
}

const QStringList& carriers() {
    static const QStringList l = words({"12", "14", "15", "21", "31", "41"});
    return l;
}

QString digits(Random& r, int n) {
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i)
        s += QChar(u'0' + r.below(10));
    return s;
}

int checkDigit(const QString& d, int count, int firstWeight, int wrapAt) {
    int sum = 0, w = firstWeight;
    for (int i = 0; i < count; ++i) {
        sum += d[i].digitValue() * w;
        w = (w == 2) ? wrapAt : w - 1;
    }
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

} // namespace

Random::Random(quint64 seed) {
    // PCG32 seeding as its authors describe it.
    m_inc = (seed << 1u) | 1u;
    next();
    m_state += 0x853c49e6748fea9bULL + seed;
    next();
}

quint32 Random::next() {
    const quint64 old = m_state;
    m_state = old * 6364136223846793005ULL + m_inc;
    const quint32 xorshifted = quint32(((old >> 18u) ^ old) >> 27u);
    const quint32 rot = quint32(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32 - rot) & 31));
}

int Random::below(int n) {
    return int((quint64(next()) * quint64(n)) >> 32);
}

int Random::between(int lo, int hi) {
    return lo + below(hi - lo + 1);
}

bool Random::chance(double p) {
    return next() < p * 4294967296.0;
}

QDate Random::dayBetween(const QDate& first, const QDate& last) {
    const qint64 span = first.daysTo(last);
    if (span <= 0) return first;
    return first.addDays(qint64((quint64(next()) * quint64(span + 1)) >> 32));
}

People::People(Random& random) : m_r(random) {}

QString People::surname() {
    return m_r.pick(surnames());
}

QString People::fullName(bool female) {
    const QStringList& first = female ? femaleNames() : maleNames();
    QString name = m_r.pick(first);
    if (m_r.chance(0.35)) {
        const QString second = m_r.pick(first);
        if (second != name) name += QLatin1Char(' ') + second;
    }
    const int count = m_r.chance(0.6) ? 2 : (m_r.chance(0.5) ? 1 : 3);
    for (int i = 0; i < count; ++i) {
        if (m_r.chance(0.3)) name += QLatin1Char(' ') + m_r.pick(particles());
        name += QLatin1Char(' ') + surname();
    }
    return name.left(100);
}

QString People::cpf() {
    QString d = digits(m_r, 9);
    d += QChar(u'0' + checkDigit(d, 9, 10, 10));
    d += QChar(u'0' + checkDigit(d, 10, 11, 11));
    return d;
}

QString People::cnpj() {
    QString d = digits(m_r, 8) + QStringLiteral("0001");
    d += QChar(u'0' + checkDigit(d, 12, 5, 9));
    d += QChar(u'0' + checkDigit(d, 13, 6, 9));
    return d;
}

QString People::rg() {
    const int last = m_r.below(11);
    return QStringLiteral("%1.%2.%3-%4")
        .arg(digits(m_r, 2), digits(m_r, 3), digits(m_r, 3))
        .arg(last == 10 ? QStringLiteral("X") : QString::number(last));
}

QString People::phone(bool mobile, const QString& areaCode) {
    const QString number = mobile ? QLatin1Char('9') + digits(m_r, 4) : QLatin1Char('3') + digits(m_r, 4);
    return QStringLiteral("%1(0%2)%3-%4").arg(m_r.pick(carriers()), areaCode, number, digits(m_r, 4));
}

QString People::shortPhone(const QString& areaCode) {
    return QStringLiteral("(%1)%2%3-%4").arg(areaCode, QChar(u'3'), digits(m_r, 3), digits(m_r, 4));
}

Address People::address() {
    Address a;
    const City& c =
        m_r.chance(0.85) ? kLocal[m_r.below(int(std::size(kLocal)))] : kFar[m_r.below(int(std::size(kFar)))];
    a.street = m_r.pick(streetKinds()) + QLatin1Char(' ') +
               (m_r.chance(0.5)
                    ? m_r.pick(streetNames())
                    : m_r.pick(m_r.chance(0.5) ? maleNames() : femaleNames()) + QLatin1Char(' ') + surname());
    a.number = QString::number(m_r.between(1, m_r.chance(0.8) ? 999 : 4500));
    if (m_r.chance(0.3)) a.complement = m_r.pick(complements());
    a.district = m_r.pick(districts());
    a.city = QString::fromUtf8(c.name);
    a.uf = QString::fromLatin1(c.uf);
    a.cep = QStringLiteral("%1%2")
                .arg(c.cepFirst + m_r.below(c.cepSpan), 5, 10, QLatin1Char('0'))
                .arg(m_r.below(1000), 3, 10, QLatin1Char('0'));
    return a;
}

QString People::email(const QString& name) {
    const QStringList parts = plainAscii(name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QString user = parts.value(0);
    if (parts.size() > 1)
        user += (m_r.chance(0.5) ? QStringLiteral(".") : QStringLiteral("_")) + parts.last();
    if (m_r.chance(0.5)) user += QString::number(m_r.between(1, 99));
    return user + QLatin1Char('@') + m_r.pick(mailHosts());
}

QString People::companyName() {
    switch (m_r.below(6)) {
    case 0:
        return surname() + QStringLiteral(" & ") + surname() + QStringLiteral(" Ltda");
    case 1:
        return QStringLiteral("Dental ") + surname() + QStringLiteral(" Comércio de Produtos Odontológicos");
    case 2:
        return QStringLiteral("Laboratório de Prótese ") + surname();
    case 3:
        return QStringLiteral("Distribuidora Odontológica ") + surname();
    case 4:
        return QStringLiteral("Odonto Suprimentos ") + surname() + QStringLiteral(" ME");
    default:
        return QStringLiteral("Clínica de Radiologia ") + surname();
    }
}

Person People::person(const QDate& today) {
    Person p;
    p.female = m_r.chance(0.54);
    p.name = fullName(p.female);
    if (m_r.chance(0.98)) p.birth = m_r.dayBetween(today.addYears(-90), today.addYears(-2));
    p.cpf = cpf();
    p.rg = rg();
    const Profession& prof = kProfessions[m_r.below(int(std::size(kProfessions)))];
    p.profession = QString::fromUtf8(p.female ? prof.female : prof.male);
    if (p.birth.isValid() && p.birth.daysTo(today) < 18 * 365) p.profession = QStringLiteral("Estudante");
    p.address = address();
    const City* local = nullptr;
    for (const City& c : kLocal)
        if (p.address.city == QString::fromUtf8(c.name)) local = &c;
    const QString area = local ? QString::fromLatin1(local->area) : QStringLiteral("11");
    if (m_r.chance(0.6)) p.phone = phone(false, area);
    if (m_r.chance(0.2)) p.workPhone = phone(false, area);
    if (m_r.chance(0.9)) p.mobile = phone(true, area);
    if (m_r.chance(0.5)) p.email = email(p.name);
    return p;
}

QString plainAscii(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.unicode() < 128) out += c.toLower();
    return out;
}

} // namespace dv::bench
