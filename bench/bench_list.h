#pragma once
#include <QString>

namespace dv::bench {

// The patient list as its dataset opens it (query, first sort, grid shown), then a
// sort by another column, prefix searches and a criteria filter; each run on a fresh
// connection, beside the bare loop over the same statement on a fresh connection
// opened the same way. With a server URL the same figures on PostgreSQL beside them.
int patientList(const QString& file, int runs, const QString& server);

// In this fresh process: resident memory before and after the list opens, the
// engine's page cache apart, the peak, against the list's raw non-blob bytes.
int patientListMemory(const QString& file);

} // namespace dv::bench
