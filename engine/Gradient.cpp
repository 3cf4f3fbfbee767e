#include "engine/Gradient.h"

#include "color/ColorProcs.h"
#include "engine/Rounding.h"

#include <algorithm>
#include <cmath>

// Built with -ffp-contract=off: start + j * step must round the product before the sum,
// or exact halves such as 127.5 could come out a hair off and round the other way.
namespace tintwave::engine {

using color::blue;
using color::green;
using color::inc;
using color::red;

ActiveColors activeColors(const SlotValues& slotValues) {
    ActiveColors active;
    for (ColorValue value : slotValues) {
        if (value >= 0) {
            active.values[static_cast<std::size_t>(active.count++)] = value;
        }
    }
    return active;
}

SegmentGradient::SegmentGradient(const ActiveColors& colors, qsizetype count)
    : segmentCount_(colors.count)
    , count_(count)
    , length_(colors.count <= 1 ? count : count / (colors.count - 1) + 1) {
    const double length = static_cast<double>(length_);
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue from = colors.values[static_cast<std::size_t>(i)];
        // The last colour has no successor and runs toward itself.
        const ColorValue to =
            i + 1 < colors.count ? colors.values[static_cast<std::size_t>(i + 1)] : from;
        Segment& s = segments_[static_cast<std::size_t>(i)];
        s.start = {double(red(from)), double(green(from)), double(blue(from))};
        s.step = {inc(red(from), red(to), length), inc(green(from), green(to), length),
                  inc(blue(from), blue(to), length)};
    }
}

qsizetype SegmentGradient::fill(qsizetype first, std::span<RealColor> out) const {
    if (length_ <= 0 || first >= count_) {
        return 0;
    }
    const qsizetype wanted =
        std::min<qsizetype>(static_cast<qsizetype>(out.size()), count_ - first);
    qsizetype segment = first / length_;
    qsizetype j = first % length_;
    for (qsizetype k = 0; k < wanted; ++k) {
        if (segment >= segmentCount_) {
            return k; // past the last segment: only when the positions outrun L * count
        }
        const Segment& s = segments_[static_cast<std::size_t>(segment)];
        const double jd = static_cast<double>(j);
        out[static_cast<std::size_t>(k)] = {std::abs(s.start.red + jd * s.step.red),
                                            std::abs(s.start.green + jd * s.step.green),
                                            std::abs(s.start.blue + jd * s.step.blue)};
        if (++j == length_) {
            j = 0;
            ++segment;
        }
    }
    return wanted;
}

} // namespace tintwave::engine

namespace tintwave::engine {

using colorspace::Srgb8;

ColorRamp::ColorRamp(const ActiveColors& colors, qsizetype count, Blend blend, Spread spread)
    : classic_(colors, count)
    , blend_(blend)
    , spread_(spread)
    , count_(count)
    , stopCount_(colors.count) {
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        // Values above 0xFFFFFF have no 8-bit blue; the mixing spaces need one.
        const Srgb8 stop{red(c), green(c), std::clamp(blue(c), 0, 255)};
        stops_[std::size_t(i)] = stop;
        labs_[std::size_t(i)] = colorspace::toOkLab(colorspace::toLinear(stop));
        lchs_[std::size_t(i)] = colorspace::toOkLch(labs_[std::size_t(i)]);
    }
}

qsizetype ColorRamp::fill(qsizetype first, std::span<Srgb8> out) const {
    if (blend_ == Blend::Rgb && spread_ == Spread::Classic) {
        std::array<RealColor, 256> block;
        const qsizetype filled =
            classic_.fill(first, std::span(block).first(std::min(block.size(), out.size())));
        for (qsizetype k = 0; k < filled; ++k) {
            const RealColor& c = block[std::size_t(k)];
            out[std::size_t(k)] = {detail::roundHalfEven(c.red), detail::roundHalfEven(c.green),
                                   detail::roundHalfEven(c.blue)};
        }
        return filled;
    }
    const qsizetype wanted = std::clamp<qsizetype>(count_ - first, 0, qsizetype(out.size()));
    for (qsizetype k = 0; k < wanted; ++k) {
        out[std::size_t(k)] = at(first + k);
    }
    return wanted;
}

Srgb8 ColorRamp::at(qsizetype position) const {
    if (stopCount_ == 1) {
        return stops_[0];
    }
    if (spread_ == Spread::Classic) {
        const qsizetype length = classic_.segmentLength();
        return between(int(position / length), double(position % length) / double(length));
    }
    if (count_ == 1) {
        return stops_[0];
    }
    const double t = double(position * (stopCount_ - 1)) / double(count_ - 1);
    const int segment = std::min(int(t), stopCount_ - 2);
    return between(segment, t - segment);
}

// The colour fraction of the way from stop from toward the next one (or itself, past the
// last).
Srgb8 ColorRamp::between(int from, double fraction) const {
    const int to = std::min(from + 1, stopCount_ - 1);
    const auto i = std::size_t(from);
    const auto j = std::size_t(to);
    if (fraction == 0 || from == to) {
        return stops_[i];
    }
    if (fraction == 1) {
        return stops_[j];
    }
    switch (blend_) {
    case Blend::Rgb: {
        const auto mix = [fraction](int x, int y) {
            return detail::roundHalfEven(x + fraction * (y - x));
        };
        return {mix(stops_[i].red, stops_[j].red), mix(stops_[i].green, stops_[j].green),
                mix(stops_[i].blue, stops_[j].blue)};
    }
    case Blend::OkLab:
        return colorspace::toSrgb8(
            colorspace::toLinear(colorspace::mix(labs_[i], labs_[j], fraction)));
    case Blend::OkLch:
        return colorspace::toSrgb8(colorspace::toLinear(
            colorspace::toOkLab(colorspace::mix(lchs_[i], lchs_[j], fraction))));
    }
    return stops_[i];
}

} // namespace tintwave::engine
