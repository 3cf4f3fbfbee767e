#include "engine/ColorSpace.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace tintwave::engine::colorspace {

namespace {

double decodeExactly(double encoded) {
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

// How close to a rounding boundary the OKLCh sweep's approximate linear light may come
// before it is worked out the exact way: the cube and the matrices of toLinear grow an error
// of 1e-15 in a and b to well under 1e-12.
constexpr double kMargin = 1e-11;

// The linear range 0 .. 1 in kBuckets equal steps, narrower than the gap between any two
// halfway points. A bucket with no halfway point in it has one 8-bit value for all of it,
// and most buckets are like that.
constexpr int kBuckets = 4096;

struct Bucket {
    std::uint8_t below; // halfway points below the bucket's lower edge
    bool clear;         // none in the bucket
};

struct Tables {
    std::array<double, 256> linear;
    // The linear value at which encoding reaches n + 0.5, for n = 0 .. 254: the rounding
    // boundaries between neighbouring 8-bit values.
    std::array<double, 255> halfway;
    std::array<Bucket, kBuckets> buckets;
};

// A pow() per component would cost more than the rest of a character.
const Tables& tables() {
    static const Tables t = [] {
        Tables t{};
        for (std::size_t n = 0; n < t.linear.size(); ++n) {
            t.linear[n] = decodeExactly(double(n) / 255);
        }
        for (std::size_t n = 0; n < t.halfway.size(); ++n) {
            t.halfway[n] = decodeExactly((double(n) + 0.5) / 255);
        }
        const auto countBelow = [&t](double x) {
            return std::lower_bound(t.halfway.begin(), t.halfway.end(), x) - t.halfway.begin();
        };
        for (std::size_t b = 0; b < t.buckets.size(); ++b) {
            const double edge = double(b) / kBuckets; // exact: kBuckets is a power of two
            const double next = double(b + 1) / kBuckets;
            t.buckets[b] = {std::uint8_t(countBelow(edge)), countBelow(edge) == countBelow(next)};
        }
        return t;
    }();
    return t;
}

// OKLab to linear light: the a and b weights of the cone responses l, m, s (whose L weight
// is 1), and the weights of their cubes in red, green and blue.
constexpr double kToCone[3][2] = {
    {0.3963377774, 0.2158037573}, {-0.1055613458, -0.0638541728}, {-0.0894841775, -1.2914855480}};
constexpr double kToRgb[3][3] = {{4.0767416621, -3.3077115913, 0.2309699292},
                                 {-1.2684380046, 2.6097574011, -0.3413193965},
                                 {-0.0041960863, -0.7034186147, 1.7076147010}};

// toLinear(OkLab), here for the sweeps to inline.
inline LinearRgb linearOf(OkLab c) {
    double cube[3];
    for (int k = 0; k < 3; ++k) {
        const double cone = c.l + kToCone[k][0] * c.a + kToCone[k][1] * c.b;
        cube[k] = cone * cone * cone;
    }
    double rgb[3];
    for (int i = 0; i < 3; ++i) {
        rgb[i] = kToRgb[i][0] * cube[0] + kToRgb[i][1] * cube[1] + kToRgb[i][2] * cube[2];
    }
    return {rgb[0], rgb[1], rgb[2]};
}

// A bound on how fast any linear component changes with f, from bounds on the size of each
// cone response (reach) and on how fast it changes (slope): d(cone^3) = 3 cone^2 d(cone).
double steepness(const std::array<double, 3>& reach, const std::array<double, 3>& slope) {
    double steepest = 0;
    for (int i = 0; i < 3; ++i) {
        double bound = 0;
        for (int k = 0; k < 3; ++k) {
            bound += std::abs(kToRgb[i][k]) * 3 * reach[k] * reach[k] * slope[k];
        }
        steepest = std::max(steepest, bound);
    }
    return steepest * 1.01; // room for rounding in the bound itself
}

// The first halfway point not below linear, 0 < linear < 1: linear lies between n - 0.5
// and n + 0.5.
std::size_t stepOf(const Tables& t, double linear) {
    // Scaling by a power of two is exact, so the bucket's edge is never above linear.
    std::size_t n = t.buckets[std::size_t(linear * kBuckets)].below;
    while (n < t.halfway.size() && t.halfway[n] < linear) {
        ++n;
    }
    return n;
}

int encode(const Tables& t, double linear) {
    if (!(linear > 0 && linear < 1)) {
        return linear >= 1 ? 255 : 0; // also NaN
    }
    if (const Bucket& bucket = t.buckets[std::size_t(linear * kBuckets)]; bucket.clear) {
        return bucket.below;
    }
    const std::size_t n = stepOf(t, linear);
    if (n < t.halfway.size() && t.halfway[n] == linear) {
        return int(n + (n & 1)); // exactly half way between n and n + 1: the even one
    }
    return int(n);
}

// encode's result, and in room how far linear is from the nearest rounding boundary (0 on
// one, and for NaN).
int encodeWithRoom(const Tables& t, double linear, double& room) {
    const std::size_t last = t.halfway.size();
    const std::size_t n = linear > 0 && linear < 1 ? stepOf(t, linear) : linear >= 1 ? last : 0;
    const double below = n > 0 ? linear - t.halfway[n - 1] : 1;
    const double above = n < last ? t.halfway[n] - linear : 1;
    room = std::min(below, above);
    if (!(room > 0)) {
        room = 0;
        return above == 0 ? int(n + (n & 1)) : int(n); // a tie goes to the even neighbour
    }
    return int(n);
}

// Rounding in the arithmetic from a fraction to linear light, with room to spare.
constexpr double kSlack = 1e-9;

// The colour of three linear components, with its reach along a path of that steepness.
// margin: how far the components may be from the exact ones.
SteadyColor steady(const Tables& t, LinearRgb linear, double steepness, double margin) {
    double room[3];
    const Srgb8 color{encodeWithRoom(t, linear.red, room[0]),
                      encodeWithRoom(t, linear.green, room[1]),
                      encodeWithRoom(t, linear.blue, room[2])};
    const double least = std::min({room[0], room[1], room[2]}) - margin - kSlack;
    return {color, least > 0 ? least / steepness : 0};
}

} // namespace

double decode(int component) {
    return tables().linear[std::size_t(component)];
}

int encode(double linear) {
    return encode(tables(), linear);
}

LinearRgb toLinear(Srgb8 color) {
    return {decode(color.red), decode(color.green), decode(color.blue)};
}

Srgb8 toSrgb8(LinearRgb color) {
    const Tables& t = tables();
    return {encode(t, color.red), encode(t, color.green), encode(t, color.blue)};
}

OkLab toOkLab(LinearRgb c) {
    const double l =
        std::cbrt(0.4122214708 * c.red + 0.5363325363 * c.green + 0.0514459929 * c.blue);
    const double m =
        std::cbrt(0.2119034982 * c.red + 0.6806995451 * c.green + 0.1073969566 * c.blue);
    const double s =
        std::cbrt(0.0883024619 * c.red + 0.2817188376 * c.green + 0.6299787005 * c.blue);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb toLinear(OkLab c) {
    return linearOf(c);
}

Srgb8 toSrgb8(OkLab color) {
    return toSrgb8(toLinear(color));
}

OkLch toOkLch(OkLab c) {
    return {c.l, std::hypot(c.a, c.b), std::atan2(c.b, c.a)};
}

OkLab toOkLab(OkLch c) {
    return {c.l, c.c * std::cos(c.h), c.c * std::sin(c.h)};
}

OkLabPath path(OkLab x, OkLab y) {
    return {x, {y.l - x.l, y.a - x.a, y.b - x.b}};
}

OkLchPath path(OkLch x, OkLch y) {
    if (x.c < kAchromatic) {
        x.h = y.h;
    }
    if (y.c < kAchromatic) {
        y.h = x.h;
    }
    double turn = y.h - x.h;
    if (turn > std::numbers::pi) {
        turn -= 2 * std::numbers::pi;
    } else if (turn < -std::numbers::pi) {
        turn += 2 * std::numbers::pi;
    }
    return {x, {y.l - x.l, y.c - x.c, turn}};
}

OkLabSweep::OkLabSweep(const OkLabPath& path)
    : path_(path) {
    // Each cone response is linear in f: from A to A + B.
    std::array<double, 3> reach{}, slope{};
    for (int k = 0; k < 3; ++k) {
        const double a = path.from.l + kToCone[k][0] * path.from.a + kToCone[k][1] * path.from.b;
        const double b = path.delta.l + kToCone[k][0] * path.delta.a + kToCone[k][1] * path.delta.b;
        reach[std::size_t(k)] = std::max(std::abs(a), std::abs(a + b));
        slope[std::size_t(k)] = std::abs(b);
    }
    steepness_ = steepness(reach, slope);
}

SteadyColor OkLabSweep::at(double f) const {
    return steady(tables(), linearOf(path_.at(f)), steepness_, 0);
}

OkLchSweep::OkLchSweep(const OkLchPath& path)
    : path_(path) {
    for (std::size_t k = 0; k < hues_.size(); ++k) {
        hues_[k] = path.from.h + double(k) / kAnchors * path.delta.h;
        cos_[k] = std::cos(hues_[k]);
        sin_[k] = std::sin(hues_[k]);
    }
    // a and b are at most the larger chroma and change no faster than the chroma does plus
    // that chroma times the hue turn.
    const double chroma = std::max(std::abs(path.from.c), std::abs(path.from.c + path.delta.c));
    const double lightness = std::max(std::abs(path.from.l), std::abs(path.from.l + path.delta.l));
    const double ab = std::abs(path.delta.c) + chroma * std::abs(path.delta.h);
    std::array<double, 3> reach{}, slope{};
    for (int k = 0; k < 3; ++k) {
        const double weight = std::abs(kToCone[k][0]) + std::abs(kToCone[k][1]);
        reach[std::size_t(k)] = lightness + weight * chroma;
        slope[std::size_t(k)] = std::abs(path.delta.l) + weight * ab;
    }
    steepness_ = steepness(reach, slope);
}

SteadyColor OkLchSweep::at(double f) const {
    const OkLch lch = path_.at(f);
    // The nearest anchor is at most pi / (2 * kAnchors) away, where the series below are
    // exact to well under 1e-17.
    const auto k = std::size_t(std::clamp(f, 0.0, 1.0) * kAnchors + 0.5);
    const double d = lch.h - hues_[k];
    const double d2 = d * d;
    const double cosD =
        1 + d2 * (-1.0 / 2 + d2 * (1.0 / 24 + d2 * (-1.0 / 720 + d2 * (1.0 / 40320))));
    const double sinD = d * (1 + d2 * (-1.0 / 6 + d2 * (1.0 / 120 + d2 * (-1.0 / 5040))));
    const double cosH = cos_[k] * cosD - sin_[k] * sinD;
    const double sinH = sin_[k] * cosD + cos_[k] * sinD;
    const Tables& t = tables();
    const SteadyColor near =
        steady(t, linearOf(OkLab{lch.l, lch.c * cosH, lch.c * sinH}), steepness_, kMargin);
    // No reach: a component within kMargin of a rounding boundary, where the approximation
    // could round the other way.
    return near.reach > 0 ? near : steady(t, linearOf(toOkLab(lch)), steepness_, 0);
}

} // namespace tintwave::engine::colorspace
