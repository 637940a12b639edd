#pragma once
#include <QString>

// The patients due for a return visit, shared by the return screen and its checks.
namespace dv::returns {

// Active patients whose latest consultation (the highest number on the latest day)
// is before :limite and who have nothing booked from :hoje on, with that
// consultation's dentist (dentista_id null when that dentist's record is gone) and
// their latest contact attempt. In no particular order:
// the screen orders the rows itself (dueOrder()).
QString dueSql();

// The list's order as a dataset sort: by that day, then name as Portuguese speakers
// expect it, then patient code so that namesakes always come in the same order.
QString dueOrder();

} // namespace dv::returns
