#pragma once

namespace dv {
class ScreenRegistry;
// Gives the opener the factories of the office registries: dentists and their
// hours, contacts, the company and the stock.
void registerOfficeScreens(ScreenRegistry& registry);
} // namespace dv
