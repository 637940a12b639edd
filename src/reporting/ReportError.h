#pragma once
#include "core/db/DbErrors.h"

namespace dv {

// A report that cannot be read or run: a malformed project file, an unknown report,
// a data connection that no screen registered, a field its dataset does not have.
// The error translator shows it with its text.
class ReportError : public Error {
public:
    using Error::Error;
    QString className() const override { return QStringLiteral("EReportError"); }
};

} // namespace dv
