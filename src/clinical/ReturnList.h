#pragma once
#include <QString>

// The patients due for a return visit, shared by the return screen and its checks.
namespace dv::returns {

// Active patients whose latest consultation (the highest number on the latest day)
// is before :limite and who have nothing booked from :hoje on, with that
// consultation's dentist and their latest contact attempt; by that day, then name.
QString dueSql();

} // namespace dv::returns
