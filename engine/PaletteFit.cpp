#include "engine/PaletteFit.h"

#include "color/ColorProcs.h"
#include "engine/ColorSpace.h"
#include "engine/Gradient.h"
#include "engine/Rounding.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <span>

namespace tintwave::engine {

namespace {

using colorspace::Srgb8;

constexpr ColorValue kUnknown = -1;

Srgb8 srgb(ColorValue c) {
    return {color::red(c), color::green(c), color::blue(c)};
}

ColorValue packed(Srgb8 c) {
    return color::rgb(c.red, c.green, c.blue);
}

// Where colorize puts each place for k colours over n places with a spread: the segment (from
// colour segment toward colour segment + 1) and how far along it, as the gradient code works
// it out.
class Layout {
public:
    Layout(int k, qsizetype n, Spread spread)
        : k_(k)
        , n_(n)
        , spread_(spread)
        , length_(k <= 1 ? n : n / (k - 1) + 1) {}

    int segment(qsizetype p) const {
        if (k_ == 1) {
            return 0;
        }
        if (spread_ == Spread::Classic) {
            return int(p / length_);
        }
        return n_ == 1 ? 0 : std::min(int(t(p)), k_ - 2);
    }
    // For the even spread; the classic one goes by step().
    double fraction(qsizetype p) const {
        if (spread_ == Spread::Classic) {
            return double(p % length_) / double(length_);
        }
        return n_ == 1 ? 0 : t(p) - segment(p);
    }
    qsizetype step(qsizetype p) const { return p % length_; }
    qsizetype length() const { return length_; }
    // The first place in segment s or later (n when none is).
    qsizetype firstOf(int s) const {
        qsizetype low = 0, high = n_;
        while (low < high) {
            const qsizetype mid = low + (high - low) / 2;
            if (segment(mid) >= s) {
                high = mid;
            } else {
                low = mid + 1;
            }
        }
        return low;
    }

private:
    double t(qsizetype p) const { return double(p * (k_ - 1)) / double(n_ - 1); }

    int k_;
    qsizetype n_;
    Spread spread_;
    qsizetype length_;
};

// The colour of place p between stops from and to, exactly as ColorRamp mixes it.
class Mixer {
public:
    Mixer(Blend blend, Spread spread, const Layout& layout)
        : blend_(blend)
        , spread_(spread)
        , layout_(layout) {}

    void between(Srgb8 from, Srgb8 to) {
        from_ = from;
        to_ = to;
        const auto lab = [](Srgb8 c) {
            return colorspace::toOkLab(colorspace::toLinear(c));
        };
        if (blend_ == Blend::OkLab) {
            lab_ = colorspace::OkLabSweep(colorspace::path(lab(from), lab(to)));
        } else if (blend_ == Blend::OkLch) {
            lch_ = colorspace::OkLchSweep(
                colorspace::path(colorspace::toOkLch(lab(from)), colorspace::toOkLch(lab(to))));
        }
    }

    Srgb8 at(qsizetype p) const {
        if (blend_ == Blend::Rgb && spread_ == Spread::Classic) {
            const double j = double(layout_.step(p));
            const double length = double(layout_.length());
            const auto component = [&](int s, int e) {
                return detail::roundHalfEven(std::abs(s + j * color::inc(s, e, length)));
            };
            return {component(from_.red, to_.red), component(from_.green, to_.green),
                    component(from_.blue, to_.blue)};
        }
        const double f = layout_.fraction(p);
        if (f == 0) {
            return from_;
        }
        if (f == 1) {
            return to_;
        }
        switch (blend_) {
        case Blend::Rgb: {
            const auto component = [f](int s, int e) {
                return detail::roundHalfEven(s + f * (e - s));
            };
            return {component(from_.red, to_.red), component(from_.green, to_.green),
                    component(from_.blue, to_.blue)};
        }
        case Blend::OkLab:
            return lab_.at(f).color;
        case Blend::OkLch:
            return lch_.at(f).color;
        }
        return {};
    }

private:
    Blend blend_;
    Spread spread_;
    const Layout& layout_;
    Srgb8 from_, to_;
    colorspace::OkLabSweep lab_;
    colorspace::OkLchSweep lch_;
};

// The colours colorize gives n places for stops, blend and spread, compared with the known
// samples: the largest difference per channel, stopping at the first one when exact is asked.
std::optional<std::array<int, 3>> compare(const std::vector<ColorValue>& samples,
                                          const std::vector<ColorValue>& stops, Blend blend,
                                          Spread spread, bool exact) {
    ActiveColors active;
    for (const ColorValue c : stops) {
        active.values[std::size_t(active.count++)] = c;
    }
    const auto n = qsizetype(samples.size());
    const ColorRamp ramp(active, n, blend, spread);
    std::array<Srgb8, 256> block;
    std::array<int, 3> largest{};
    for (qsizetype first = 0; first < n;) {
        const qsizetype filled = ramp.fill(first, block);
        for (qsizetype k = 0; k < filled; ++k) {
            const ColorValue known = samples[std::size_t(first + k)];
            if (known == kUnknown) {
                continue;
            }
            const Srgb8 c = block[std::size_t(k)];
            const Srgb8 s = srgb(known);
            const std::array<int, 3> d = {std::abs(c.red - s.red), std::abs(c.green - s.green),
                                          std::abs(c.blue - s.blue)};
            if (exact && d != std::array<int, 3>{}) {
                return std::nullopt;
            }
            for (int ch = 0; ch < 3; ++ch) {
                largest[std::size_t(ch)] = std::max(largest[std::size_t(ch)], d[std::size_t(ch)]);
            }
        }
        if (filled == 0) {
            break;
        }
        first += filled;
    }
    return largest;
}

// Estimates of the colour a segment runs toward from a place f of the way along it: the
// colour there, pushed on past it to the full length, in the blend's own space.
Srgb8 extrapolated(Blend blend, Srgb8 from, Srgb8 seen, double f) {
    if (blend == Blend::Rgb) {
        const auto component = [f](int s, int c) {
            return std::clamp(int(std::lround(s + (c - s) / f)), 0, 255);
        };
        return {component(from.red, seen.red), component(from.green, seen.green),
                component(from.blue, seen.blue)};
    }
    using namespace colorspace;
    const OkLab a = toOkLab(toLinear(from));
    const OkLab b = toOkLab(toLinear(seen));
    if (blend == Blend::OkLab) {
        return toSrgb8(OkLab{a.l + (b.l - a.l) / f, a.a + (b.a - a.a) / f, a.b + (b.b - a.b) / f});
    }
    const OkLchPath way = path(toOkLch(a), toOkLch(b));
    const OkLch end{way.from.l + way.delta.l / f, std::max(0.0, way.from.c + way.delta.c / f),
                    way.from.h + way.delta.h / f};
    return toSrgb8(toOkLab(end));
}

// Looks for the k stops that give the known samples exactly. Each stop is where the gradient
// puts it exactly (the sample there), or one of the colours that give the known places of the
// segment running toward it, found near the estimate from the place farthest along; a wrong
// choice shows further on, so the choices are tried in turn. The RGB blend mixes each channel
// on its own, so there each channel is searched apart, 0 .. 255.
class ExactSearch {
public:
    ExactSearch(const std::vector<ColorValue>& samples, int k, Blend blend, Spread spread)
        : samples_(samples)
        , k_(k)
        , blend_(blend)
        , spread_(spread)
        , layout_(k, qsizetype(samples.size()), spread)
        , mixer_(blend, spread, layout_) {}

    std::optional<std::vector<ColorValue>> run();

private:
    // The known place where stop i shows as itself, if any.
    std::optional<qsizetype> exactPlace(int i) const;
    // The known places inside the segment toward stop i, farthest along first.
    std::vector<qsizetype> placesToward(int i) const;
    bool solve(int i);
    bool solveChannel(int channel, int i);
    std::vector<Srgb8> candidates(int i);
    std::vector<int> channelCandidates(int channel, int i);

    static int& part(Srgb8& c, int channel) {
        return channel == 0 ? c.red : channel == 1 ? c.green : c.blue;
    }

    const std::vector<ColorValue>& samples_;
    int k_;
    Blend blend_;
    Spread spread_;
    Layout layout_;
    Mixer mixer_;
    std::vector<Srgb8> stops_;
    std::vector<std::vector<qsizetype>> places_; // per stop, worked out once
    int budget_ = 20000;                         // candidate checks before giving up
};

std::optional<qsizetype> ExactSearch::exactPlace(int i) const {
    const auto n = qsizetype(samples_.size());
    std::optional<qsizetype> place;
    if (i == k_ - 1 && k_ > 1 && spread_ == Spread::Even && n > 1) {
        place = n - 1;
    } else if (i < k_ - 1 || k_ == 1) {
        const qsizetype p = layout_.firstOf(i);
        if (p < n && layout_.segment(p) == i &&
            (spread_ == Spread::Classic ? layout_.step(p) == 0 : layout_.fraction(p) == 0)) {
            place = p;
        }
    }
    return place && samples_[std::size_t(*place)] != kUnknown ? place : std::nullopt;
}

std::vector<qsizetype> ExactSearch::placesToward(int i) const {
    std::vector<qsizetype> places;
    for (qsizetype p = layout_.firstOf(i) - 1; p >= layout_.firstOf(i - 1); --p) {
        if (samples_[std::size_t(p)] != kUnknown && layout_.fraction(p) > 0 &&
            layout_.fraction(p) < 1) {
            places.push_back(p);
        }
    }
    return places;
}

std::vector<int> ExactSearch::channelCandidates(int channel, int i) {
    const std::vector<qsizetype>& places = places_[std::size_t(i)];
    if (places.empty()) {
        return {part(stops_[std::size_t(i - 1)], channel)}; // nothing depends on it
    }
    const qsizetype far = places.front();
    Srgb8 seen = srgb(samples_[std::size_t(far)]);
    Srgb8 guess = extrapolated(blend_, stops_[std::size_t(i - 1)], seen, layout_.fraction(far));
    const int estimate = part(guess, channel);
    std::vector<int> found;
    for (int d = 0; d <= 255 && budget_ > 0; ++d) {
        for (const int v : {estimate - d, estimate + d}) {
            if (v < 0 || v > 255 || (d == 0 && v != estimate - d)) {
                continue;
            }
            --budget_;
            Srgb8 to = stops_[std::size_t(i - 1)];
            part(to, channel) = v;
            mixer_.between(stops_[std::size_t(i - 1)], to);
            const bool fits = std::all_of(places.begin(), places.end(), [&](qsizetype p) {
                Srgb8 mixed = mixer_.at(p);
                seen = srgb(samples_[std::size_t(p)]);
                return part(mixed, channel) == part(seen, channel);
            });
            if (fits) {
                found.push_back(v);
            }
        }
    }
    return found;
}

bool ExactSearch::solveChannel(int channel, int i) {
    if (i == k_) {
        return true;
    }
    std::vector<int> values;
    if (const auto place = exactPlace(i)) {
        Srgb8 c = srgb(samples_[std::size_t(*place)]);
        values = {part(c, channel)};
    } else if (i > 0) {
        values = channelCandidates(channel, i);
    }
    for (const int v : values) {
        part(stops_[std::size_t(i)], channel) = v;
        if (solveChannel(channel, i + 1)) {
            return true;
        }
    }
    return false;
}

std::vector<Srgb8> ExactSearch::candidates(int i) {
    const std::vector<qsizetype>& places = places_[std::size_t(i)];
    const Srgb8 from = stops_[std::size_t(i - 1)];
    if (places.empty()) {
        return {from};
    }
    const double f = layout_.fraction(places.front());
    const Srgb8 estimate =
        extrapolated(blend_, from, srgb(samples_[std::size_t(places.front())]), f);
    // The places farthest along tell candidates apart fastest; all of them confirm one.
    const std::vector<qsizetype> lead(places.begin(),
                                      places.begin() + std::min<std::size_t>(places.size(), 3));
    const auto fits = [&](Srgb8 to, const std::vector<qsizetype>& at) {
        mixer_.between(from, to);
        return std::all_of(at.begin(), at.end(), [&](qsizetype p) {
            return packed(mixer_.at(p)) == samples_[std::size_t(p)];
        });
    };
    const int reach = std::clamp(int(std::ceil(1.0 / f)) + 1, 2, 6);
    std::vector<Srgb8> found;
    for (int d = 0; d <= reach; ++d) { // shells of growing distance from the estimate
        for (int r = -d; r <= d; ++r) {
            for (int g = -d; g <= d; ++g) {
                for (int b = -d; b <= d; ++b) {
                    if (std::max({std::abs(r), std::abs(g), std::abs(b)}) != d) {
                        continue;
                    }
                    const Srgb8 to{estimate.red + r, estimate.green + g, estimate.blue + b};
                    if (std::min({to.red, to.green, to.blue}) < 0 ||
                        std::max({to.red, to.green, to.blue}) > 255 || --budget_ < 0) {
                        continue;
                    }
                    if (fits(to, lead) && fits(to, places)) {
                        found.push_back(to);
                    }
                }
            }
        }
    }
    return found;
}

bool ExactSearch::solve(int i) {
    if (i == k_) {
        std::vector<ColorValue> stops;
        for (const Srgb8 c : stops_) {
            stops.push_back(packed(c));
        }
        return compare(samples_, stops, blend_, spread_, true).has_value();
    }
    std::vector<Srgb8> options;
    if (const auto place = exactPlace(i)) {
        options = {srgb(samples_[std::size_t(*place)])};
    } else if (i > 0) {
        options = candidates(i);
    }
    for (const Srgb8 c : options) {
        stops_[std::size_t(i)] = c;
        if (solve(i + 1)) {
            return true;
        }
    }
    return false;
}

std::optional<std::vector<ColorValue>> ExactSearch::run() {
    stops_.assign(std::size_t(k_), Srgb8{});
    places_.assign(std::size_t(k_), {});
    for (int i = 1; i < k_; ++i) {
        if (!exactPlace(i)) {
            places_[std::size_t(i)] = placesToward(i);
        }
    }
    bool solved = true;
    if (blend_ == Blend::Rgb) {
        for (int channel = 0; channel < 3 && solved; ++channel) {
            solved = solveChannel(channel, 0);
        }
    } else {
        solved = solve(0);
    }
    std::vector<ColorValue> stops;
    for (const Srgb8 c : stops_) {
        stops.push_back(packed(c));
    }
    if (!solved || (blend_ == Blend::Rgb && !compare(samples_, stops, blend_, spread_, true))) {
        return std::nullopt;
    }
    return stops;
}

// The even spread with k colours taken where it puts them (the nearest known place).
std::vector<ColorValue> sampledStops(const std::vector<ColorValue>& samples, int k) {
    const auto n = qsizetype(samples.size());
    std::vector<ColorValue> stops;
    for (int i = 0; i < k; ++i) {
        const qsizetype at =
            k == 1 ? 0 : qsizetype(std::llround(double(i) * double(n - 1) / (k - 1)));
        ColorValue nearest = kUnknown;
        for (qsizetype d = 0; nearest == kUnknown && d < n; ++d) {
            for (const qsizetype p : {at - d, at + d}) {
                if (p >= 0 && p < n && samples[std::size_t(p)] != kUnknown) {
                    nearest = samples[std::size_t(p)];
                    break;
                }
            }
        }
        stops.push_back(nearest == kUnknown ? 0 : nearest);
    }
    return stops;
}

} // namespace

PaletteFit fitPalette(const std::vector<ColorValue>& samples) {
    constexpr std::array<Blend, 3> kBlends = {Blend::Rgb, Blend::OkLab, Blend::OkLch};
    const int most = int(std::min<qsizetype>(kSlotCount, qsizetype(samples.size())));
    for (int k = 1; k <= most; ++k) {
        for (const Blend blend : kBlends) {
            for (const Spread spread : {Spread::Classic, Spread::Even}) {
                if (auto stops = ExactSearch(samples, k, blend, spread).run()) {
                    return {std::move(*stops), blend, spread, true, {}};
                }
            }
        }
    }
    PaletteFit best;
    int bestError = 256;
    for (int k = 1; k <= std::max(most, 1); ++k) {
        for (const Blend blend : kBlends) {
            const std::vector<ColorValue> stops = sampledStops(samples, k);
            const auto difference = *compare(samples, stops, blend, Spread::Even, false);
            const int error = *std::max_element(difference.begin(), difference.end());
            if (error < bestError) {
                bestError = error;
                best = {stops, blend, Spread::Even, error == 0, difference};
            }
        }
    }
    return best;
}

QString paletteOptions(const PaletteFit& fit) {
    QStringList colors;
    for (const ColorValue c : fit.colors) {
        colors << QStringLiteral("#%1%2%3")
                      .arg(color::red(c), 2, 16, QChar(u'0'))
                      .arg(color::green(c), 2, 16, QChar(u'0'))
                      .arg(color::blue(c), 2, 16, QChar(u'0'))
                      .toUpper();
    }
    return QStringLiteral("--colors '%1' --blend %2 --spread %3")
        .arg(colors.join(u','), blendName(fit.blend), spreadName(fit.spread));
}

} // namespace tintwave::engine
