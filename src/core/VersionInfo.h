#pragma once
#include <QString>

namespace dv {

// The file version of an executable as "%d.%d.%d.%d". The build embeds the
// version in every program as a marker; a file without one raises OsError.
QString versionOfExecutable(const QString& path);

// The version this program was built with (the same text the marker holds).
QString builtVersion();

} // namespace dv
