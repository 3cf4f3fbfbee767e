#pragma once

#include "color/ColorValue.h"

namespace tintwave::platform {

// Resolves a system colour reference (a negative ColorValue) to the plain colour it
// stands for on this desktop.
class SystemColors {
public:
    virtual ~SystemColors() = default;
    // Plain colours come back unchanged; references to unknown system colours resolve
    // to a sensible default, never to a negative value.
    virtual ColorValue resolve(ColorValue color) const = 0;
};

} // namespace tintwave::platform
