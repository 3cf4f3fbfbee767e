#pragma once

#include "platform/RandomSource.h"

namespace tintwave::platform {

// Numbers from Qt's global generator, which the system seeds; the program never seeds it,
// so every run draws a different sequence.
class SystemRandomSource : public RandomSource {
public:
    float next() override;
};

} // namespace tintwave::platform
