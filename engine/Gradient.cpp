#include "engine/Gradient.h"

#include "engine/ColorProcs.h"

#include <cmath>

// Built with -ffp-contract=off: start + j * step must round the product before the sum,
// or exact halves such as 127.5 could come out a hair off and round the other way.
namespace tintwave::engine {

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
