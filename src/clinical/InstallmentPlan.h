#pragma once
#include "core/db/Currency.h"
#include <QDate>
#include <QList>
#include <QString>
#include <optional>

namespace dv {

// One generated installment: its amount and due date.
struct PlannedInstallment {
    Currency value;
    QDate due;
};

// The number typed in "Número de Parcelas": a whole number of at least 1, blanks
// around it allowed; nullopt for anything else.
std::optional<int> parseInstallmentCount(const QString& text);

// The monthly interest typed in "Júros Mês(%)", decimal comma or point; an empty text
// is no interest (a zero rate), text that is no number gives nullopt.
std::optional<Currency> parseInterestRate(const QString& text);

// Splits a consultation's total into `count` installments. Each regular installment is
// the total divided into whole units; the first carries what is left, cents included,
// and no interest. With a rate, every installment after the first grows by that flat
// percentage, rounded to the cent so that a payment of the amount shown settles it.
// Due dates step month by month from the first due date.
QList<PlannedInstallment> planInstallments(Currency total, int count, Currency monthlyRate,
                                           const QDate& firstDue);

} // namespace dv
