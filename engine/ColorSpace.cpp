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

// How close to a rounding boundary the sweep's approximate linear light may come before it
// is worked out the exact way: the cube and the matrices of toLinear grow an error of 1e-15
// in a and b to well under 1e-12.
constexpr double kMargin = 1e-11;

// The linear range 0 .. 1 in kBuckets equal steps, narrower than the gap between any two
// halfway points. A bucket with no halfway point within kMargin of it has one 8-bit value
// for all of it, and most buckets are like that.
constexpr int kBuckets = 4096;

struct Bucket {
    std::uint8_t below; // halfway points below the bucket's lower edge
    bool clear;         // none within kMargin of the bucket
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
            t.buckets[b] = {std::uint8_t(countBelow(edge)),
                            countBelow(edge - 2 * kMargin) == countBelow(next + 2 * kMargin)};
        }
        return t;
    }();
    return t;
}

// toLinear(OkLab), here for the sweep to inline.
inline LinearRgb linearOf(OkLab c) {
    const double l0 = c.l + 0.3963377774 * c.a + 0.2158037573 * c.b;
    const double m0 = c.l - 0.1055613458 * c.a - 0.0638541728 * c.b;
    const double s0 = c.l - 0.0894841775 * c.a - 1.2914855480 * c.b;
    const double l = l0 * l0 * l0;
    const double m = m0 * m0 * m0;
    const double s = s0 * s0 * s0;
    return {+4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
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

// encode's result, or with margin, the one result for every value within kMargin of linear
// (-1 when there is not one).
template <bool margin> inline int encode(const Tables& t, double linear) {
    if (!(linear > 0 && linear < 1)) {
        // Every halfway point lies well inside 0 .. 1.
        return linear <= 0 ? 0 : linear >= 1 ? 255 : margin ? -1 : 0;
    }
    if (const Bucket& bucket = t.buckets[std::size_t(linear * kBuckets)]; bucket.clear) {
        return bucket.below;
    }
    const std::size_t n = stepOf(t, linear);
    const bool above = n < t.halfway.size();
    if (margin) {
        const bool clear = (n == 0 || linear - t.halfway[n - 1] > kMargin) &&
                           (!above || t.halfway[n] - linear > kMargin);
        return clear ? int(n) : -1;
    }
    if (above && t.halfway[n] == linear) {
        return int(n + (n & 1)); // exactly half way between n and n + 1: the even one
    }
    return int(n);
}

} // namespace

double decode(int component) {
    return tables().linear[std::size_t(component)];
}

int encode(double linear) {
    return encode<false>(tables(), linear);
}

LinearRgb toLinear(Srgb8 color) {
    return {decode(color.red), decode(color.green), decode(color.blue)};
}

Srgb8 toSrgb8(LinearRgb color) {
    const Tables& t = tables();
    return {encode<false>(t, color.red), encode<false>(t, color.green),
            encode<false>(t, color.blue)};
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

OkLchSweep::OkLchSweep(const OkLchPath& path)
    : path_(path) {
    for (std::size_t k = 0; k < hues_.size(); ++k) {
        hues_[k] = path.from.h + double(k) / kAnchors * path.delta.h;
        cos_[k] = std::cos(hues_[k]);
        sin_[k] = std::sin(hues_[k]);
    }
}

Srgb8 OkLchSweep::at(double f) const {
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
    const LinearRgb near = linearOf(OkLab{lch.l, lch.c * cosH, lch.c * sinH});
    const Tables& t = tables();
    const int red = encode<true>(t, near.red);
    const int green = encode<true>(t, near.green);
    const int blue = encode<true>(t, near.blue);
    if (red < 0 || green < 0 || blue < 0) {
        return toSrgb8(toOkLab(lch));
    }
    return {red, green, blue};
}

} // namespace tintwave::engine::colorspace
