#pragma once

#include <QString>

namespace tintwave::platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Clears the clipboard and puts this plain text on it.
    virtual void setText(const QString& text) = 0;
};

} // namespace tintwave::platform
