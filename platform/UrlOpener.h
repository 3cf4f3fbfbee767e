#pragma once

#include <QString>

namespace tintwave::platform {

// Opens an address with the user's default program.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual bool open(const QString& url) = 0;
};

} // namespace tintwave::platform
