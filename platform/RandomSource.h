#pragma once

namespace tintwave::platform {

// The program's one pseudo-random generator.
class RandomSource {
public:
    virtual ~RandomSource() = default;

    // The next number, uniform in [0, 1) in single precision; never 1.0f, so
    // int(next() * 256) is always 0 .. 255.
    virtual float next() = 0;
};

} // namespace tintwave::platform
