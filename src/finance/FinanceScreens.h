#pragma once

namespace dv {
class ScreenRegistry;
// Accounts payable and the receivables selections.
void registerFinanceScreens(ScreenRegistry& r);
} // namespace dv
