#pragma once

#include <QString>

namespace tintwave::platform {

// The user-scheme entries at the end of the Schemes menu. Entry 0 is the fixed
// separator, which always exists; entries 1 .. highestIndex() are user schemes.
class SchemeMenu {
public:
    virtual ~SchemeMenu() = default;

    // Appends entry highestIndex() + 1 with this caption.
    virtual void appendEntry(const QString& caption) = 0;
    // Removes entries 1 .. highestIndex(); entry 0 stays.
    virtual void removeEntries() = 0;
    virtual int highestIndex() const = 0;
};

} // namespace tintwave::platform
