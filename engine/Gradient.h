#pragma once

#include "platform/ColorValue.h"

#include <QtGlobal>
#include <array>
#include <span>

namespace tintwave::engine {

// A colour with real-valued components, before rounding.
struct RealColor {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// The values of the filled slots (0 or more) in slot order, without gaps.
struct ActiveColors {
    std::array<ColorValue, kSlotCount> values{};
    int count = 0;
};

ActiveColors activeColors(const SlotValues& slotValues);

// The classic segment gradient: each active colour owns a segment of L positions,
// L = N for one colour and floor(N / (count - 1)) + 1 otherwise, and position j of
// segment i lies j / L of the way from colour i toward colour i + 1. The components are
// |start + j * step| with step = inc(start, end, L), in double precision.
class SegmentGradient {
public:
    // count: the number of character positions N. Needs at least one active colour.
    SegmentGradient(const ActiveColors& colors, qsizetype count);

    qsizetype segmentLength() const { return length_; }

    // Writes the colours of positions first, first + 1, ... into out, stopping early at
    // the last position; returns how many were written.
    qsizetype fill(qsizetype first, std::span<RealColor> out) const;

private:
    struct Segment {
        RealColor start;
        RealColor step;
    };
    std::array<Segment, kSlotCount> segments_{};
    int segmentCount_ = 0;
    qsizetype count_ = 0;
    qsizetype length_ = 0;
};

} // namespace tintwave::engine
