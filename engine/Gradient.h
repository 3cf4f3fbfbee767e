#pragma once

#include "color/ColorValue.h"
#include "engine/ColorSpace.h"
#include "engine/ColorizeOptions.h"

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

// The rounded colour of every character position for any blend and spread.
//  - Classic spread: position p lies in segment i = p / L at fraction (p % L) / L, L the
//    classic segment length; the last colour runs toward itself.
//  - Even spread: p of N lies at t = p * (k - 1) / (N - 1) along the k colours (t = 0 when
//    N = 1), segment i = min(floor(t), k - 2), fraction t - i.
//  - Rgb blend with the classic spread is SegmentGradient exactly, the classic output
//    (components may exceed 255 for values above 0xFFFFFF, as the classic arithmetic does);
//    otherwise each stop is taken as 8-bit sRGB, mixed in the blend's space and rounded half
//    to even, and a fraction of exactly 0 or 1 gives the stop colour itself.
class ColorRamp {
public:
    // count: the number of character positions N. Needs at least one active colour.
    ColorRamp(const ActiveColors& colors, qsizetype count, Blend blend, Spread spread);

    // As SegmentGradient::fill, with rounded colours.
    qsizetype fill(qsizetype first, std::span<colorspace::Srgb8> out) const;

private:
    template <typename Mix>
    qsizetype fillMixed(qsizetype first, std::span<colorspace::Srgb8> out, Mix mix) const;

    SegmentGradient classic_;
    Blend blend_;
    Spread spread_;
    qsizetype count_;
    int stopCount_;
    std::array<colorspace::Srgb8, kSlotCount> stops_{};
    // From each stop toward the next, worked out once rather than per character.
    std::array<colorspace::OkLabSweep, kSlotCount> labSweeps_{};
    std::array<colorspace::OkLchSweep, kSlotCount> lchSweeps_{};
};

} // namespace tintwave::engine
