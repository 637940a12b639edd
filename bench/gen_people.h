#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace dv::bench {

// A small deterministic generator (PCG32): the same seed gives the same data
// on every machine and library version.
class Random {
public:
    explicit Random(quint64 seed);
    quint32 next();
    // 0 .. n-1 (n > 0).
    int below(int n);
    // lo .. hi, both included.
    int between(int lo, int hi);
    bool chance(double p);
    QDate dayBetween(const QDate& first, const QDate& last);
    const QString& pick(const QStringList& list) { return list[below(int(list.size()))]; }

private:
    quint64 m_state = 0;
    quint64 m_inc = 0;
};

struct Address {
    QString street; // "Rua ..." / "Avenida ..."
    QString number;
    QString complement; // often empty
    QString district;
    QString city;
    QString uf;
    QString cep; // 8 digits, as the patient screen stores it
};

struct Person {
    QString name;
    bool female = false;
    QDate birth; // invalid when not known
    QString cpf; // 11 digits with valid check digits
    QString rg;
    QString profession;
    QString phone; // "99(999)99999-9999" as the masks store them; may be empty
    QString workPhone;
    QString mobile;
    QString email;
    Address address;
};

// Brazilian names, documents, phones and addresses that look real.
class People {
public:
    explicit People(Random& random);

    Person person(const QDate& today);
    QString fullName(bool female);
    QString surname();
    QString cpf();
    QString cnpj();
    QString rg();
    // "99(999)99999-9999": carrier, area code with its leading 0, number.
    QString phone(bool mobile, const QString& areaCode);
    // "(99)9999-9999", the contact screens' mask.
    QString shortPhone(const QString& areaCode);
    Address address();
    QString email(const QString& name);
    QString companyName();

private:
    Random& m_r;
};

// Text without accents, lower case, for e-mail addresses and file names.
QString plainAscii(const QString& text);

} // namespace dv::bench
