#pragma once
#include <QString>

namespace dv {

// The shell's "open": a file with its associated program, or a web address.
class ShellService {
public:
    virtual ~ShellService() = default;
    // A file path (absolute, or as the system builds it with '\' separators) or
    // a URL with a scheme (http:, https:, mailto:, file:). False when nothing
    // could be started, a local file that does not exist included: callers say so.
    virtual bool open(const QString& fileOrUrl) = 0;
};

} // namespace dv
