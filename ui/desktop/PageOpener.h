#pragma once

#include <QUrl>

namespace tilava {

// The way to the user's web browser; tests stand in for it.
class PageOpener {
public:
    virtual ~PageOpener() = default;
    // Opens the page in the default browser; false when the system could not.
    virtual bool Open(const QUrl& address) = 0;
};

// Opens pages through the desktop (QDesktopServices).
class SystemPageOpener final : public PageOpener {
public:
    bool Open(const QUrl& address) override;
};

} // namespace tilava
