#pragma once
#include "ShellService.h"
#include <QUrl>

namespace dv {

// The real shell "open": QDesktopServices::openUrl.
class DesktopShellService : public ShellService {
public:
    bool open(const QString& fileOrUrl) override;
    // What open() hands to the desktop: a URL with a scheme as it is, anything
    // else as a local file ('\' taken as a separator).
    static QUrl urlFor(const QString& fileOrUrl);
};

} // namespace dv
