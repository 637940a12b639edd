#pragma once
#include <QString>

namespace dv {

class Field;

// The edit mask a maintenance screen gives a field: the mask the field was declared
// with, or else the one its designed (Portuguese) label names — "CPF", "CGC"/"CNPJ",
// "CEP", "Fone"/"Fax"/"Celular"/"Residencial" — and empty when it names none. The
// shown label is never read, so a translated screen stores what a Portuguese one does.
QString editMaskFor(const Field& field);

// The document number a field holds, by its designed label: the maintenance screens
// check CPF and CNPJ digits before saving.
enum class DocumentKind { None, Cpf, Cnpj };
DocumentKind documentKindOf(const Field& field);

// Check digits of a CPF (11 digits, no dots or hyphen). False after showing
// "O CPF deve conter 11 dígitos!" or "CPF errado, corrija-o!" as a warning.
// Throws dv::PlainError when a character is not a digit.
bool checkCpf(const QString& text);

// The same for a CNPJ (14 digits): "O Cnpj deve conter 14 dígitos!",
// "Cnpj errado, corrija-o!".
bool checkCnpj(const QString& text);

// Portuguese name capitalization: every word after a blank starts with a
// capital, except the particles da, do, de, em, na, no, nas, nos, das, dos,
// com, e, à (when followed by a blank); only A-Z and the accented capitals
// ÃÁÀÂÉÊÍÕÓÔÚÜÇ change case. "MARIA DAS DORES" -> "Maria das Dores".
QString capitalizeName(const QString& text);

} // namespace dv
