#pragma once

#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"
#include "engine/Gradient.h"

#include <QtGlobal>
#include <array>
#include <span>

// The gradient of animation frames. The active colours make a loop, the last running back to
// the first, and each frame moves the gradient on along it: in frame j of N, character i of L
// lies at (i / L + j / N) mod 1 of the loop.
namespace tintwave::engine {

// The most frames an animation may have.
inline constexpr qsizetype kMostFrames = 1000;

struct LoopPlace {
    int segment = 0;     // from active colour segment toward the next (the last toward the first)
    double fraction = 0; // 0 <= fraction < 1 of the way
    friend bool operator==(const LoopPlace&, const LoopPlace&) = default;
};

// Where character i of length lies in frame frame of frames on a loop of count colours;
// 1 <= frames <= kMostFrames, any frame (frame frames is frame 0 again). Worked out in whole
// numbers, so a character that lands on a colour gets it exactly.
LoopPlace loopPlace(qsizetype i, qsizetype length, qsizetype frame, qsizetype frames, int count);

// The rounded colours along the loop, mixed in the blend's space as ColorRamp mixes
// neighbouring colours (the spread has no part here).
class LoopRamp {
public:
    // length: the number of characters L. Needs at least one active colour.
    LoopRamp(const ActiveColors& colors, qsizetype length, Blend blend);

    // The colours of characters first, first + 1, ... in frame frame of frames, into out,
    // stopping early at the last character; returns how many were written.
    qsizetype fill(qsizetype frame, qsizetype frames, qsizetype first,
                   std::span<colorspace::Srgb8> out) const;

private:
    colorspace::Srgb8 at(LoopPlace place) const;

    Blend blend_;
    qsizetype length_;
    int count_;
    std::array<colorspace::Srgb8, kSlotCount> stops_{};
    // From each colour toward the next one round the loop.
    std::array<colorspace::OkLabSweep, kSlotCount> labSweeps_{};
    std::array<colorspace::OkLchSweep, kSlotCount> lchSweeps_{};
};

} // namespace tintwave::engine
