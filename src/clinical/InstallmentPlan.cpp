#include "InstallmentPlan.h"
#include "core/DateUtils.h"

namespace dv {

std::optional<int> parseInstallmentCount(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1) return std::nullopt;
    return n;
}

std::optional<Currency> parseInterestRate(const QString& text) {
    if (text.trimmed().isEmpty()) return Currency();
    return Currency::parse(text.trimmed());
}

QList<PlannedInstallment> planInstallments(Currency total, int count, Currency monthlyRate,
                                           const QDate& firstDue) {
    QList<PlannedInstallment> plan;
    if (count < 1) return plan;
    const Currency regular = Currency::fromRaw(total.raw() / count).truncatedToUnits();
    const Currency first = total - regular * count + regular;
    const Currency withInterest = regular + regular.percentage(monthlyRate);
    plan.reserve(count);
    QDate due = firstDue;
    for (int i = 1; i <= count; ++i) {
        due = installmentDueDate(i, firstDue, due);
        plan.append({i == 1 ? first : withInterest, due});
    }
    return plan;
}

} // namespace dv
