#include "FieldUtils.h"
#include "CodeTexts.h"
#include "Services.h"
#include "db/DbErrors.h"
#include "db/Field.h"
#include <QList>
#include <array>

namespace dv {

namespace {

QList<int> digitsOf(const QString& text) {
    QList<int> digits;
    digits.reserve(text.size());
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            throw PlainError(dv::text("'%1' não é um número válido").arg(text));
        digits.append(c.unicode() - '0');
    }
    return digits;
}

// s mod 11: 0 gives 0, otherwise 11 - r, and 10 becomes 0.
int checkDigit(const QList<int>& digits, const int* weights, int count) {
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += weights[i] * digits.at(i);
    const int r = sum % 11;
    const int digit = r == 0 ? 0 : 11 - r;
    return digit == 10 ? 0 : digit;
}

bool checkNumber(const QString& text, int length, const int* firstWeights, const int* secondWeights,
                 const QString& lengthMessage, const QString& wrongMessage) {
    if (text.size() != length) {
        services().dialogs().warning(lengthMessage);
        return false;
    }
    const QList<int> d = digitsOf(text);
    // One digit repeated (000.000.000-00, 111.111.111-11) passes the check digits, but
    // no such number is issued.
    if (d.count(d.first()) == length || checkDigit(d, firstWeights, length - 2) != d.at(length - 2) ||
        checkDigit(d, secondWeights, length - 1) != d.at(length - 1)) {
        services().dialogs().warning(wrongMessage);
        return false;
    }
    return true;
}

const QString lowerAccented = QStringLiteral("ãáàâéêíõóôúüç");
const QString upperAccented = QStringLiteral("ÃÁÀÂÉÊÍÕÓÔÚÜÇ");

QChar toLower(QChar c) {
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) return QChar(c.unicode() + ('a' - 'A'));
    const qsizetype i = upperAccented.indexOf(c);
    return i < 0 ? c : lowerAccented.at(i);
}

QChar toUpper(QChar c) {
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) return QChar(c.unicode() - ('a' - 'A'));
    const qsizetype i = lowerAccented.indexOf(c);
    return i < 0 ? c : upperAccented.at(i);
}

const std::array<QString, 13> particles = {
    QStringLiteral("da "),  QStringLiteral("do "),  QStringLiteral("de "),  QStringLiteral("em "),
    QStringLiteral("na "),  QStringLiteral("no "),  QStringLiteral("nas "), QStringLiteral("nos "),
    QStringLiteral("das "), QStringLiteral("dos "), QStringLiteral("com "), QStringLiteral("e "),
    QStringLiteral("à ")};

} // namespace

QString editMaskFor(const Field& field) {
    if (!field.designedMask().isEmpty()) return field.designedMask();
    const QString l = field.designedLabel().trimmed().toUpper();
    if (l.contains(QLatin1String("CPF"))) return QStringLiteral("999.999.999-99;0;_");
    if (l.contains(QLatin1String("CGC"))) return QStringLiteral("99.999.999/9999-99;0;_");
    if (l.contains(QLatin1String("CNPJ"))) return QStringLiteral("99.999.999/9999-99;0;_");
    if (l.contains(QLatin1String("CEP"))) return QStringLiteral("99999-999;0;_");
    for (const char* word : {"FONE", "FAX", "CELULAR", "RESIDENCIAL"})
        if (l.contains(QLatin1String(word))) return QStringLiteral("99(999)99999-9999;1;_");
    return QString();
}

DocumentKind documentKindOf(const Field& field) {
    const QString l = field.designedLabel().toUpper();
    if (l.contains(QLatin1String("CPF"))) return DocumentKind::Cpf;
    if (l.contains(QLatin1String("CGC")) || l.contains(QLatin1String("CNPJ"))) return DocumentKind::Cnpj;
    return DocumentKind::None;
}

bool checkCpf(const QString& text) {
    static const int first[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int second[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkNumber(text, 11, first, second, dv::text("O CPF deve conter 11 dígitos!"),
                       dv::text("CPF errado, corrija-o!"));
}

bool checkCnpj(const QString& text) {
    static const int first[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int second[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkNumber(text, 14, first, second, dv::text("O Cnpj deve conter 14 dígitos!"),
                       dv::text("Cnpj errado, corrija-o!"));
}

QString capitalizeName(const QString& text) {
    if (text.isEmpty()) return text;
    QString result = text;
    for (QChar& c : result)
        c = toLower(c);
    result[0] = toUpper(result.at(0));
    for (qsizetype i = 0; i + 1 < result.size(); ++i) {
        if (result.at(i) != QLatin1Char(' ')) continue;
        const QStringView rest = QStringView(result).mid(i + 1);
        bool particle = false;
        for (const QString& p : particles) {
            if (rest.startsWith(p)) {
                particle = true;
                break;
            }
        }
        if (!particle) result[i + 1] = toUpper(result.at(i + 1));
    }
    return result;
}

} // namespace dv
