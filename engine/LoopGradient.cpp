#include "engine/LoopGradient.h"

#include "color/ColorProcs.h"
#include "engine/Rounding.h"

#include <algorithm>

namespace tintwave::engine {

using colorspace::Srgb8;

LoopPlace loopPlace(qsizetype i, qsizetype length, qsizetype frame, qsizetype frames, int count) {
    // i / L + j / N = (i N + j L) / (L N); below 20 L N, which stays far inside 64 bits for
    // any text a QString holds and kMostFrames.
    const qint64 whole = qint64(length) * frames;
    const qint64 shift = (frame % frames + frames) % frames;
    const qint64 place = (qint64(i) * frames + shift * length) % whole * count;
    return {int(place / whole), double(place % whole) / double(whole)};
}

LoopRamp::LoopRamp(const ActiveColors& colors, qsizetype length, Blend blend)
    : blend_(blend)
    , length_(length)
    , count_(colors.count) {
    std::array<colorspace::OkLab, kSlotCount> labs{};
    for (int i = 0; i < count_; ++i) {
        const ColorValue c = colors.values[std::size_t(i)];
        // Values above 0xFFFFFF have no 8-bit blue; the mixing spaces need one.
        stops_[std::size_t(i)] = {color::red(c), color::green(c),
                                  std::clamp(color::blue(c), 0, 255)};
        labs[std::size_t(i)] = colorspace::toOkLab(colorspace::toLinear(stops_[std::size_t(i)]));
    }
    for (int i = 0; i < count_; ++i) {
        const auto from = std::size_t(i);
        const auto to = std::size_t((i + 1) % count_);
        labSweeps_[from] = colorspace::OkLabSweep(colorspace::path(labs[from], labs[to]));
        lchSweeps_[from] = colorspace::OkLchSweep(
            colorspace::path(colorspace::toOkLch(labs[from]), colorspace::toOkLch(labs[to])));
    }
}

Srgb8 LoopRamp::at(LoopPlace place) const {
    const auto from = std::size_t(place.segment);
    if (place.fraction == 0 || count_ == 1) {
        return stops_[from];
    }
    switch (blend_) {
    case Blend::Rgb: {
        const Srgb8 x = stops_[from];
        const Srgb8 y = stops_[(from + 1) % std::size_t(count_)];
        const auto mix = [f = place.fraction](int a, int b) {
            return detail::roundHalfEven(a + f * (b - a));
        };
        return {mix(x.red, y.red), mix(x.green, y.green), mix(x.blue, y.blue)};
    }
    case Blend::OkLab:
        return labSweeps_[from].at(place.fraction).color;
    case Blend::OkLch:
        return lchSweeps_[from].at(place.fraction).color;
    }
    return stops_[from];
}

qsizetype LoopRamp::fill(qsizetype frame, qsizetype frames, qsizetype first,
                         std::span<Srgb8> out) const {
    const qsizetype wanted = std::clamp<qsizetype>(length_ - first, 0, qsizetype(out.size()));
    for (qsizetype k = 0; k < wanted; ++k) {
        out[std::size_t(k)] = at(loopPlace(first + k, length_, frame, frames, count_));
    }
    return wanted;
}

} // namespace tintwave::engine
