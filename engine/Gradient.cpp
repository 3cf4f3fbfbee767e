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
using colorspace::Srgb8;

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

ColorRamp::ColorRamp(const ActiveColors& colors, qsizetype count, Blend blend, Spread spread)
    : classic_(colors, count)
    , blend_(blend)
    , spread_(spread)
    , count_(count)
    , stopCount_(colors.count) {
    std::array<colorspace::OkLab, kSlotCount> labs{};
    for (int i = 0; i < colors.count; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        // Values above 0xFFFFFF have no 8-bit blue; the mixing spaces need one.
        stops_[std::size_t(i)] = {red(c), green(c), std::clamp(blue(c), 0, 255)};
        labs[std::size_t(i)] = colorspace::toOkLab(colorspace::toLinear(stops_[std::size_t(i)]));
    }
    for (int i = 0; i + 1 < colors.count; ++i) {
        const auto from = std::size_t(i);
        labSweeps_[from] = colorspace::OkLabSweep(colorspace::path(labs[from], labs[from + 1]));
        lchSweeps_[from] = colorspace::OkLchSweep(
            colorspace::path(colorspace::toOkLch(labs[from]), colorspace::toOkLch(labs[from + 1])));
    }
}

qsizetype ColorRamp::fill(qsizetype first, std::span<Srgb8> out) const {
    switch (blend_) {
    case Blend::Rgb:
        if (spread_ == Spread::Classic) {
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
        return fillMixed(first, out, [this](std::size_t i, double fraction) {
            const Srgb8 x = stops_[i];
            const Srgb8 y = stops_[i + 1];
            const auto mix = [fraction](int from, int to) {
                return detail::roundHalfEven(from + fraction * (to - from));
            };
            return colorspace::SteadyColor{
                {mix(x.red, y.red), mix(x.green, y.green), mix(x.blue, y.blue)}};
        });
    case Blend::OkLab:
        return fillMixed(first, out, [this](std::size_t i, double fraction) {
            return labSweeps_[i].at(fraction);
        });
    case Blend::OkLch:
        return fillMixed(first, out, [this](std::size_t i, double fraction) {
            return lchSweeps_[i].at(fraction);
        });
    }
    return 0;
}

// mix(i, fraction) gives the colour fraction (strictly between 0 and 1) of the way from stop
// i to stop i + 1, with its reach; a fraction of 0 or 1 is the stop itself. Characters whose
// fraction lies within reach of the last mixed one in the same segment take its colour.
template <typename Mix>
qsizetype ColorRamp::fillMixed(qsizetype first, std::span<Srgb8> out, Mix mix) const {
    const qsizetype wanted = std::clamp<qsizetype>(count_ - first, 0, qsizetype(out.size()));
    qsizetype mixedSegment = -1;
    double reachFrom = 0;
    double reachTo = 0;
    Srgb8 mixed;
    const auto between = [&](qsizetype from, double fraction) {
        const auto i = std::size_t(from);
        if (fraction == 0 || from + 1 >= stopCount_) {
            return stops_[i];
        }
        if (fraction == 1) {
            return stops_[i + 1];
        }
        if (from != mixedSegment || fraction < reachFrom || fraction > reachTo) {
            const colorspace::SteadyColor steady = mix(i, fraction);
            mixedSegment = from;
            reachFrom = fraction - steady.reach;
            reachTo = fraction + steady.reach;
            mixed = steady.color;
        }
        return mixed;
    };
    if (stopCount_ == 1) {
        std::fill_n(out.begin(), wanted, stops_[0]);
    } else if (spread_ == Spread::Classic) {
        const qsizetype length = classic_.segmentLength();
        qsizetype segment = first / length;
        qsizetype j = first % length;
        for (qsizetype k = 0; k < wanted; ++k) {
            out[std::size_t(k)] = between(segment, double(j) / double(length));
            if (++j == length) {
                j = 0;
                ++segment;
            }
        }
    } else if (count_ == 1) {
        std::fill_n(out.begin(), wanted, stops_[0]);
    } else {
        for (qsizetype k = 0; k < wanted; ++k) {
            const double t = double((first + k) * (stopCount_ - 1)) / double(count_ - 1);
            const int segment = std::min(int(t), stopCount_ - 2);
            out[std::size_t(k)] = between(segment, t - segment);
        }
    }
    return wanted;
}

} // namespace tintwave::engine
