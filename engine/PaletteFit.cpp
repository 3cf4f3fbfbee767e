#include "engine/PaletteFit.h"

#include "color/ColorProcs.h"
#include "engine/ColorSpace.h"
#include "engine/Gradient.h"
#include "engine/Rounding.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>
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

// Looks for the k stops that give the known samples exactly. A stop is where the gradient
// puts it exactly (the sample there), or one of the colours that give the known places of a
// segment between it and a stop already found, searched near the estimate from the place
// nearest it. The stops are found outward from the first one that shows exactly; a wrong
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
    // How stop i is found: from its own place, or from its neighbour toward the first exact
    // one, over the known places of the segment between them, nearest stop i first.
    struct Step {
        int stop = 0;
        std::optional<qsizetype> place;
        int neighbour = 0;
        std::vector<qsizetype> places;
    };

    std::optional<qsizetype> exactPlace(int i) const;
    std::vector<qsizetype> placesIn(int segment) const;
    bool solve(std::size_t step, int channel);
    std::vector<Srgb8> candidates(const Step& step, int channel);
    std::vector<Srgb8> seeds(int channel);
    std::vector<Srgb8> around(Srgb8 centre, int channel, Srgb8 base);
    // The colour of place p with stop `stop` set to c and its neighbour as found.
    Srgb8 mixed(const Step& step, Srgb8 c, qsizetype p) {
        const Srgb8 other = stops_[std::size_t(step.neighbour)];
        if (step.neighbour < step.stop) {
            mixer_.between(other, c);
        } else {
            mixer_.between(c, other);
        }
        return mixer_.at(p);
    }

    static int& part(Srgb8& c, int channel) {
        return channel == 0 ? c.red : channel == 1 ? c.green : c.blue;
    }

    const std::vector<ColorValue>& samples_;
    int k_;
    Blend blend_;
    Spread spread_;
    Layout layout_;
    Mixer mixer_;
    std::vector<Step> steps_;
    std::vector<Srgb8> stops_;
    int budget_ = 20000; // candidate checks before giving up
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

std::vector<qsizetype> ExactSearch::placesIn(int segment) const {
    std::vector<qsizetype> places;
    const auto n = qsizetype(samples_.size());
    for (qsizetype p = layout_.firstOf(segment); p < n && layout_.segment(p) == segment; ++p) {
        if (samples_[std::size_t(p)] != kUnknown && layout_.fraction(p) > 0 &&
            layout_.fraction(p) < 1) {
            places.push_back(p);
        }
    }
    return places;
}

// Candidates for the stop of step in one channel (the others as the estimate has them), or
// in all three; nearest the estimate first.
std::vector<Srgb8> ExactSearch::candidates(const Step& step, int channel) {
    if (step.neighbour == step.stop) {
        return seeds(channel);
    }
    const Srgb8 anchor = stops_[std::size_t(step.neighbour)];
    if (step.places.empty()) {
        // Nothing between them tells: the colours near the first known place on its other
        // side, where the stop starts (or ends) the next segment; its neighbour's colour first.
        const std::vector<qsizetype> beyond =
            step.neighbour < step.stop ? placesIn(step.stop) : placesIn(step.stop - 1);
        if (beyond.empty()) {
            return {anchor};
        }
        std::vector<Srgb8> found = around(
            srgb(
                samples_[std::size_t(step.neighbour < step.stop ? beyond.front() : beyond.back())]),
            channel, stops_[std::size_t(step.stop)]);
        found.insert(found.begin(), anchor);
        return found;
    }
    const qsizetype nearest = step.places.front();
    const double f = layout_.fraction(nearest);
    Srgb8 estimate = extrapolated(blend_, anchor, srgb(samples_[std::size_t(nearest)]),
                                  step.neighbour < step.stop ? f : 1 - f);
    const auto fits = [&](Srgb8 c, std::size_t count) {
        return std::all_of(
            step.places.begin(), step.places.begin() + qsizetype(count), [&](qsizetype p) {
                Srgb8 m = mixed(step, c, p);
                Srgb8 seen = srgb(samples_[std::size_t(p)]);
                return channel < 0 ? m == seen : part(m, channel) == part(seen, channel);
            });
    };
    const std::size_t lead = std::min<std::size_t>(step.places.size(), 3);
    std::vector<Srgb8> found;
    if (channel >= 0) {
        const int centre = part(estimate, channel);
        for (int d = 0; d <= 255 && budget_ > 0; ++d) {
            for (const int v : {centre - d, centre + d}) {
                if (v < 0 || v > 255 || (d == 0 && v != centre - d) || --budget_ < 0) {
                    continue;
                }
                Srgb8 c = stops_[std::size_t(step.stop)];
                part(c, channel) = v;
                if (fits(c, lead) && fits(c, step.places.size())) {
                    found.push_back(c);
                }
            }
        }
        return found;
    }
    // Clipping to the sRGB cube bends the way back from a mixed colour: the estimate is moved
    // downhill first, to where the lead places come out nearest their colours.
    const auto error = [&](Srgb8 c) {
        int sum = 0;
        for (std::size_t k = 0; k < lead; ++k) {
            const qsizetype p = step.places[k];
            const Srgb8 m = mixed(step, c, p);
            const Srgb8 seen = srgb(samples_[std::size_t(p)]);
            sum += std::abs(m.red - seen.red) + std::abs(m.green - seen.green) +
                   std::abs(m.blue - seen.blue);
        }
        return sum;
    };
    // Several starts: the estimate from each known place, and those colours themselves.
    std::vector<Srgb8> starts{estimate};
    for (std::size_t k = 1; k < lead; ++k) {
        const qsizetype p = step.places[k];
        const double fp = layout_.fraction(p);
        starts.push_back(extrapolated(blend_, anchor, srgb(samples_[std::size_t(p)]),
                                      step.neighbour < step.stop ? fp : 1 - fp));
    }
    starts.push_back(srgb(samples_[std::size_t(nearest)]));
    int best = std::numeric_limits<int>::max();
    for (const Srgb8 start : starts) {
        Srgb8 here = start;
        int least = error(here);
        for (int stride = 64; stride >= 1 && least > 0 && budget_ > 0; stride /= 2) {
            for (bool moved = true; moved && least > 0 && budget_ > 0;) {
                moved = false;
                for (int axis = 0; axis < 6; ++axis) {
                    Srgb8 c = here;
                    part(c, axis / 2) =
                        std::clamp(part(c, axis / 2) + (axis % 2 ? stride : -stride), 0, 255);
                    --budget_;
                    if (const int e = error(c); e < least) {
                        least = e;
                        here = c;
                        moved = true;
                    }
                }
            }
        }
        if (least < best) {
            best = least;
            estimate = here;
        }
        if (best == 0) {
            break;
        }
    }
    const double near = step.neighbour < step.stop ? f : 1 - f;
    const int reach = std::clamp(int(std::ceil(1.0 / near)) + 1, 2, 6);
    for (int d = 0; d <= reach; ++d) { // shells of growing distance from the estimate
        for (int r = -d; r <= d; ++r) {
            for (int g = -d; g <= d; ++g) {
                for (int b = -d; b <= d; ++b) {
                    if (std::max({std::abs(r), std::abs(g), std::abs(b)}) != d) {
                        continue;
                    }
                    const Srgb8 c{estimate.red + r, estimate.green + g, estimate.blue + b};
                    if (std::min({c.red, c.green, c.blue}) < 0 ||
                        std::max({c.red, c.green, c.blue}) > 255 || --budget_ < 0) {
                        continue;
                    }
                    if (fits(c, lead) && fits(c, step.places.size())) {
                        found.push_back(c);
                    }
                }
            }
        }
    }
    return found;
}

// The first colour where no place shows it: the colours near the first known one.
std::vector<Srgb8> ExactSearch::seeds(int channel) {
    const auto known =
        std::find_if(samples_.begin(), samples_.end(), [](ColorValue c) { return c != kUnknown; });
    if (known == samples_.end()) {
        return {};
    }
    return around(srgb(*known), channel, stops_[0]);
}

// The colours near centre, nearest first: a cube in all three channels, or a line in one (the
// others as in base).
std::vector<Srgb8> ExactSearch::around(Srgb8 centre, int channel, Srgb8 base) {
    std::vector<Srgb8> found;
    const int reach = channel < 0 ? 2 : 8;
    for (int d = 0; d <= reach; ++d) {
        for (int r = -d; r <= d; ++r) {
            for (int g = -d; g <= d; ++g) {
                for (int b = -d; b <= d; ++b) {
                    if (std::max({std::abs(r), std::abs(g), std::abs(b)}) != d ||
                        (channel >= 0 && (g != 0 || b != 0))) {
                        continue;
                    }
                    Srgb8 c = base;
                    if (channel < 0) {
                        c = {centre.red + r, centre.green + g, centre.blue + b};
                    } else {
                        part(c, channel) = part(centre, channel) + r;
                    }
                    if (std::min({c.red, c.green, c.blue}) >= 0 &&
                        std::max({c.red, c.green, c.blue}) <= 255) {
                        found.push_back(c);
                    }
                }
            }
        }
    }
    return found;
}

// Finds the stops of steps from step on: in one channel, or in all three (channel -1). A
// stop where the gradient shows it must also give the segment toward its neighbour.
bool ExactSearch::solve(std::size_t step, int channel) {
    if (step == steps_.size()) {
        budget_ -= int(samples_.size() / 1024) + 1;
        if (budget_ < 0) {
            return false;
        }
        std::vector<ColorValue> stops;
        for (const Srgb8 c : stops_) {
            stops.push_back(packed(c));
        }
        const auto difference = compare(samples_, stops, blend_, spread_, channel < 0);
        return difference && (channel < 0 || (*difference)[std::size_t(channel)] == 0);
    }
    const Step& s = steps_[step];
    std::vector<Srgb8> options;
    if (s.place) {
        Srgb8 c = stops_[std::size_t(s.stop)];
        Srgb8 seen = srgb(samples_[std::size_t(*s.place)]);
        if (channel < 0) {
            c = seen;
        } else {
            part(c, channel) = part(seen, channel);
        }
        const bool fits = std::all_of(s.places.begin(), s.places.end(), [&](qsizetype p) {
            Srgb8 m = mixed(s, c, p);
            Srgb8 known = srgb(samples_[std::size_t(p)]);
            return channel < 0 ? m == known : part(m, channel) == part(known, channel);
        });
        if (fits) {
            options = {c};
        }
    } else {
        options = candidates(s, channel);
    }
    for (const Srgb8 c : options) {
        stops_[std::size_t(s.stop)] = c;
        if (solve(step + 1, channel)) {
            return true;
        }
    }
    return false;
}

std::optional<std::vector<ColorValue>> ExactSearch::run() {
    int first = 0;
    while (first < k_ && !exactPlace(first)) {
        ++first;
    }
    if (first == k_) {
        first = 0; // the first colour, from the first known place: near it, early in the gradient
    }
    steps_.push_back({first, exactPlace(first), first, {}});
    for (int i = first - 1; i >= 0; --i) {
        steps_.push_back({i, exactPlace(i), i + 1, placesIn(i)});
    }
    for (int i = first + 1; i < k_; ++i) {
        std::vector<qsizetype> places = placesIn(i - 1);
        std::reverse(places.begin(), places.end());
        steps_.push_back({i, exactPlace(i), i - 1, std::move(places)});
    }
    stops_.assign(std::size_t(k_), Srgb8{});
    bool solved = true;
    if (blend_ == Blend::Rgb) {
        for (int channel = 0; channel < 3 && solved; ++channel) {
            solved = solve(0, channel);
        }
    } else {
        solved = solve(0, -1);
    }
    std::vector<ColorValue> stops;
    for (const Srgb8 c : stops_) {
        stops.push_back(packed(c));
    }
    if (!solved || !compare(samples_, stops, blend_, spread_, true)) {
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
